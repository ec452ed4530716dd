#pragma once

#include <QSqlRecord>
#include <QString>

#include <vector>

class QSqlDatabase;
typedef struct st_mysql MYSQL;
typedef struct st_mysql_res MYSQL_RES;

namespace zuvexal {

class RecordSetBuilder;

// One query's rows read through MariaDB's C client on the connection QMYSQL
// opened (its character set, UTF-8, and its options). Rows stream from the
// server as they are read (mysql_use_result); each text goes straight into
// the builder's typed columns as the value QMYSQL would have made of it, on
// the common forms without a QVariant and without a time zone lookup.
class MariaDbReader
{
public:
    // The client handle of an open QMYSQL database, else nullptr.
    static MYSQL *handleOf(const QSqlDatabase &db);

    explicit MariaDbReader(MYSQL *connection);
    ~MariaDbReader();
    MariaDbReader(const MariaDbReader &) = delete;
    MariaDbReader &operator=(const MariaDbReader &) = delete;

    // Sends sql and starts reading its result.
    bool start(const QString &sql);
    bool returnsRows() const { return m_result != nullptr; }
    // The columns as QMYSQL describes them.
    QSqlRecord record() const;
    // Every row into builder, whose columns are record()'s.
    bool read(RecordSetBuilder &builder);
    // As QMYSQL words it: the server's message, then the step that failed.
    const QString &error() const { return m_error; }
    // Whether the server went away or the connection was lost.
    bool connectionLost() const;

private:
    enum class Conversion { Integer, Real, Text, Bytes, Date, DateTime };

    void appendValue(RecordSetBuilder &builder, int column, const char *text, qsizetype size);
    void fail(const char *step);

    MYSQL *m_connection;
    MYSQL_RES *m_result = nullptr;
    std::vector<Conversion> m_conversions;
    QString m_error;
};

} // namespace zuvexal
