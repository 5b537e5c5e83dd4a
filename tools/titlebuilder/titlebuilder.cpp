#include "titlebuilder.h"

#include "htmltext.h"
#include "sqlitestatement.h"
#include "titleschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace title {

namespace {

bool fail(QString *error, const QString &message) {
    if (error)
        *error = message;
    return false;
}

// What the file format cannot hold: two topics with one context string, two
// pictures whose names differ only in case (names are looked up ignoring
// case), empty picture or group names.
QString sourceProblem(const TitleSource &source) {
    QSet<QString> contexts;
    for (int i = 0; i < source.topics.size(); ++i) {
        const SourceTopic &topic = source.topics[i];
        const QString key = topic.context.toLower();
        if (!key.isEmpty() && contexts.contains(key))
            return QStringLiteral("topic %1 (\"%2\"): the context string \"%3\" is used twice")
                .arg(i + 1)
                .arg(topic.title, topic.context);
        contexts.insert(key);
        for (const QString &group : topic.groups) {
            if (group.isEmpty())
                return QStringLiteral("topic %1 (\"%2\"): empty group name")
                    .arg(i + 1)
                    .arg(topic.title);
        }
    }
    QSet<QString> pictures;
    for (auto it = source.pictures.constBegin(); it != source.pictures.constEnd(); ++it) {
        const QString key = it.key().toLower();
        if (key.isEmpty())
            return QStringLiteral("a picture has no name");
        if (pictures.contains(key))
            return QStringLiteral("picture \"%1\": another picture differs only in case")
                .arg(it.key());
        pictures.insert(key);
    }
    return QString();
}

class DatabaseWriter {
public:
    explicit DatabaseWriter(sqlite3 *db) : db_(db) {}

    bool write(const TitleSource &source) {
        return run("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN") &&
               run(schema::kCreateTables) && writeInfo(source.info) && writeTopics(source.topics) &&
               writePictures(source.pictures) &&
               run("INSERT INTO topic_search(topic_search) VALUES('optimize')") &&
               run(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2")
                       .arg(schema::kApplicationId)
                       .arg(schema::kVersion)
                       .toUtf8()
                       .constData()) &&
               run("COMMIT");
    }

    QString error() const { return error_; }

private:
    bool run(const char *sql) { return execute(db_, sql, &error_); }

    bool prepare(Statement &statement, const char *sql) {
        if (statement.prepare(db_, sql))
            return true;
        error_ = QString::fromUtf8(sqlite3_errmsg(db_));
        return false;
    }

    bool done(Run &run) {
        if (run.exec())
            return true;
        error_ = QString::fromUtf8(sqlite3_errmsg(db_));
        return false;
    }

    bool writeInfo(const QStringList &info) {
        Statement insert;
        if (!prepare(insert, "INSERT INTO info(position, entry) VALUES(?1, ?2)"))
            return false;
        for (int i = 0; i < info.size(); ++i) {
            Run row(insert);
            if (!done(row.bind(1, i + 1).bind(2, info[i])))
                return false;
        }
        return true;
    }

    bool writeTopics(const QVector<SourceTopic> &topics) {
        Statement topic, page, search, group;
        if (!prepare(topic, "INSERT INTO topics(number, context, title, browse) "
                            "VALUES(?1, ?2, ?3, ?4)") ||
            !prepare(page, "INSERT INTO topic_pages(number, header, body) VALUES(?1, ?2, ?3)") ||
            !prepare(search, "INSERT INTO topic_search(rowid, title, header, body) "
                             "VALUES(?1, ?2, ?3, ?4)") ||
            !prepare(group, "INSERT OR IGNORE INTO group_topics(name, topic) VALUES(?1, ?2)"))
            return false;
        int browse = 0;
        for (int i = 0; i < topics.size(); ++i) {
            const SourceTopic &source = topics[i];
            const int number = i + 1;
            const TopicHtml html = splitTopicHtml(source.html);
            Run topicRow(topic);
            topicRow.bind(1, number).bind(2, source.context).bind(3, source.title);
            if (source.browse)
                topicRow.bind(4, ++browse);
            else
                topicRow.bindNull(4);
            Run pageRow(page);
            Run searchRow(search);
            if (!done(topicRow) ||
                !done(pageRow.bind(1, number).bind(2, html.header).bind(3, html.body)) ||
                !done(searchRow.bind(1, number)
                          .bind(2, source.title)
                          .bind(3, plainText(html.header))
                          .bind(4, plainText(html.body))))
                return false;
            for (const QString &name : source.groups) {
                Run groupRow(group);
                if (!done(groupRow.bind(1, name).bind(2, number)))
                    return false;
            }
        }
        return true;
    }

    bool writePictures(const QMap<QString, QByteArray> &pictures) {
        Statement insert;
        if (!prepare(insert, "INSERT INTO pictures(name, data) VALUES(?1, ?2)"))
            return false;
        for (auto it = pictures.constBegin(); it != pictures.constEnd(); ++it) {
            Run row(insert);
            if (!done(row.bind(1, it.key()).bindBlob(2, it.value())))
                return false;
        }
        return true;
    }

    sqlite3 *db_;
    QString error_;
};

bool buildDatabase(const TitleSource &source, const QString &file, QString *error) {
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        return fail(error, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    DatabaseWriter writer(raw);
    if (!writer.write(source))
        return fail(error, writer.error());
    if (sqlite3_close(db.release()) != SQLITE_OK)
        return fail(error, QStringLiteral("cannot finish the file"));
    return true;
}

// A name beside the output that no other file has, so that a failed build
// never touches the output and two builds never share a file.
QString temporaryNameBeside(const QFileInfo &target) {
    static int counter = 0;
    QString name;
    do {
        name = QStringLiteral("%1/.%2.%3-%4.part")
                   .arg(target.absolutePath(), target.fileName())
                   .arg(qint64(::getpid()))
                   .arg(++counter);
    } while (QFileInfo::exists(name));
    return name;
}

} // namespace

bool writeTitle(const TitleSource &source, const QString &outputFile, QString *error) {
    const QString problem = sourceProblem(source);
    if (!problem.isEmpty())
        return fail(error, problem);
    const QFileInfo target(outputFile);
    if (outputFile.isEmpty() || !QDir().mkpath(target.absolutePath()))
        return fail(error, QStringLiteral("cannot create the folder of \"%1\"").arg(outputFile));

    const QString temporary = temporaryNameBeside(target);
    QString buildError;
    if (!buildDatabase(source, temporary, &buildError)) {
        QFile::remove(temporary);
        return fail(error, QStringLiteral("cannot write \"%1\": %2").arg(outputFile, buildError));
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return fail(error, QStringLiteral("cannot replace \"%1\": %2").arg(outputFile, reason));
    }
    return true;
}

} // namespace title
