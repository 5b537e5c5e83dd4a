#include "titlefile.h"

#include "titlefile_p.h"
#include "titleschema.h"

#include <QSet>
#include <algorithm>

namespace title {

namespace {

fts5_api *fts5Api(sqlite3 *db) {
    fts5_api *api = nullptr;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    return api;
}

int collectToken(void *context, int flags, const char *text, int length, int start, int end) {
    if (flags & FTS5_TOKEN_COLOCATED)
        return SQLITE_OK;
    auto *tokens = static_cast<std::vector<query::Token> *>(context);
    tokens->push_back({QByteArray(text, length), start, end});
    return SQLITE_OK;
}

// The letters of a GLOB pattern before its first wildcard.
QByteArray literalPrefix(const QByteArray &glob) {
    int end = 0;
    while (end < glob.size() && glob[end] != '*' && glob[end] != '?')
        ++end;
    return glob.left(end);
}

// Above every word that begins with `prefix` (U+10FFFF is the largest
// character in UTF-8).
QByteArray prefixBound(const QByteArray &prefix) {
    return prefix + "\xF4\x8F\xBF\xBF";
}

} // namespace

IndexTokenizer::~IndexTokenizer() {
    if (tokenizer_)
        api_.xDelete(tokenizer_);
}

bool IndexTokenizer::create(sqlite3 *db) {
    fts5_api *api = fts5Api(db);
    if (!api || api->iVersion < 2)
        return false;
    const QList<QByteArray> tokenizerWords = QByteArray(schema::kTokenizer).split(' ');
    void *userData = nullptr;
    if (api->xFindTokenizer(api, tokenizerWords.first().constData(), &userData, &api_) != SQLITE_OK)
        return false;
    std::vector<const char *> args;
    for (int i = 1; i < tokenizerWords.size(); ++i)
        args.push_back(tokenizerWords[i].constData());
    return api_.xCreate(userData, args.data(), int(args.size()), &tokenizer_) == SQLITE_OK;
}

std::vector<query::Token> IndexTokenizer::tokenize(const QByteArray &utf8) const {
    std::vector<query::Token> tokens;
    if (tokenizer_ && !utf8.isEmpty())
        api_.xTokenize(tokenizer_, &tokens, FTS5_TOKENIZE_QUERY, utf8.constData(), int(utf8.size()),
                       collectToken);
    return tokens;
}

query::Parsed TitleFile::Private::parse(const QString &text) const {
    return query::parse(text.toUtf8(),
                        [this](const QByteArray &utf8) { return tokenizer.tokenize(utf8); });
}

QList<QByteArray> TitleFile::Private::expand(const QByteArray &globPattern) const {
    const QByteArray prefix = literalPrefix(globPattern);
    QList<QByteArray> words;
    Run run(vocabulary);
    run.bindUtf8(1, prefix).bindUtf8(2, prefixBound(prefix)).bindUtf8(3, globPattern);
    while (run.next())
        words.append(run.utf8(0));
    return words;
}

// The FTS5 MATCH text for a parsed query; nothing when it cannot match.
// Every word goes in quoted, so no user text is read as FTS5 syntax.
std::optional<QByteArray> TitleFile::Private::matchExpression(const query::Parsed &parsed) const {
    if (parsed.malformed || parsed.terms.isEmpty())
        return std::nullopt;
    QList<QByteArray> parts;
    for (const query::Term &term : parsed.terms) {
        switch (term.kind) {
        case query::Term::Word:
            parts.append(query::quoted(term.words.first()));
            break;
        case query::Term::Phrase:
            parts.append(query::quoted(term.words.join(' ')));
            break;
        case query::Term::Prefix:
            parts.append(query::quoted(term.words.first()) + " *");
            break;
        case query::Term::Pattern: {
            const QList<QByteArray> words = expand(term.words.first());
            if (words.isEmpty())
                return std::nullopt;
            QList<QByteArray> alternatives;
            for (const QByteArray &word : words)
                alternatives.append(query::quoted(word));
            parts.append('(' + alternatives.join(" OR ") + ')');
            break;
        }
        }
    }
    return parts.join(" AND ");
}

void TitleFile::Private::runSearch(const Statement &statement, const QString &query,
                                   const QVector<int> *scope,
                                   const std::function<void(const Run &)> &hit) const {
    const std::optional<QByteArray> expression = matchExpression(parse(query));
    if (!expression)
        return;
    QSet<int> allowed;
    if (scope)
        allowed = QSet<int>(scope->begin(), scope->end());
    Run run(statement);
    run.bindUtf8(1, *expression);
    while (run.next()) {
        if (!scope || allowed.contains(int(run.integer(0))))
            hit(run);
    }
}

QVector<int> TitleFile::search(const QString &query, const QVector<int> *scope) const {
    QVector<int> hits;
    d->runSearch(d->search, query, scope,
                 [&](const Run &row) { hits.append(int(row.integer(0))); });
    return hits;
}

QVector<TitleFile::SearchHit> TitleFile::searchHits(const QString &query,
                                                    const QVector<int> *scope) const {
    QVector<SearchHit> hits;
    d->runSearch(d->searchWithTitles, query, scope, [&](const Run &row) {
        hits.append({int(row.integer(0)), row.text(1)});
    });
    return hits;
}

QStringList TitleFile::matchedTerms(const QString &text) const {
    const query::Parsed parsed = d->parse(text);
    if (parsed.malformed)
        return {};
    QSet<QByteArray> words;
    for (const query::Term &term : parsed.terms) {
        switch (term.kind) {
        case query::Term::Word:
        case query::Term::Phrase:
            for (const QByteArray &word : term.words)
                words.insert(word);
            break;
        case query::Term::Prefix:
            for (const QByteArray &word : d->expand(term.words.first() + '*'))
                words.insert(word);
            break;
        case query::Term::Pattern:
            for (const QByteArray &word : d->expand(term.words.first()))
                words.insert(word);
            break;
        }
    }
    QStringList terms;
    for (const QByteArray &word : words)
        terms.append(QString::fromUtf8(word));
    std::sort(terms.begin(), terms.end());
    return terms;
}

QString foldedWord(const QString &word) {
    const QString decomposed = word.toLower().normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar ch : decomposed) {
        if (ch.category() != QChar::Mark_NonSpacing)
            folded.append(ch);
    }
    return folded.normalized(QString::NormalizationForm_C);
}

} // namespace title
