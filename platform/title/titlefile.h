#pragma once

// A title file ({title}.dvk): an SQLite database opened read-only, holding the
// title's information entries, its topics (number, context string, title,
// place in the browse sequence, non-scrolling header and scrolling body in
// HTML), its groups, its pictures and a full-text index. The layout is
// described in docs/title-format.md. No widgets here.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <memory>
#include <optional>

namespace title {

struct Topic {
    int index = 0;      // the topic number
    QString context;    // context string
    QString title;      // the topic's title
    int browse = 0;     // place in the browse sequence, 0 for none
    QString headerHtml; // non-scrolling region, may be empty
    QString bodyHtml;   // scrolling region
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
    // accents do not matter. Hits are topic numbers in reading order; when
    // `scope` is given only those topics are searched. A malformed query finds
    // nothing.
    QVector<int> search(const QString &query, const QVector<int> *scope = nullptr) const;
    // The same hits with their titles, read in one pass (for a hit list).
    struct SearchHit {
        int topic = 0;
        QString title;
    };
    QVector<SearchHit> searchHits(const QString &query, const QVector<int> *scope = nullptr) const;
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
