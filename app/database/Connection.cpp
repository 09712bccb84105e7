// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/Connection.h"

#include <sqlite3.h>

namespace database {

Query::~Query()
{
    if (!statement_)
        return;
    if (owned_)
        sqlite3_finalize(statement_);
    else
        sqlite3_reset(statement_);
}

Query::Query(Query &&other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), owned_(other.owned_)
{
}

Query &Query::operator=(Query &&other) noexcept
{
    if (this != &other) {
        this->~Query();
        statement_ = std::exchange(other.statement_, nullptr);
        owned_ = other.owned_;
    }
    return *this;
}

Query &Query::bind(int index, qint64 value)
{
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

Query &Query::bind(int index, double value)
{
    sqlite3_bind_double(statement_, index, value);
    return *this;
}

Query &Query::bind(int index, std::optional<double> value)
{
    return value ? bind(index, *value) : bindNull(index);
}

Query &Query::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement_, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Query &Query::bind(int index, std::string_view text)
{
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Query &Query::bindBlob(int index, const QByteArray &bytes)
{
    sqlite3_bind_blob(statement_, index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Query &Query::bindNull(int index)
{
    sqlite3_bind_null(statement_, index);
    return *this;
}

int Query::step()
{
    return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE;
}

bool Query::next()
{
    return step() == SQLITE_ROW;
}

bool Query::run()
{
    return step() == SQLITE_DONE;
}

void Query::reset()
{
    if (statement_)
        sqlite3_reset(statement_);
}

qint64 Query::int64(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

int Query::integer(int column) const
{
    return sqlite3_column_int(statement_, column);
}

double Query::real(int column) const
{
    return sqlite3_column_double(statement_, column);
}

std::optional<double> Query::optionalReal(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return real(column);
}

bool Query::isNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::string_view Query::textView(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    return text ? std::string_view(text,
                                   static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string_view();
}

QString Query::text(int column) const
{
    const std::string_view view = textView(column);
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QByteArray Query::blob(int column) const
{
    const auto *bytes = static_cast<const char *>(sqlite3_column_blob(statement_, column));
    return bytes ? QByteArray(bytes, sqlite3_column_bytes(statement_, column)) : QByteArray();
}

Connection::~Connection()
{
    for (const auto &[sql, statement] : statements_)
        sqlite3_finalize(statement);
    sqlite3_close(db_);
}

bool Connection::exec(const char *sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Query Connection::prepare(const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
        statement = nullptr;
    return {statement, true};
}

Query Connection::cached(const char *sql)
{
    sqlite3_stmt *&slot = statements_[sql];
    if (!slot &&
        sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
        sqlite3_finalize(slot);
        slot = nullptr;
        statements_.erase(sql);
        return {};
    }
    return {slot, false};
}

QString Connection::errorText() const
{
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

int Connection::errorCode() const
{
    return sqlite3_extended_errcode(db_);
}

bool Connection::isTransient(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
    case SQLITE_CANTOPEN:
    case SQLITE_PROTOCOL:
        return true;
    default:
        return false;
    }
}

bool Connection::failureIsTransient() const
{
    return isTransient(errorCode());
}

qint64 Connection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

void Connection::setBusyTimeout(int ms)
{
    sqlite3_busy_timeout(db_, ms);
}

void Connection::rolledBack()
{
    for (const auto &forget : forgetters_)
        forget();
}

} // namespace database
