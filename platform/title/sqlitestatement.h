#pragma once

// Small wrappers over SQLite prepared statements, so that every query of the
// title library binds, steps and resets the same way and no failure escapes
// as anything but "no row".

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <sqlite3.h>

namespace title {

// Owns one prepared statement for the life of a connection.
class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool prepare(sqlite3 *db, const char *sql);
    sqlite3_stmt *get() const { return stmt_; }

private:
    sqlite3_stmt *stmt_ = nullptr;
};

// One execution of a prepared statement: bind, step through the rows; the
// statement is reset when the run ends.
class Run {
public:
    explicit Run(const Statement &statement) : stmt_(statement.get()) {}
    ~Run();
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    Run &bind(int parameter, qint64 value);
    Run &bind(int parameter, const QString &text);
    Run &bindUtf8(int parameter, const QByteArray &utf8);
    Run &bindBlob(int parameter, const QByteArray &bytes);
    Run &bindNull(int parameter);

    // SQLite's result code of the next step.
    int step();
    // True while a row is there; false at the end and on any error.
    bool next();
    // Runs a statement that returns no rows; true when it completed.
    bool exec();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    // The column's text as SQLite holds it, valid until the next step.
    QByteArrayView utf8View(int column) const;
    QByteArray blob(int column) const;
    QByteArrayView blobView(int column) const; // valid until the next step

private:
    sqlite3_stmt *stmt_;
};

// Owns a connection: closed once its last statement is finalized.
struct ConnectionCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// Runs SQL text without results; false with SQLite's message on failure.
bool execute(sqlite3 *db, const char *sql, QString *error = nullptr);

} // namespace title
