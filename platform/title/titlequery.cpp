#include "titlequery.h"

namespace title::query {

namespace {

bool isSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

bool isWildcard(char ch) {
    return ch == '*' || ch == '?';
}

// A run of words and wildcards with no separator between them.
struct Piece {
    QByteArray pattern;
    QList<QByteArray> words;
    int wildcards = 0;

    bool empty() const { return pattern.isEmpty(); }
};

// False when the piece has wildcards but no letters ("*", "??").
bool addPiece(Parsed &out, const Piece &piece) {
    if (piece.empty())
        return true;
    if (piece.words.isEmpty())
        return false;
    Term term;
    if (piece.wildcards == 0) {
        term.kind = piece.words.size() == 1 ? Term::Word : Term::Phrase;
        term.words = piece.words;
    } else if (piece.words.size() == 1 && piece.pattern == piece.words.first() + '*') {
        term.kind = Term::Prefix;
        term.words = piece.words;
    } else {
        term.kind = Term::Pattern;
        term.words = {piece.pattern};
    }
    out.terms.append(term);
    return true;
}

// One blank-separated chunk outside quotes. Punctuation separates words;
// a wildcard belongs to the word it touches.
bool addChunk(Parsed &out, const QByteArray &chunk, const Tokenizer &tokenize) {
    const std::vector<Token> tokens = tokenize(chunk);
    size_t next = 0;
    Piece piece;
    int pos = 0;
    while (pos < chunk.size()) {
        while (next < tokens.size() && tokens[next].start < pos)
            ++next; // overlapping tokens are not expected; skip them
        if (next < tokens.size() && tokens[next].start == pos) {
            piece.pattern += tokens[next].text;
            piece.words.append(tokens[next].text);
            pos = qMax(tokens[next].end, pos + 1);
            ++next;
        } else if (isWildcard(chunk[pos])) {
            piece.pattern += chunk[pos];
            ++piece.wildcards;
            ++pos;
        } else {
            if (!addPiece(out, piece))
                return false;
            piece = Piece();
            ++pos;
        }
    }
    return addPiece(out, piece);
}

void addPhrase(Parsed &out, const std::vector<Token> &tokens) {
    if (tokens.empty())
        return;
    Term term;
    term.kind = tokens.size() == 1 ? Term::Word : Term::Phrase;
    for (const Token &token : tokens)
        term.words.append(token.text);
    out.terms.append(term);
}

} // namespace

Parsed parse(const QByteArray &query, const Tokenizer &tokenize) {
    Parsed out;
    int i = 0;
    while (i < query.size()) {
        if (isSpace(query[i])) {
            ++i;
        } else if (query[i] == '"') {
            const int close = query.indexOf('"', i + 1);
            if (close < 0) {
                out.malformed = true;
                return out;
            }
            addPhrase(out, tokenize(query.mid(i + 1, close - i - 1)));
            i = close + 1;
        } else {
            int end = i;
            while (end < query.size() && !isSpace(query[end]) && query[end] != '"')
                ++end;
            if (!addChunk(out, query.mid(i, end - i), tokenize)) {
                out.malformed = true;
                return out;
            }
            i = end;
        }
    }
    return out;
}

QByteArray quoted(const QByteArray &word) {
    QByteArray text = word;
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

} // namespace title::query
