#pragma once

// The reader's search syntax, turned into terms for the full-text index:
//   ley reino Israel     every word must occur
//   "Los hermanos de"    that exact phrase
//   Ju*                  words beginning with ju
//   De?????              De followed by exactly five letters
// Words are cut and folded (case, accents) by the index's own tokenizer, so
// the query sees words exactly as the index holds them.

#include <QByteArray>
#include <QList>
#include <QVector>
#include <functional>
#include <vector>

namespace title::query {

// A word as the tokenizer gives it: folded UTF-8 text and the byte range of
// the original text it came from.
struct Token {
    QByteArray text;
    int start = 0;
    int end = 0;
};
// Cuts UTF-8 text into words, at most `maxTokens` of them.
using Tokenizer = std::function<std::vector<Token>(const QByteArray &utf8, size_t maxTokens)>;

struct Term {
    enum Kind { Word, Phrase, Prefix, Pattern };
    Kind kind = Word;
    // Word: the word; Phrase: its words in order; Prefix: the beginning;
    // Pattern: a GLOB pattern over folded words (with ? and *).
    QList<QByteArray> words;
};

struct Parsed {
    // An unbalanced quote, a wildcard without letters, more words than
    // allowed: the query then has no terms.
    bool malformed = false;
    QVector<Term> terms; // each once, in the order first given; all must match
};

// The terms of a query. Each word of a phrase counts toward `maxWords`, a
// prefix or pattern counts one, a term given again counts nothing. Reading
// stops at the first word past the limit and drops a term given again as it
// comes, so even a query of megabytes never holds more than the limit's terms.
Parsed parse(const QByteArray &utf8Query, const Tokenizer &tokenize, int maxWords);

// A word as an FTS5 string: in double quotes, inner quotes doubled, so that
// nothing of it is read as query syntax.
QByteArray quoted(const QByteArray &word);

} // namespace title::query
