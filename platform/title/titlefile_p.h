#pragma once

// Inside of TitleFile, shared by its lookup and search parts.

#include "sqlitestatement.h"
#include "titlefile.h"
#include "titlequery.h"
#include "titlevocabulary.h"

#include <functional>
#include <optional>
#include <vector>

namespace title {

// The index's own tokenizer (unicode61 with the title format's options),
// used to cut and fold query words exactly as the index did.
class IndexTokenizer {
public:
    IndexTokenizer() = default;
    ~IndexTokenizer();
    IndexTokenizer(const IndexTokenizer &) = delete;
    IndexTokenizer &operator=(const IndexTokenizer &) = delete;

    bool create(sqlite3 *db);
    std::vector<query::Token> tokenize(const QByteArray &utf8, size_t maxTokens) const;

private:
    fts5_tokenizer api_{};
    Fts5Tokenizer *tokenizer_ = nullptr;
};

// The topics of one search, as a flag for each topic number 0..limit.
class TopicSet {
public:
    explicit TopicSet(int limit) : flags_(size_t(limit) + 1) {}

    bool contains(qint64 topic) const {
        return quint64(topic) < flags_.size() && flags_[size_t(topic)];
    }
    void add(qint64 topic) {
        if (quint64(topic) < flags_.size() && !flags_[size_t(topic)]) {
            flags_[size_t(topic)] = 1;
            ++count_;
        }
    }
    int count() const { return count_; }
    int first() const { return next(0); }
    int last() const {
        for (int topic = int(flags_.size()) - 1; topic >= 0; --topic) {
            if (flags_[size_t(topic)])
                return topic;
        }
        return -1;
    }
    int next(int from) const {
        for (int topic = from; topic < int(flags_.size()); ++topic) {
            if (flags_[size_t(topic)])
                return topic;
        }
        return -1;
    }

private:
    std::vector<uchar> flags_;
    int count_ = 0;
};

struct TitleFile::Private {
    // Declared first so that it is closed after every statement is finalized.
    Connection db;
    intptr_t handle = 0;
    QString path;
    int topicCount = 0;

    Statement topicRow;
    Statement topicByContext;
    Statement topicByTitle;
    Statement topicTitle;
    Statement firstBrowse;
    Statement previousBrowse;
    Statement nextBrowse;
    Statement infoEntries;
    Statement groupTopics;
    Statement picture;
    Statement search;
    Statement searchWithTitles;
    Statement titlesBetween;
    IndexTokenizer tokenizer;
    int topicLimit = 0;  // the highest topic number a topic set can hold; 0 for none
    int lowestTopic = 0; // the lowest topic number, when there is a topic limit

    // Read at the first prefix or wildcard search, and kept.
    mutable Vocabulary vocabulary;
    mutable bool vocabularyRead = false;
    mutable bool vocabularyReadable = false;

    bool prepareStatements();
    bool firstTopicReadable() const;

    // Search (titlesearch.cpp).
    // What a search runs: one MATCH for its words and phrases, and the words of
    // each prefix or wildcard term, resolved in the title's vocabulary and read
    // apart (a MATCH of them all would merge every list of a wide pattern).
    struct Plan {
        QList<QByteArray> matched;          // MATCH clauses, all must match
        QList<QByteArray> words;            // the words of the words and phrases
        std::vector<std::vector<int>> sets; // vocabulary indexes, one set per term

        bool findsNothing() const { return matched.isEmpty() && sets.empty(); }
    };

    query::Parsed parse(const QString &query) const;
    // The title's topics as a set, read at the first search that needs it.
    const TopicSet &topics() const;
    mutable std::optional<TopicSet> topicSet;
    const Vocabulary *words() const;
    const Plan &plan(const QString &query) const;
    mutable QString lastQuery;
    mutable std::optional<Plan> lastPlan;
    // Runs a search and calls `hit` with each topic number in scope, in
    // order, and its title when `titles` is set.
    void runSearch(const QString &query, const QVector<int> *scope, bool titles,
                   const std::function<void(int, QByteArrayView)> &hit) const;
};

} // namespace title
