#include "titlefile.h"

#include "titlefile_p.h"
#include "titleschema.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <mutex>

namespace title {

namespace {

// Open titles by handle. Handles are never reused within a process, so a
// stale handle never reaches another title.
struct Registry {
    std::mutex mutex;
    QHash<intptr_t, TitleFile *> titles;
    intptr_t lastHandle = 0;
};

Registry &registry() {
    static Registry instance;
    return instance;
}

intptr_t registerTitle(TitleFile *file) {
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const intptr_t handle = ++r.lastHandle;
    r.titles.insert(handle, file);
    return handle;
}

void unregisterTitle(intptr_t handle) {
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.titles.remove(handle);
}

// A title file comes from outside: keep its schema from running code and let
// SQLite check pages as it reads them.
void harden(sqlite3 *db) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    execute(db, "PRAGMA cell_size_check = ON");
}

// Titles are only ever read. Opened immutable, SQLite takes no lock and looks
// at no journal or WAL file beside the title, so a title opens from read-only
// media whatever lies next to it, and nothing is ever written there.
QByteArray immutableUri(const QString &absolutePath) {
    return "file:" + QFile::encodeName(absolutePath).toPercentEncoding("/") + "?immutable=1";
}

std::optional<qint64> singleValue(sqlite3 *db, const char *sql) {
    Statement statement;
    if (!statement.prepare(db, sql))
        return std::nullopt;
    Run run(statement);
    if (!run.next())
        return std::nullopt;
    return run.integer(0);
}

bool hasTitleMarks(sqlite3 *db) {
    return singleValue(db, "PRAGMA application_id") == schema::kApplicationId &&
           singleValue(db, "PRAGMA user_version") == schema::kVersion;
}

// A truncated or padded file no longer matches the size its header gives.
bool sizeMatchesHeader(sqlite3 *db, qint64 fileSize) {
    const auto pageSize = singleValue(db, "PRAGMA page_size");
    const auto pageCount = singleValue(db, "PRAGMA page_count");
    return pageSize && pageCount && *pageSize * *pageCount == fileSize;
}

// The search index's structure loads (a query for an absent word reads it).
bool searchIndexReadable(const Statement &search) {
    Run run(search);
    run.bindUtf8(1, "\"dvk\"");
    const int rc = run.step();
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

// The topic number of the first row a statement gives for `key`.
template <typename Key>
std::optional<int> singleNumber(const Statement &statement, const Key &key) {
    Run run(statement);
    run.bind(1, key);
    if (!run.next() || run.isNull(0))
        return std::nullopt;
    return int(run.integer(0));
}

} // namespace

// The topic a reader shows first loads, its row and its page.
bool TitleFile::Private::firstTopicReadable() const {
    if (topicCount == 0)
        return true;
    std::optional<qint64> first;
    {
        Run run(firstBrowse);
        if (run.next())
            first = run.integer(0);
    }
    if (!first)
        first = singleValue(db.get(), "SELECT min(number) FROM topics");
    if (!first)
        return false;
    Run run(topicRow);
    run.bind(1, *first);
    return run.step() == SQLITE_ROW;
}

bool TitleFile::Private::prepareStatements() {
    sqlite3 *c = db.get();
    return topicRow.prepare(c, "SELECT t.context, t.title, t.browse, p.header, p.body "
                               "FROM topics AS t LEFT JOIN topic_pages AS p "
                               "ON p.number = t.number WHERE t.number = ?1") &&
           topicByContext.prepare(
               c, "SELECT number FROM topics WHERE context = ?1 ORDER BY number LIMIT 1") &&
           topicByTitle.prepare(
               c, "SELECT number FROM topics WHERE title = ?1 ORDER BY number LIMIT 1") &&
           topicTitle.prepare(c, "SELECT title FROM topics WHERE number = ?1") &&
           firstBrowse.prepare(
               c, "SELECT number FROM topics WHERE browse IS NOT NULL ORDER BY browse LIMIT 1") &&
           previousBrowse.prepare(c, "SELECT number FROM topics WHERE browse < "
                                     "(SELECT browse FROM topics WHERE number = ?1) "
                                     "ORDER BY browse DESC LIMIT 1") &&
           nextBrowse.prepare(c, "SELECT number FROM topics WHERE browse > "
                                 "(SELECT browse FROM topics WHERE number = ?1) "
                                 "ORDER BY browse LIMIT 1") &&
           infoEntries.prepare(c, "SELECT entry FROM info ORDER BY position") &&
           groupTopics.prepare(c,
                               "SELECT topic FROM group_topics WHERE name = ?1 ORDER BY topic") &&
           picture.prepare(c, "SELECT data FROM pictures WHERE name = ?1") &&
           search.prepare(c, "SELECT rowid FROM topic_search WHERE topic_search MATCH ?1 "
                             "ORDER BY rowid") &&
           searchWithTitles.prepare(c, "SELECT t.number, t.title FROM topic_search "
                                       "JOIN topics AS t ON t.number = topic_search.rowid "
                                       "WHERE topic_search MATCH ?1 ORDER BY topic_search.rowid") &&
           titlesBetween.prepare(c, "SELECT number, title FROM topics "
                                    "WHERE number BETWEEN ?1 AND ?2 ORDER BY number");
}

TitleFile::TitleFile() : d(new Private) {}

TitleFile::~TitleFile() {
    if (d->handle)
        unregisterTitle(d->handle);
}

std::unique_ptr<TitleFile> TitleFile::open(const QString &path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return nullptr;

    std::unique_ptr<TitleFile> file(new TitleFile);
    Private &p = *file->d;
    sqlite3 *db = nullptr;
    const int rc =
        sqlite3_open_v2(immutableUri(info.absoluteFilePath()).constData(), &db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
    p.db.reset(db); // closed even when opening failed
    if (rc != SQLITE_OK)
        return nullptr;
    harden(db);
    if (!hasTitleMarks(db) || !sizeMatchesHeader(db, info.size()) || !p.prepareStatements() ||
        !searchIndexReadable(p.search) || !p.tokenizer.create(db))
        return nullptr;
    const auto count = singleValue(db, "SELECT count(*) FROM topics");
    if (!count)
        return nullptr;
    p.topicCount = int(*count);
    // Topic sets hold a flag per topic number 0..highest: only for numbers of
    // a sane spread, none below 0.
    const auto lowest = singleValue(db, "SELECT min(number) FROM topics");
    const auto highest = singleValue(db, "SELECT max(number) FROM topics");
    if (lowest && *lowest >= 0 && highest && *highest > 0 &&
        *highest <= 64 * (qint64(p.topicCount) + 1)) {
        p.topicLimit = int(*highest);
        p.lowestTopic = int(*lowest);
    }
    if (!p.firstTopicReadable())
        return nullptr;

    p.path = path;
    p.handle = registerTitle(file.get());
    return file;
}

intptr_t TitleFile::handle() const {
    return d->handle;
}

QString TitleFile::path() const {
    return d->path;
}

int TitleFile::topicCount() const {
    return d->topicCount;
}

std::optional<Topic> TitleFile::topic(int index) const {
    Run run(d->topicRow);
    run.bind(1, index);
    if (!run.next())
        return std::nullopt;
    Topic topic;
    topic.index = index;
    topic.context = run.text(0);
    topic.title = run.text(1);
    topic.browse = run.isNull(2) ? 0 : int(run.integer(2));
    topic.headerHtml = run.text(3);
    topic.bodyHtml = run.text(4);
    return topic;
}

std::optional<int> TitleFile::topicByContext(const QString &context) const {
    if (context.isEmpty())
        return std::nullopt;
    return singleNumber(d->topicByContext, context);
}

std::optional<int> TitleFile::topicByTitle(const QString &title) const {
    return singleNumber(d->topicByTitle, title);
}

QString TitleFile::topicTitle(int index) const {
    Run run(d->topicTitle);
    run.bind(1, index);
    return run.next() ? run.text(0) : QString();
}

std::optional<int> TitleFile::firstBrowseTopic() const {
    Run run(d->firstBrowse);
    if (!run.next())
        return std::nullopt;
    return int(run.integer(0));
}

std::optional<int> TitleFile::previousBrowseTopic(int index) const {
    return singleNumber(d->previousBrowse, index);
}

std::optional<int> TitleFile::nextBrowseTopic(int index) const {
    return singleNumber(d->nextBrowse, index);
}

QStringList TitleFile::infoEntries() const {
    QStringList entries;
    Run run(d->infoEntries);
    while (run.next())
        entries.append(run.text(0));
    return entries;
}

QVector<int> TitleFile::groupTopics(const QString &group) const {
    QVector<int> topics;
    Run run(d->groupTopics);
    run.bind(1, group);
    while (run.next())
        topics.append(int(run.integer(0)));
    return topics;
}

QByteArray TitleFile::picture(const QString &name) const {
    Run run(d->picture);
    run.bind(1, name);
    return run.next() ? run.blob(0) : QByteArray();
}

TitleFile *titleByHandle(intptr_t handle) {
    if (!handle)
        return nullptr;
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.titles.value(handle, nullptr);
}

} // namespace title
