#pragma once

// The words of a title's full-text index, read once and kept: prefix and
// wildcard searches pick their words here instead of scanning the index on
// every search. Each word comes with its weight, about the bytes of the
// index that list where it occurs: how much a search for it reads, and how
// widely it occurs. The lists of an index of one segment (as titles are
// written: optimized once) can also be read here directly, far faster than
// FTS5 merges them for a wide prefix or a wildcard.

#include "sqlitestatement.h"

#include <QByteArray>
#include <functional>
#include <utility>
#include <vector>

namespace title {

class Vocabulary {
public:
    // Reads the words of the index table topic_search; false when it cannot.
    bool load(sqlite3 *db);

    int size() const { return int(starts_.size()); }
    // Folded UTF-8, NUL-terminated.
    const char *word(int i) const { return text_.constData() + starts_[size_t(i)]; }
    int wordLength(int i) const;
    // The summed weight of the words [first, last).
    qint64 weight(int first, int last) const {
        return cumulativeWeight_[size_t(last)] - cumulativeWeight_[size_t(first)];
    }

    // The words beginning with `prefix`: indexes [first, last).
    std::pair<int, int> range(const QByteArray &prefix) const;
    // The words a GLOB pattern over folded words matches (? one character,
    // * any run), in order.
    std::vector<int> matching(const QByteArray &globPattern) const;

    // Calls `topic` with each topic (row id) listed for the words `words`
    // (indexes in order), until it returns false. False when the lists cannot
    // be read here (an index of several segments, or laid out otherwise than
    // expected): FTS5 must then read them.
    bool readTopics(const std::vector<int> &words, const std::function<bool(qint64)> &topic) const;

private:
    // Where a word's list starts in the index: its leaf page, and the bytes
    // of the list on that page; `end` 0 when the list runs on to the next
    // pages.
    struct Place {
        int page = 0;
        quint16 start = 0;
        quint16 end = 0;
    };
    class ListReader;

    bool readLeafPages(sqlite3 *db);
    bool readVocabularyTable(sqlite3 *db);
    void clear();
    void add(const char *word, size_t length, qint64 weight);
    void putInOrder();

    QByteArray text_;
    std::vector<int> starts_;
    std::vector<qint64> cumulativeWeight_{0};
    std::vector<Place> places_; // one per word, or none when lists cannot be read here
    qint64 segment_ = 0;
    int lastPage_ = 0; // of the segment, as the structure record gives it
    Statement page_;
};

} // namespace title
