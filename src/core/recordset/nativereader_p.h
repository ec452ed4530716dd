#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// record set loaders share it; it may change with any version, without
// notice.
//

#include "columntypes.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <optional>

namespace zuvexal {

class RecordSetBuilder;

// The client library's own handle a QtSql driver or result hands out
// (handle()), when its type is typeName, else nullptr.
template <typename Handle>
Handle *handleIn(const QVariant &handle, const char *typeName)
{
    if (!handle.isValid() || qstrcmp(handle.typeName(), typeName) != 0)
        return nullptr;
    return *static_cast<Handle *const *>(handle.constData());
}

// The handle of an open database whose driver is of kind.
template <typename Handle>
Handle *driverHandle(const QSqlDatabase &db, SqlDriverKind kind, const char *typeName)
{
    if (!db.isOpen() || !db.driver() || sqlDriverKind(db.driverName()) != kind)
        return nullptr;
    return handleIn<Handle>(db.driver()->handle(), typeName);
}

// Reads a statement's rows through a server's client library, on the
// connection a QtSql driver opened, into a RecordSetBuilder. The loop and
// the wording of failures are here; a reader fetches rows its own way and
// fills the builder's columns from one of them.
class NativeReader
{
public:
    virtual ~NativeReader();
    NativeReader(const NativeReader &) = delete;
    NativeReader &operator=(const NativeReader &) = delete;

    // The columns as the QtSql driver describes them.
    virtual QSqlRecord record() const = 0;
    // Every row into builder, whose columns are record()'s.
    bool read(RecordSetBuilder &builder);
    // As the QtSql driver words a failure: the client's messages, then the
    // driver and the step that failed.
    const QString &error() const { return m_error; }

protected:
    // driver: the QtSql driver's name, as its messages give it.
    explicit NativeReader(const char *driver);

    // What one fetch brought: its rows, and whether another fetch may bring more.
    struct Fetched
    {
        qsizetype rows = 0;
        bool more = false;
    };

    // Once, before the first fetch.
    virtual void begin(const RecordSetBuilder &builder);
    // The next rows; nothing after fail().
    virtual std::optional<Fetched> fetch() = 0;
    // Row row of the last fetch into the builder; false after fail().
    virtual bool appendRow(RecordSetBuilder &builder, qsizetype row) = 0;
    // What the client says of the last failure.
    virtual QString messages() const = 0;

    void fail(const char *step);
    void fail(const QString &messages, const char *step);

private:
    const char *m_driver;
    QString m_error;
};

} // namespace zuvexal
