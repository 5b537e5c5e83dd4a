#include "titlequery.h"

namespace title::query {

namespace {

bool isSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

bool isWildcard(char ch) {
    return ch == '*' || ch == '?';
}

// The terms as the query gives them: each kept once, their words counted
// against the limit.
class TermList {
public:
    TermList(QVector<Term> &terms, int maxWords) : terms_(terms), maxWords_(maxWords) {}

    // False once the terms hold more words than the limit.
    bool add(Term::Kind kind, const QList<QByteArray> &words) {
        // At most maxWords terms are kept: looking through them beats a set.
        for (const Term &term : terms_) {
            if (term.kind == kind && term.words == words)
                return true;
        }
        words_ += kind == Term::Phrase ? qsizetype(words.size()) : 1;
        if (words_ > maxWords_)
            return false;
        terms_.append({kind, words});
        return true;
    }

private:
    QVector<Term> &terms_;
    const qsizetype maxWords_;
    qsizetype words_ = 0;
};

// A run of words and wildcards with no separator between them.
struct Piece {
    QByteArray pattern;
    QList<QByteArray> words;
    int wildcards = 0;

    bool empty() const { return pattern.isEmpty(); }
};

// False when the piece has wildcards but no letters ("*", "??"), or takes
// the query past its word limit.
bool addPiece(TermList &terms, const Piece &piece) {
    if (piece.empty())
        return true;
    if (piece.words.isEmpty())
        return false;
    if (piece.wildcards == 0)
        return terms.add(piece.words.size() == 1 ? Term::Word : Term::Phrase, piece.words);
    if (piece.words.size() == 1 && piece.pattern == piece.words.first() + '*')
        return terms.add(Term::Prefix, piece.words);
    return terms.add(Term::Pattern, {piece.pattern});
}

// One blank-separated chunk outside quotes. Punctuation separates words;
// a wildcard belongs to the word it touches.
bool addChunk(TermList &terms, const QByteArray &chunk, const Tokenizer &tokenize) {
    // All its words (a word takes a byte at least): any may repeat an earlier term.
    const std::vector<Token> tokens = tokenize(chunk, size_t(chunk.size()));
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
            if (!addPiece(terms, piece))
                return false;
            piece = Piece();
            ++pos;
        }
    }
    return addPiece(terms, piece);
}

// False when the phrase takes the query past its word limit.
bool addPhrase(TermList &terms, const std::vector<Token> &tokens) {
    if (tokens.empty())
        return true;
    QList<QByteArray> words;
    for (const Token &token : tokens)
        words.append(token.text);
    return terms.add(words.size() == 1 ? Term::Word : Term::Phrase, words);
}

} // namespace

Parsed parse(const QByteArray &query, const Tokenizer &tokenize, int maxWords) {
    Parsed out;
    TermList terms(out.terms, maxWords);
    int i = 0;
    while (i < query.size()) {
        if (isSpace(query[i])) {
            ++i;
            continue;
        }
        bool fits = false;
        if (query[i] == '"') {
            const int close = query.indexOf('"', i + 1);
            // A phrase of more words than the limit is too long already:
            // its words past that are not cut.
            fits = close >= 0 && addPhrase(terms, tokenize(query.mid(i + 1, close - i - 1),
                                                           size_t(maxWords) + 1));
            i = close + 1;
        } else {
            int end = i;
            while (end < query.size() && !isSpace(query[end]) && query[end] != '"')
                ++end;
            fits = addChunk(terms, query.mid(i, end - i), tokenize);
            i = end;
        }
        if (!fits) {
            out.malformed = true;
            out.terms.clear();
            break;
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
