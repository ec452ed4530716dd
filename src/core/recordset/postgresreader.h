#pragma once

#include <QSqlRecord>
#include <QString>

#include <string>
#include <vector>

class QSqlDatabase;
typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace zuvexal {

class RecordSetBuilder;

// One query's rows read through libpq on the connection QPSQL opened, so
// the session is QPSQL's (ISO dates, UTF-8, bytea in escape form). Rows
// stream one at a time; each text goes straight into the builder's typed
// columns as the value QPSQL would have made of it, on the common forms
// without a QVariant and without a time zone lookup per value.
class PostgresReader
{
public:
    // The libpq connection of an open QPSQL database, else nullptr.
    static PGconn *handleOf(const QSqlDatabase &db);

    explicit PostgresReader(PGconn *connection);
    ~PostgresReader();
    PostgresReader(const PostgresReader &) = delete;
    PostgresReader &operator=(const PostgresReader &) = delete;

    // Sends sql and waits for its first row or its end.
    bool start(const QString &sql);
    bool returnsRows() const;
    // The columns as QPSQL describes those of a forward-only query.
    QSqlRecord record() const;
    // Every row into builder, whose columns are record()'s.
    bool read(RecordSetBuilder &builder);
    // As QPSQL words it: the server's message, then the step that failed.
    const QString &error() const { return m_error; }
    // Whether the server went away or cut the connection.
    bool connectionLost() const;

private:
    enum class Conversion { Boolean, Int32, Integer, Real, Text, Bytes, Date, Time, Timestamp, TimestampTz };

    void appendRow(RecordSetBuilder &builder, int row);
    void appendValue(RecordSetBuilder &builder, int column, const char *text, int size);
    void fail(const char *step);

    PGconn *m_connection;
    PGresult *m_result = nullptr;
    std::vector<Conversion> m_conversions;
    std::string m_bytes;
    QString m_error;
};

} // namespace zuvexal
