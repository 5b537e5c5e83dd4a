#pragma once

// The layout of a title file, shared by the reader (which checks it) and the
// title builder (which writes it). docs/title-format.md describes it for
// authors who build titles with other SQLite tools.

#include <cstdint>

namespace title::schema {

// PRAGMA application_id: "DVK1".
constexpr int32_t kApplicationId = 0x44564B31;
// PRAGMA user_version: the layout below.
constexpr int32_t kVersion = 1;

// The full-text index folds case and accents: "camion" finds "camión".
constexpr const char *kTokenizer = "unicode61 remove_diacritics 2";

constexpr const char *kCreateTables = R"sql(
CREATE TABLE info (
    position INTEGER PRIMARY KEY,
    entry    TEXT NOT NULL
);
CREATE TABLE topics (
    number  INTEGER PRIMARY KEY,
    context TEXT NOT NULL COLLATE NOCASE,
    title   TEXT NOT NULL,
    browse  INTEGER
);
CREATE INDEX topics_by_context ON topics(context);
CREATE INDEX topics_by_title ON topics(title);
CREATE UNIQUE INDEX topics_by_browse ON topics(browse);
CREATE TABLE topic_pages (
    number INTEGER PRIMARY KEY REFERENCES topics(number),
    header TEXT NOT NULL,
    body   TEXT NOT NULL
);
CREATE TABLE group_topics (
    name  TEXT NOT NULL COLLATE NOCASE,
    topic INTEGER NOT NULL REFERENCES topics(number),
    PRIMARY KEY (name, topic)
) WITHOUT ROWID;
CREATE TABLE pictures (
    name TEXT PRIMARY KEY COLLATE NOCASE,
    data BLOB NOT NULL
);
CREATE VIRTUAL TABLE topic_search USING fts5(
    title, header, body,
    content = '',
    tokenize = 'unicode61 remove_diacritics 2'
);
)sql";

} // namespace title::schema
