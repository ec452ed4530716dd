#pragma once

#include "nativereader_p.h"
#include "textcells.h"

#include <string>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace zuvexal {

// One query's rows read through libpq on the connection QPSQL opened, so
// the session is QPSQL's (ISO dates, UTF-8, bytea in escape form). Rows
// stream one at a time; each text goes straight into the builder's typed
// columns as the value QPSQL would have made of it, on the common forms
// without a QVariant and without a time zone lookup per value.
class PostgresReader final : public NativeReader
{
public:
    // The libpq connection of an open QPSQL database, else nullptr.
    static PGconn *handleOf(const QSqlDatabase &db);

    explicit PostgresReader(PGconn *connection);
    ~PostgresReader() override;

    // Sends sql and waits for the first row or the result.
    bool start(const QString &sql);
    bool returnsRows() const;
    // The columns as QPSQL describes them.
    QSqlRecord record() const override;
    // Whether the server went away or cut the connection.
    bool connectionLost() const;

private:
    std::optional<Fetched> fetch() override;
    bool appendRow(RecordSetBuilder &builder, qsizetype row) override;
    QString messages() const override;
    void appendBytea(RecordSetBuilder &builder, int column, const char *text, int size);

    PGconn *m_connection;
    PGresult *m_result = nullptr;
    // Whether m_result's rows went into the builder, so the next fetch
    // takes the next result.
    bool m_resultRead = false;
    TextCells m_cells;
    std::string m_bytes;
};

} // namespace zuvexal
