#pragma once

// A title file ({title}.dvk): an SQLite database opened read-only, holding the
// title's information entries, its topics (number, context string, title,
// place in the browse sequence, non-scrolling header and scrolling body in
// HTML), its groups, its pictures and a full-text index. The layout is
// described in docs/title-format.md. No widgets here.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace title {

struct Topic {
    int index = 0;      // the topic number
    QString context;    // context string
    QString title;      // the topic's title
    int browse = 0;     // place in the browse sequence, 0 for none
    QString headerHtml; // non-scrolling region, may be empty
    QString bodyHtml;   // scrolling region
};

// The most words a search may have: each word of a phrase counts, a prefix
// or wildcard word counts one, a term given twice counts once. Longer queries
// find nothing, which keeps every search short on the biggest titles.
constexpr int kMaxSearchWords = 16;

// The hits of a search with their titles, in reading order. All titles lie
// in one buffer, and a list filled again keeps its room, so a long hit list
// costs no allocation per hit.
class SearchHits {
public:
    int size() const { return int(topics_.size()); }
    bool isEmpty() const { return topics_.empty(); }
    int topic(int i) const { return topics_[size_t(i)]; }
    QString title(int i) const;
    void clear();

private:
    friend class TitleFile;
    void append(int topic, QByteArrayView title);

    std::vector<int> topics_;
    std::vector<size_t> titleEnds_;
    std::string titles_;
};

class TitleFile {
public:
    // Opens a title; nullptr when the file is missing, not a database, of
    // another application or version, or damaged. Never throws.
    static std::unique_ptr<TitleFile> open(const QString &path);
    ~TitleFile();

    // Non-zero while open; lMVTitleGetInfo finds the title by it.
    intptr_t handle() const;
    QString path() const;

    int topicCount() const;
    std::optional<Topic> topic(int index) const;
    std::optional<int> topicByContext(const QString &context) const;
    std::optional<int> topicByTitle(const QString &title) const; // first with that exact title
    QString topicTitle(int index) const;                         // empty when unknown

    // Browse sequence.
    std::optional<int> firstBrowseTopic() const;
    std::optional<int> previousBrowseTopic(int index) const;
    std::optional<int> nextBrowseTopic(int index) const;

    // Title information entries in order (such as CAP1.GRP="Capítulo 1";).
    QStringList infoEntries() const;
    // The topics of a group, in topic order.
    QVector<int> groupTopics(const QString &group) const;
    // A picture stored in the title by name; empty when there is none.
    QByteArray picture(const QString &name) const;

    // Full-text search with the reader's syntax: words (all must occur), a
    // "quoted phrase", a prefix Ju*, single-letter wildcards De?????; case and
    // accents do not matter, and a term given twice is searched once. Hits
    // are topic numbers in reading order; when `scope` is given only those
    // topics are searched. A malformed query, or one of more than
    // kMaxSearchWords words, finds nothing.
    QVector<int> search(const QString &query, const QVector<int> *scope = nullptr) const;
    // The same hits with their titles, read in one pass, into `hits`.
    void searchHits(const QString &query, const QVector<int> *scope, SearchHits &hits) const;
    // The words of the title that a query matches, for highlighting.
    QStringList matchedTerms(const QString &query) const;

private:
    TitleFile();
    struct Private;
    std::unique_ptr<Private> d;
};

// The open title with this handle, or nullptr.
TitleFile *titleByHandle(intptr_t handle);

// A word as the search index keeps it and matchedTerms gives it: lower case,
// without accents ("Camión" gives "camion"). For highlighting shown text.
QString foldedWord(const QString &word);

} // namespace title
