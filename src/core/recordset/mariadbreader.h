#pragma once

#include "nativereader_p.h"
#include "textcells.h"

typedef struct st_mysql MYSQL;
typedef struct st_mysql_res MYSQL_RES;
typedef char **MYSQL_ROW;

namespace zuvexal {

// One query's rows read through MariaDB's C client on the connection QMYSQL
// opened (its character set, UTF-8, and its options). Rows stream from the
// server as they are read (mysql_use_result); each text goes straight into
// the builder's typed columns as the value QMYSQL would have made of it, on
// the common forms without a QVariant and without a time zone lookup.
class MariaDbReader final : public NativeReader
{
public:
    // The client handle of an open QMYSQL database, else nullptr.
    static MYSQL *handleOf(const QSqlDatabase &db);

    explicit MariaDbReader(MYSQL *connection);
    ~MariaDbReader() override;

    // Sends sql and starts reading its result.
    bool start(const QString &sql);
    bool returnsRows() const { return m_result != nullptr; }
    // The columns as QMYSQL describes them.
    QSqlRecord record() const override;
    // Whether the server went away or the connection was lost.
    bool connectionLost() const;

private:
    std::optional<Fetched> fetch() override;
    bool appendRow(RecordSetBuilder &builder, qsizetype row) override;
    QString messages() const override;

    MYSQL *m_connection;
    MYSQL_RES *m_result = nullptr;
    MYSQL_ROW m_row = nullptr;
    const unsigned long *m_lengths = nullptr;
    TextCells m_cells;
};

} // namespace zuvexal
