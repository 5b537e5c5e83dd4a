// Title file and title view benchmark. Run:  build/bench/bench_title
//
// Builds a large title (10,000 topics, more than 20 MB of Spanish-like text)
// in a temporary folder, in a child process so that the builder's memory
// does not count, then prints medians of: opening the title and reading its
// first browse topic; reading a topic by number; the same two through the
// title view control, each painted; five searches, each beside
// its raw reference (the same FTS5 MATCH through the SQLite C API on the same
// file, checked to give the same topic numbers and titles in the same order);
// and the peak memory of this process (VmHWM).
//
// Goals: open under 100 ms, a topic read well under 10 ms, each search within
// 1.5 x its reference + 2 ms, peak memory under 150 MB.

#include "medview.h"
#include "titlebuilder.h"
#include "titlefile.h"

#include <QApplication>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <sqlite3.h>

namespace {

constexpr int kTopics = 10000;
constexpr int kParagraphsPerTopic = 6;
constexpr int kWordsPerParagraph = 52;

// --- Generating the title --------------------------------------------------

const char *const kSyllables[] = {"ca",  "me", "ri", "to", "la",   "so",   "de",  "mi",  "ne",
                                  "ju",  "es", "ta", "ro", "ción", "ña",   "gue", "güi", "lló",
                                  "rá",  "bé", "pa", "co", "tra",  "mien", "dí",  "qué", "sú",
                                  "ver", "al", "ár", "bo", "gen",  "cha",  "zo",  "pé",  "nu",
                                  "lí",  "fa", "vi", "ga", "sal",  "tó",   "ma",  "re",  "ní"};
const char *const kCommon[] = {"de",  "la",  "el",  "los", "que", "en",   "y",  "un",
                               "por", "con", "una", "las", "del", "para", "se", "más"};

class TextGenerator {
public:
    TextGenerator() : random_(20240601) {
        std::uniform_int_distribution<int> syllables(1, 4);
        std::uniform_int_distribution<int> pick(0, int(std::size(kSyllables)) - 1);
        while (vocabulary_.size() < 30000) {
            QString word;
            for (int n = syllables(random_); n > 0; --n)
                word += QString::fromUtf8(kSyllables[pick(random_)]);
            vocabulary_.append(word);
        }
    }

    // Common words often, the rest with falling frequency (log-uniform rank).
    QString word() {
        std::uniform_real_distribution<double> u(0.0, 1.0);
        if (u(random_) < 0.35)
            return QString::fromUtf8(kCommon[int(u(random_) * std::size(kCommon))]);
        const int rank = int(std::exp(u(random_) * std::log(double(vocabulary_.size())))) - 1;
        return vocabulary_[std::clamp(rank, 0, int(vocabulary_.size()) - 1)];
    }

    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    QString paragraph() {
        QString text = QStringLiteral("<p>");
        for (int i = 0; i < kWordsPerParagraph; ++i) {
            if (i)
                text += QLatin1Char(' ');
            if (chance(0.03))
                text += QStringLiteral("<b>") + word() + QStringLiteral("</b>");
            else
                text += word();
        }
        if (chance(0.05))
            text += QStringLiteral(" El camión");
        if (chance(0.04))
            text += QStringLiteral(" rojo");
        if (chance(0.01))
            text += QStringLiteral(" los hermanos de José");
        return text + QStringLiteral(".</p>\n");
    }

private:
    std::mt19937 random_;
    QStringList vocabulary_;
};

int generate(const QString &output, int topics) {
    TextGenerator text;
    title::TitleSource source;
    source.info = {QStringLiteral("CAP1.GRP=\"Capítulo 1\";")};
    qint64 bytes = 0;
    for (int i = 1; i <= topics; ++i) {
        title::SourceTopic topic;
        topic.context = QStringLiteral("T%1").arg(i);
        topic.title = QStringLiteral("Sección %1: %2").arg(i).arg(text.word());
        topic.html = QStringLiteral("<header><h2>%1</h2></header>\n").arg(topic.title);
        for (int p = 0; p < kParagraphsPerTopic; ++p)
            topic.html += text.paragraph();
        topic.groups = {QStringLiteral("CAP1")};
        bytes += topic.html.toUtf8().size();
        source.topics.append(topic);
    }
    QString error;
    if (!title::writeTitle(source, output, &error)) {
        std::fprintf(stderr, "bench_title: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%lld\n", bytes);
    return 0;
}

// --- Measuring ---------------------------------------------------------------

double milliseconds(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(const std::function<void()> &work, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(milliseconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double peakMemoryMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

struct Hit {
    int topic;
    QString title;
    bool operator==(const Hit &other) const { return topic == other.topic && title == other.title; }
};

// The raw reference: SQLite's C API on its own connection to the same file.
class RawTitle {
public:
    explicit RawTitle(const QString &path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db_,
                     "CREATE VIRTUAL TABLE temp.raw_terms USING fts5vocab(main, topic_search, row)",
                     nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db_,
                           "SELECT t.number, t.title FROM topic_search "
                           "JOIN topics AS t ON t.number = topic_search.rowid "
                           "WHERE topic_search MATCH ?1 ORDER BY topic_search.rowid",
                           -1, &match_, nullptr);
        sqlite3_prepare_v2(db_,
                           "SELECT term FROM temp.raw_terms WHERE term >= ?1 AND term < ?2 "
                           "AND term GLOB ?3",
                           -1, &terms_, nullptr);
    }
    ~RawTitle() {
        sqlite3_finalize(match_);
        sqlite3_finalize(terms_);
        sqlite3_close(db_);
    }

    std::vector<Hit> match(const QByteArray &expression) {
        std::vector<Hit> hits;
        sqlite3_bind_text(match_, 1, expression.constData(), int(expression.size()), SQLITE_STATIC);
        while (sqlite3_step(match_) == SQLITE_ROW)
            hits.push_back({sqlite3_column_int(match_, 0),
                            QString::fromUtf8(
                                reinterpret_cast<const char *>(sqlite3_column_text(match_, 1)))});
        sqlite3_reset(match_);
        return hits;
    }

    // The ?-wildcard: the words of the index matching the pattern, then the
    // MATCH of their OR.
    std::vector<Hit> wildcard(const QByteArray &prefix, const QByteArray &glob) {
        const QByteArray bound = prefix + "\xF4\x8F\xBF\xBF";
        sqlite3_bind_text(terms_, 1, prefix.constData(), int(prefix.size()), SQLITE_STATIC);
        sqlite3_bind_text(terms_, 2, bound.constData(), int(bound.size()), SQLITE_STATIC);
        sqlite3_bind_text(terms_, 3, glob.constData(), int(glob.size()), SQLITE_STATIC);
        QList<QByteArray> alternatives;
        while (sqlite3_step(terms_) == SQLITE_ROW)
            alternatives.append(
                '"' + QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(terms_, 0))) +
                '"');
        sqlite3_reset(terms_);
        if (alternatives.isEmpty())
            return {};
        return match('(' + alternatives.join(" OR ") + ')');
    }

private:
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *match_ = nullptr;
    sqlite3_stmt *terms_ = nullptr;
};

// What the reader does for a search: the hits, and their titles for the list.
std::vector<Hit> readerSearch(const title::TitleFile &file, const QString &query) {
    std::vector<Hit> hits;
    for (const auto &hit : file.searchHits(query))
        hits.push_back({hit.topic, hit.title});
    return hits;
}

struct SearchCase {
    const char *label;
    QString query;
    std::function<std::vector<Hit>(RawTitle &)> raw;
};

bool runSearches(const title::TitleFile &file, RawTitle &raw) {
    const std::vector<SearchCase> cases = {
        {"word", QStringLiteral("camión"), [](RawTitle &r) { return r.match("\"camion\""); }},
        {"two words", QStringLiteral("camión rojo"),
         [](RawTitle &r) { return r.match("\"camion\" AND \"rojo\""); }},
        {"phrase", QStringLiteral("\"los hermanos de\""),
         [](RawTitle &r) { return r.match("\"los hermanos de\""); }},
        {"prefix", QStringLiteral("Ju*"), [](RawTitle &r) { return r.match("\"ju\" *"); }},
        {"?-wildcard", QStringLiteral("De?????"),
         [](RawTitle &r) { return r.wildcard("de", "de?????"); }},
    };
    bool allSame = true;
    std::printf("\n%-12s %-20s %10s %10s %8s  %s\n", "search", "query", "reader", "raw", "hits",
                "goal: reader <= 1.5 x raw + 2 ms");
    for (const SearchCase &c : cases) {
        const std::vector<Hit> ours = readerSearch(file, c.query);
        const std::vector<Hit> reference = c.raw(raw);
        const bool same = ours == reference;
        allSame = allSame && same;
        const double readerMs = median([&] { readerSearch(file, c.query); }, 15);
        const double rawMs = median([&] { c.raw(raw); }, 15);
        std::printf("%-12s %-20s %7.2f ms %7.2f ms %8zu  %s%s\n", c.label, qPrintable(c.query),
                    readerMs, rawMs, ours.size(), readerMs <= 1.5 * rawMs + 2.0 ? "met" : "MISSED",
                    same ? "" : "  (HITS DIFFER from the reference)");
    }
    return allSame;
}

// The same through the title view control: the title opened and its first
// topic painted, then a topic opened by number and painted.
void measureControl(const QString &path) {
    TMedview view;
    view.resize(800, 600);
    view.show();
    const double openMs = median(
        [&] {
            view.setMediaViewTitle(path);
            view.repaint();
        },
        21);
    std::printf("%-34s %7.2f ms  (goal < 100 ms)\n", "control: open + show first topic", openMs);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> anyTopic(1, kTopics);
    const double switchMs = median(
        [&] {
            view.setTopicIndex(anyTopic(random));
            view.repaint();
        },
        201);
    std::printf("%-34s %7.2f ms  (goal < 10 ms)\n", "control: topic switch + paint", switchMs);
}

int measure(const QString &path, qint64 textBytes) {
    std::printf("title: %d topics, %.1f MB of topic text, file %.1f MB\n", kTopics,
                double(textBytes) / 1e6, double(QFileInfo(path).size()) / 1e6);

    const double openMs = median(
        [&] {
            auto file = title::TitleFile::open(path);
            if (file)
                file->topic(file->firstBrowseTopic().value_or(1));
        },
        21);
    std::printf("%-34s %7.2f ms  (goal < 100 ms)\n", "open + first browse topic", openMs);

    auto file = title::TitleFile::open(path);
    if (!file) {
        std::fprintf(stderr, "bench_title: the title does not open\n");
        return 1;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> anyTopic(1, kTopics);
    const double switchMs = median([&] { file->topic(anyTopic(random)); }, 1001);
    std::printf("%-34s %7.3f ms  (goal < 10 ms)\n", "topic switch (read by number)", switchMs);

    measureControl(path);

    RawTitle raw(path);
    const bool same = runSearches(*file, raw);

    std::printf("\n%-34s %7.1f MB  (goal < 150 MB)\n", "peak memory (VmHWM)", peakMemoryMB());
    return same ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--generate"))
        return generate(args[3], args[2].toInt());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grande.dvk"));
    std::printf("building the title...\n");
    std::fflush(stdout);
    QProcess child;
    const auto start = std::chrono::steady_clock::now();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--generate"), path});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        std::fprintf(stderr, "bench_title: building failed: %s\n",
                     child.readAllStandardError().constData());
        return 1;
    }
    std::printf("built in %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return measure(path, child.readAllStandardOutput().trimmed().toLongLong());
}
