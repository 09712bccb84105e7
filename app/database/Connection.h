// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One SQLite connection and its statements. Only the station database
// (StationDatabase) opens connections; a connection is used by one thread
// at a time.
namespace database {

// A prepared statement: bind, step, read columns. One that the connection
// keeps (Connection::cached) is reset, not finalized, when this goes, so that
// it holds no read lock between uses.
class Query
{
public:
    Query() = default;
    Query(sqlite3_stmt *statement, bool owned) : statement_(statement), owned_(owned) {}
    ~Query();
    Query(Query &&other) noexcept;
    Query &operator=(Query &&other) noexcept;
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    explicit operator bool() const { return statement_ != nullptr; }
    sqlite3_stmt *get() const { return statement_; }

    Query &bind(int index, qint64 value);
    Query &bind(int index, int value) { return bind(index, static_cast<qint64>(value)); }
    Query &bind(int index, double value);
    Query &bind(int index, std::optional<double> value);
    // UTF-8 text.
    Query &bind(int index, const QString &text);
    Query &bind(int index, std::string_view text);
    Query &bindBlob(int index, const QByteArray &bytes);
    Query &bindNull(int index);

    // SQLITE_ROW, SQLITE_DONE or an error code (the connection says why).
    int step();
    // True while a row is read; false at the end or on an error.
    bool next();
    // Steps once and tells whether the statement ran to its end.
    bool run();
    void reset();

    qint64 int64(int column) const;
    int integer(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    std::string_view textView(int column) const;
    QByteArray blob(int column) const;

private:
    sqlite3_stmt *statement_ = nullptr;
    bool owned_ = false;
};

class Connection
{
public:
    enum class Access { ReadWrite, ReadOnly };

    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *handle() const { return db_; }
    QString path() const { return path_; }

    // Runs one or more statements; false with errorText().
    bool exec(const char *sql);
    // A statement prepared for one use; empty (with errorText()) when it cannot be.
    Query prepare(const char *sql);
    // A statement prepared once and kept by the connection, under its text's
    // address: pass string literals.
    Query cached(const char *sql);

    QString errorText() const;
    // SQLite's extended code of the last failure.
    int errorCode() const;
    // Whether the last failure may pass by itself: a lock, a full disk, an
    // I/O error, no memory. Other failures come back when tried again.
    bool failureIsTransient() const;
    static bool isTransient(int code);
    qint64 lastInsertId() const;
    // Milliseconds a statement waits for another connection's lock.
    void setBusyTimeout(int ms);

    // What a writer keeps about rows written in a transaction (ids it read
    // back, say) must be forgotten when the transaction is rolled back.
    void onRollback(std::function<void()> forget) { forgetters_.push_back(std::move(forget)); }
    void rolledBack();

private:
    friend class StationDatabase;
    Connection(sqlite3 *db, QString path) : db_(db), path_(std::move(path)) {}

    sqlite3 *db_ = nullptr;
    QString path_;
    std::map<const char *, sqlite3_stmt *> statements_;
    std::vector<std::function<void()>> forgetters_;
};

} // namespace database
