#pragma once

// Inside of TitleFile, shared by its lookup and search parts.

#include "sqlitestatement.h"
#include "titlefile.h"
#include "titlequery.h"

#include <functional>
#include <memory>
#include <optional>

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
    std::vector<query::Token> tokenize(const QByteArray &utf8) const;

private:
    fts5_tokenizer api_{};
    Fts5Tokenizer *tokenizer_ = nullptr;
};

struct ConnectionCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};

struct TitleFile::Private {
    // Declared first so that it is closed after every statement is finalized.
    std::unique_ptr<sqlite3, ConnectionCloser> db;
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
    Statement vocabulary;
    IndexTokenizer tokenizer;

    bool prepareStatements();
    bool firstTopicReadable() const;
    std::optional<int> singleNumber(const Statement &statement, const QString &key) const;
    std::optional<int> singleNumber(const Statement &statement, qint64 key) const;

    // Search helpers (titlesearch.cpp).
    query::Parsed parse(const QString &query) const;
    QList<QByteArray> expand(const QByteArray &globPattern) const;
    std::optional<QByteArray> matchExpression(const query::Parsed &parsed) const;
    // Runs the MATCH of `query` with `statement` (topic number first) and
    // calls `hit` for each row in scope.
    void runSearch(const Statement &statement, const QString &query, const QVector<int> *scope,
                   const std::function<void(const Run &)> &hit) const;
};

} // namespace title
