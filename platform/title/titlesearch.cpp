#include "titlefile.h"

#include "titlefile_p.h"
#include "titleschema.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <limits>

namespace title {

namespace {

// When a title's lists cannot be read directly, a prefix or wildcard term's
// words go to FTS5 in runs of at most this many words or this weight (FTS5
// compares every word of a run for each topic it finds).
constexpr int kRunWords = 64;
constexpr qint64 kRunWeight = 8 << 10;
// A prefix that stands for several words of such a term holds at most this.
constexpr qint64 kPieceWeight = 64 << 10;

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

struct CollectedTokens {
    std::vector<query::Token> tokens;
    size_t max = 0;
};

int collectToken(void *context, int flags, const char *text, int length, int start, int end) {
    if (flags & FTS5_TOKEN_COLOCATED)
        return SQLITE_OK;
    auto *collected = static_cast<CollectedTokens *>(context);
    if (collected->tokens.size() == collected->max)
        return SQLITE_DONE; // ends the tokenizer's run
    collected->tokens.push_back({QByteArray(text, length), start, end});
    return SQLITE_OK;
}

// The vocabulary's words of a prefix or wildcard term, in order.
std::vector<int> termWords(const Vocabulary &vocabulary, const query::Term &term) {
    if (term.kind == query::Term::Pattern)
        return vocabulary.matching(term.words.first());
    const auto [first, last] = vocabulary.range(term.words.first());
    std::vector<int> words(size_t(last - first));
    for (int i = first; i < last; ++i)
        words[size_t(i - first)] = i;
    return words;
}

// A piece of a term's words for one MATCH: a word, or a prefix whose words
// all belong to the term.
struct Piece {
    QByteArray match;
    qint64 weight = 0;
};

bool insideCharacter(char byte) {
    return (uchar(byte) & 0xC0) == 0x80;
}

// The shortest prefix of word `first` that holds only words of the run
// [first, runEnd) and at least two of them, within kPieceWeight; the end of
// the words it holds, or `first` when there is none.
int prefixEnd(const Vocabulary &vocabulary, int first, int runEnd, int &length) {
    const char *word = vocabulary.word(first);
    const int wordLength = vocabulary.wordLength(first);
    int shared = 0;
    if (first > 0) {
        const char *before = vocabulary.word(first - 1);
        while (before[shared] && before[shared] == word[shared])
            ++shared;
    }
    for (length = shared + 1; length <= wordLength; ++length) {
        if (length < wordLength && insideCharacter(word[length]))
            continue;
        int end = first + 1;
        while (end < runEnd && std::strncmp(vocabulary.word(end), word, size_t(length)) == 0 &&
               vocabulary.weight(first, end + 1) <= kPieceWeight)
            ++end;
        const bool spills = end < vocabulary.size() &&
                            std::strncmp(vocabulary.word(end), word, size_t(length)) == 0;
        if (!spills)
            return end - first >= 2 ? end : first;
    }
    return first;
}

// A term's words in pieces, heaviest first: runs of neighbouring words that
// share a prefix no other word has go as one prefix, which saves FTS5 a
// lookup per word (as for the numbers of *1*).
std::vector<Piece> pieces(const Vocabulary &vocabulary, const std::vector<int> &words) {
    std::vector<Piece> pieces;
    for (size_t k = 0; k < words.size();) {
        size_t run = k + 1;
        while (run < words.size() && words[run] == words[run - 1] + 1)
            ++run;
        const int runEnd = words[run - 1] + 1;
        for (int first = words[k]; first < runEnd;) {
            int length = 0;
            const int end = prefixEnd(vocabulary, first, runEnd, length);
            if (end > first) {
                pieces.push_back({query::quoted(QByteArray(vocabulary.word(first), length)) + " *",
                                  vocabulary.weight(first, end)});
                first = end;
            } else {
                pieces.push_back(
                    {query::quoted(vocabulary.word(first)), vocabulary.weight(first, first + 1)});
                ++first;
            }
        }
        k = run;
    }
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const Piece &a, const Piece &b) { return a.weight > b.weight; });
    return pieces;
}

// The words with the longest lists first, as they cover the most topics, then
// the rest in order, as they lie in the index.
std::vector<int> heaviestFirst(const Vocabulary &vocabulary, const std::vector<int> &words) {
    constexpr size_t kHeaviest = 32;
    const auto heavier = [&](int a, int b) {
        return vocabulary.weight(a, a + 1) > vocabulary.weight(b, b + 1);
    };
    std::vector<int> heaviest(words);
    const size_t count = std::min(kHeaviest, heaviest.size());
    std::partial_sort(heaviest.begin(), heaviest.begin() + qsizetype(count), heaviest.end(),
                      heavier);
    heaviest.resize(count);
    std::sort(heaviest.begin(), heaviest.end());
    std::vector<int> order(heaviest);
    std::sort(order.begin(), order.end(), heavier);
    for (const int word : words) {
        if (!std::binary_search(heaviest.begin(), heaviest.end(), word))
            order.push_back(word);
    }
    return order;
}

// The topics among `possible` that hold any of `words`, read from the
// index's lists directly, or else through FTS5 in runs, heaviest first. The
// reading stops once every possible topic is found: an index may list row
// ids of no topic, so only the possible ones count.
TopicSet coveredTopics(const Statement &search, const Vocabulary &vocabulary,
                       const std::vector<int> &words, const TopicSet &possible, int topicLimit) {
    TopicSet covered(topicLimit);
    const int wanted = possible.count();
    const auto cover = [&](qint64 topic) {
        if (possible.contains(topic))
            covered.add(topic);
        return covered.count() < wanted;
    };
    if (vocabulary.readTopics(heaviestFirst(vocabulary, words), cover))
        return covered;
    // The lists broke part-way: what was read of them may be damage, so
    // FTS5 reads them all again from nothing.
    covered = TopicSet(topicLimit);
    const std::vector<Piece> split = pieces(vocabulary, words);
    for (size_t next = 0; next < split.size() && covered.count() < wanted;) {
        QList<QByteArray> alternatives;
        qint64 runWeight = 0;
        while (next < split.size() && alternatives.size() < kRunWords &&
               (alternatives.isEmpty() || runWeight + split[next].weight <= kRunWeight)) {
            runWeight += split[next].weight;
            alternatives.append(split[next++].match);
        }
        Run run(search);
        run.bindUtf8(1, alternatives.join(" OR "));
        while (covered.count() < wanted && run.next())
            cover(run.integer(0));
    }
    return covered;
}

// A MATCH clause for any of the words: for titles whose topic numbers are too
// spread out for topic sets.
QByteArray anyOf(const Vocabulary &vocabulary, const std::vector<int> &words) {
    QList<QByteArray> alternatives;
    for (const int word : words)
        alternatives.append(query::quoted(vocabulary.word(word)));
    return '(' + alternatives.join(" OR ") + ')';
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

std::vector<query::Token> IndexTokenizer::tokenize(const QByteArray &utf8, size_t maxTokens) const {
    CollectedTokens collected;
    collected.max = maxTokens;
    if (tokenizer_ && !utf8.isEmpty() && maxTokens > 0)
        api_.xTokenize(tokenizer_, &collected, FTS5_TOKENIZE_QUERY, utf8.constData(),
                       int(utf8.size()), collectToken);
    return std::move(collected.tokens);
}

// A query's terms, each once; nothing when it is malformed or too long.
query::Parsed TitleFile::Private::parse(const QString &text) const {
    return query::parse(
        text.toUtf8(),
        [this](const QByteArray &utf8, size_t maxTokens) {
            return tokenizer.tokenize(utf8, maxTokens);
        },
        kMaxSearchWords);
}

const TopicSet &TitleFile::Private::topics() const {
    if (topicSet)
        return *topicSet;
    topicSet.emplace(topicLimit);
    // As many topics as numbers from the lowest to the highest: all of them.
    if (qint64(topicLimit) - lowestTopic + 1 == topicCount) {
        for (int topic = lowestTopic; topic <= topicLimit; ++topic)
            topicSet->add(topic);
    } else {
        Statement numbers;
        if (numbers.prepare(db.get(), "SELECT number FROM topics")) {
            Run run(numbers);
            while (run.next())
                topicSet->add(run.integer(0));
        }
    }
    return *topicSet;
}

const Vocabulary *TitleFile::Private::words() const {
    if (!vocabularyRead) {
        vocabularyRead = true;
        vocabularyReadable = vocabulary.load(db.get());
    }
    return vocabularyReadable ? &vocabulary : nullptr;
}

// Every word goes in quoted, so no user text is read as FTS5 syntax. The
// last plan is kept: the control asks for the hits, then for the words to
// highlight.
const TitleFile::Private::Plan &TitleFile::Private::plan(const QString &query) const {
    if (lastPlan && lastQuery == query)
        return *lastPlan;
    lastQuery = query;
    lastPlan.emplace();
    Plan &plan = *lastPlan;
    std::vector<std::pair<qint64, std::vector<int>>> weighed;
    for (const query::Term &term : parse(query).terms) {
        if (term.kind == query::Term::Word || term.kind == query::Term::Phrase) {
            plan.matched.append(query::quoted(term.words.join(' ')));
            plan.words += term.words;
            continue;
        }
        const Vocabulary *vocabulary = words();
        if (!vocabulary && term.kind == query::Term::Prefix) {
            plan.matched.append(query::quoted(term.words.first()) + " *");
            continue;
        }
        std::vector<int> set = vocabulary ? termWords(*vocabulary, term) : std::vector<int>();
        if (set.empty()) // a term no word of the title matches
            return plan = Plan();
        qint64 weight = 0;
        for (const int word : set)
            weight += vocabulary->weight(word, word + 1);
        weighed.emplace_back(weight, std::move(set));
    }
    // The narrowest term first: the later ones then have fewer topics to find.
    std::stable_sort(weighed.begin(), weighed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[weight, set] : weighed)
        plan.sets.push_back(std::move(set));
    return plan;
}

void TitleFile::Private::runSearch(const QString &query, const QVector<int> *scope, bool titles,
                                   const std::function<void(int, QByteArrayView)> &hit) const {
    const Plan &plan = this->plan(query);
    if (plan.findsNothing())
        return;
    // Topic numbers too spread out for topic sets: FTS5 gets every word, and
    // the join with the topics keeps the row ids that are topics.
    if (plan.sets.empty() || topicLimit == 0) {
        QSet<int> allowed;
        if (scope)
            allowed = QSet<int>(scope->begin(), scope->end());
        QList<QByteArray> matched = plan.matched;
        for (const std::vector<int> &set : plan.sets)
            matched.append(anyOf(vocabulary, set));
        Run run(searchWithTitles);
        run.bindUtf8(1, matched.join(" AND "));
        while (run.next()) {
            const qint64 topic = run.integer(0);
            if (topic < std::numeric_limits<int>::min() || topic > std::numeric_limits<int>::max())
                continue; // a topic no caller can name
            if (!scope || allowed.contains(int(topic)))
                hit(int(topic), titles ? run.utf8View(1) : QByteArrayView());
        }
        return;
    }

    // The topics still possible: those of the title, within the scope and
    // the MATCH.
    const TopicSet &all = topics();
    TopicSet possible(topicLimit);
    if (scope) {
        for (const int topic : *scope) {
            if (all.contains(topic))
                possible.add(topic);
        }
    } else {
        possible = all;
    }
    if (!plan.matched.isEmpty()) {
        TopicSet matched(topicLimit);
        Run run(search);
        run.bindUtf8(1, plan.matched.join(" AND "));
        while (run.next()) {
            if (possible.contains(run.integer(0)))
                matched.add(run.integer(0));
        }
        possible = std::move(matched);
    }
    for (const std::vector<int> &set : plan.sets) {
        if (possible.count() == 0)
            return;
        possible = coveredTopics(search, vocabulary, set, possible, topicLimit);
    }
    if (possible.count() == 0)
        return;
    if (!titles) {
        for (int topic = possible.first(); topic >= 0; topic = possible.next(topic + 1))
            hit(topic, QByteArrayView());
        return;
    }
    // A few hits far apart are looked up one by one, else all topics between
    // the first and the last are read in one pass.
    const int first = possible.first();
    const int last = possible.last();
    if (qint64(possible.count()) * 16 < qint64(last) - first) {
        for (int topic = first; topic >= 0; topic = possible.next(topic + 1)) {
            Run run(topicTitle);
            run.bind(1, topic);
            if (run.next())
                hit(topic, run.utf8View(0));
        }
        return;
    }
    Run run(titlesBetween);
    run.bind(1, first).bind(2, last);
    while (run.next()) {
        if (possible.contains(run.integer(0)))
            hit(int(run.integer(0)), run.utf8View(1));
    }
}

QVector<int> TitleFile::search(const QString &query, const QVector<int> *scope) const {
    QVector<int> hits;
    d->runSearch(query, scope, false, [&](int topic, QByteArrayView) { hits.append(topic); });
    return hits;
}

void TitleFile::searchHits(const QString &query, const QVector<int> *scope,
                           SearchHits &hits) const {
    hits.clear();
    d->runSearch(query, scope, true,
                 [&](int topic, QByteArrayView title) { hits.append(topic, title); });
}

QStringList TitleFile::matchedTerms(const QString &text) const {
    const Private::Plan &plan = d->plan(text);
    if (plan.findsNothing())
        return {};
    QSet<QByteArray> words(plan.words.begin(), plan.words.end());
    std::vector<int> vocabularyWords;
    for (const std::vector<int> &set : plan.sets)
        vocabularyWords.insert(vocabularyWords.end(), set.begin(), set.end());
    std::sort(vocabularyWords.begin(), vocabularyWords.end());
    vocabularyWords.erase(std::unique(vocabularyWords.begin(), vocabularyWords.end()),
                          vocabularyWords.end());
    QStringList terms;
    for (const int word : vocabularyWords) {
        const QByteArray utf8 = d->vocabulary.word(word);
        words.remove(utf8);
        terms.append(QString::fromUtf8(utf8));
    }
    for (const QByteArray &word : words)
        terms.append(QString::fromUtf8(word));
    std::sort(terms.begin(), terms.end());
    return terms;
}

QString SearchHits::title(int i) const {
    const size_t start = i > 0 ? titleEnds_[size_t(i) - 1] : 0;
    return QString::fromUtf8(titles_.data() + start, qsizetype(titleEnds_[size_t(i)] - start));
}

void SearchHits::clear() {
    topics_.clear();
    titleEnds_.clear();
    titles_.clear();
}

void SearchHits::append(int topic, QByteArrayView title) {
    topics_.push_back(topic);
    titles_.append(title.data(), size_t(title.size()));
    titleEnds_.push_back(titles_.size());
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
