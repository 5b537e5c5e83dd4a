#include "sqlitestatement.h"

namespace title {

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::prepare(sqlite3 *db, const char *sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) ==
               SQLITE_OK &&
           stmt_;
}

Run::~Run() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

Run &Run::bind(int parameter, qint64 value) {
    if (stmt_)
        sqlite3_bind_int64(stmt_, parameter, value);
    return *this;
}

Run &Run::bind(int parameter, const QString &text) {
    return bindUtf8(parameter, text.toUtf8());
}

Run &Run::bindUtf8(int parameter, const QByteArray &utf8) {
    if (stmt_)
        sqlite3_bind_text(stmt_, parameter, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

Run &Run::bindBlob(int parameter, const QByteArray &bytes) {
    if (stmt_)
        sqlite3_bind_blob(stmt_, parameter, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

Run &Run::bindNull(int parameter) {
    if (stmt_)
        sqlite3_bind_null(stmt_, parameter);
    return *this;
}

int Run::step() {
    return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE;
}

bool Run::next() {
    return step() == SQLITE_ROW;
}

bool Run::exec() {
    return step() == SQLITE_DONE;
}

bool Run::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

qint64 Run::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QString Run::text(int column) const {
    return QString::fromUtf8(utf8View(column));
}

QByteArrayView Run::utf8View(int column) const {
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
}

QByteArray Run::blob(int column) const {
    return blobView(column).toByteArray();
}

QByteArrayView Run::blobView(int column) const {
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(stmt_, column));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
}

bool execute(sqlite3 *db, const char *sql, QString *error) {
    char *message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK && error)
        *error = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

} // namespace title
