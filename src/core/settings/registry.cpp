#include "core/settings/registry.h"

#include "core/base/values_p.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <sqlite3.h>

namespace zuvexal {

namespace {

constexpr int BusyTimeoutMs = 30000;

const char *const RegistrySchema =
    "CREATE TABLE IF NOT EXISTS keys("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE, class TEXT NOT NULL,"
    " PRIMARY KEY(root, path));"
    "CREATE TABLE IF NOT EXISTS vals("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY(root, path, name));";

bool isPermissionError(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM
        || primary == SQLITE_AUTH;
}

// One connection for the length of one operation.
class Connection
{
public:
    Connection(const QString &path, bool forWriting)
    {
        if (forWriting) {
            const QString folder = QFileInfo(path).absolutePath();
            QDir().mkpath(folder);
        } else if (!QFileInfo::exists(path)) {
            m_code = SQLITE_CANTOPEN;
            return;
        }
        // A reader that may write opens for writing too: a writer killed
        // mid-transaction leaves a hot journal that only a writable
        // connection can roll back, and a read-only one then reads nothing.
        const int flags = forWriting                        ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
            : QFileInfo(path).isWritable() ? SQLITE_OPEN_READWRITE
                                           : SQLITE_OPEN_READONLY;
        m_code = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (m_code == SQLITE_OK)
            sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    }
    ~Connection()
    {
        if (m_inTransaction)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(m_db);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool ok() const { return m_code == SQLITE_OK; }
    int code() const { return m_code; }

    bool exec(const char *sql)
    {
        if (ok())
            m_code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
        return ok();
    }
    bool begin()
    {
        m_inTransaction = exec("BEGIN IMMEDIATE") && exec(RegistrySchema);
        return m_inTransaction;
    }
    bool commit()
    {
        if (exec("COMMIT"))
            m_inTransaction = false;
        return ok();
    }
    sqlite3 *handle() const { return m_db; }
    void fail(int code) { m_code = code; }

private:
    sqlite3 *m_db = nullptr;
    int m_code = SQLITE_OK;
    bool m_inTransaction = false;
};

// A prepared statement with text and integer parameters bound in order.
class Statement
{
public:
    Statement(Connection &connection, const char *sql) : m_connection(connection)
    {
        if (connection.ok()) {
            const int code = sqlite3_prepare_v2(connection.handle(), sql, -1, &m_stmt, nullptr);
            if (code != SQLITE_OK)
                connection.fail(code);
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, ++m_index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(qint64 number)
    {
        sqlite3_bind_int64(m_stmt, ++m_index, number);
        return *this;
    }
    Statement &bindBlob(const QByteArray &data)
    {
        sqlite3_bind_blob(m_stmt, ++m_index, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True when a row is ready; false at the end or on failure.
    bool step()
    {
        if (!m_stmt)
            return false;
        const int code = sqlite3_step(m_stmt);
        if (code != SQLITE_ROW && code != SQLITE_DONE)
            m_connection.fail(code);
        return code == SQLITE_ROW;
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QByteArray blob(int column) const
    {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QByteArray(data, sqlite3_column_bytes(m_stmt, column));
    }
    QString text(int column) const { return QString::fromUtf8(blob(column)); }

private:
    Connection &m_connection;
    sqlite3_stmt *m_stmt = nullptr;
    int m_index = 0;
};

RegistryFile::Result resultOf(const Connection &connection)
{
    if (connection.ok())
        return RegistryFile::Result::Ok;
    return isPermissionError(connection.code()) ? RegistryFile::Result::NotWritable
                                                : RegistryFile::Result::Failed;
}

} // namespace

RegistryFile::Result RegistryFile::createKey(quint32 root, const QString &keyPath,
                                             const QString &className) const
{
    Connection db(m_path, true);
    if (db.begin()) {
        Statement(db, "INSERT OR IGNORE INTO keys(root, path, class) VALUES(?, ?, ?)")
            .bind(root).bind(keyPath).bind(className).step();
        db.commit();
    }
    return resultOf(db);
}

RegistryFile::Result RegistryFile::setValue(quint32 root, const QString &keyPath,
                                            const QString &valueName, const RegistryValue &value) const
{
    Connection db(m_path, true);
    if (db.begin()) {
        bool keyExists = false;
        {
            Statement find(db, "SELECT 1 FROM keys WHERE root = ? AND path = ?");
            keyExists = find.bind(root).bind(keyPath).step();
        }
        if (!keyExists && db.ok())
            return Result::Failed;
        Statement(db, "INSERT OR REPLACE INTO vals(root, path, name, type, data) VALUES(?, ?, ?, ?, ?)")
            .bind(root).bind(keyPath).bind(valueName).bind(value.type).bindBlob(value.data).step();
        db.commit();
    }
    return resultOf(db);
}

std::optional<RegistryValue> RegistryFile::value(quint32 root, const QString &keyPath,
                                                 const QString &valueName) const
{
    Connection db(m_path, false);
    Statement query(db, "SELECT type, data FROM vals WHERE root = ? AND path = ? AND name = ?");
    if (!query.bind(root).bind(keyPath).bind(valueName).step())
        return std::nullopt;
    return RegistryValue{int(query.integer(0)), query.blob(1)};
}

std::optional<QString> RegistryFile::keyClass(quint32 root, const QString &keyPath) const
{
    Connection db(m_path, false);
    Statement query(db, "SELECT class FROM keys WHERE root = ? AND path = ?");
    if (!query.bind(root).bind(keyPath).step())
        return std::nullopt;
    return query.text(0);
}

Registry::Registry(QString machineFile, QString userOverlayFile)
    : m_machine(std::move(machineFile))
{
    if (!userOverlayFile.isEmpty())
        m_overlay.emplace(std::move(userOverlayFile));
}

Registry Registry::fromEnvironment()
{
    const QString explicitFile = qEnvironmentVariable("ZUVEXAL_REGISTRY");
    if (!explicitFile.isEmpty())
        return Registry(explicitFile, QString());
    return Registry(QStringLiteral("/var/lib/zuvexal/registry.db"),
                    QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                        + QStringLiteral("/zuvexal/registry.db"));
}

template <typename Op>
bool Registry::write(Op op) const
{
    // As Windows redirects writes of programs without rights to a per-user
    // store, a machine file that cannot be written sends the write to the
    // overlay.
    const RegistryFile::Result result = op(m_machine);
    if (result == RegistryFile::Result::NotWritable && m_overlay)
        return op(*m_overlay) == RegistryFile::Result::Ok;
    return result == RegistryFile::Result::Ok;
}

bool Registry::createKey(quint32 root, const QString &keyPath, const QString &className) const
{
    return write([&](const RegistryFile &file) { return file.createKey(root, keyPath, className); });
}

bool Registry::setValue(quint32 root, const QString &keyPath, const QString &valueName,
                        const RegistryValue &value) const
{
    return write([&](const RegistryFile &file) {
        // The overlay may not hold the key yet when the machine file does.
        if (&file != &m_machine)
            file.createKey(root, keyPath, QString::number(value.type));
        return file.setValue(root, keyPath, valueName, value);
    });
}

std::optional<RegistryValue> Registry::value(quint32 root, const QString &keyPath,
                                             const QString &valueName) const
{
    if (m_overlay) {
        if (auto found = m_overlay->value(root, keyPath, valueName))
            return found;
    }
    return m_machine.value(root, keyPath, valueName);
}

bool SaveRegSetting(const Registry &registry, const QString &Text, const QString &Name)
{
    const QString keyPath = BaseKeyPath + QLatin1Char('\\') + Name;
    return WriteRegValue(registry, keyPath, REG_SZ, keyPath, Text);
}

bool WriteRegValue(const Registry &registry, const QString &RegKeyPath, int ValueType, const QString &KeyPath,
                   const QVariant &Value)
{
    if (!registry.createKey(HKEY_LOCAL_MACHINE, RegKeyPath, QString::number(ValueType)))
        return false;
    RegistryValue value{ValueType, {}};
    if (ValueType == REG_SZ) {
        value.data = Value.toString().toUtf8();
    } else if (ValueType == REG_DWORD) {
        bool ok = false;
        const qint32 number = Value.toInt(&ok);
        if (!ok)
            return false;
        value.data.resize(4);
        qToLittleEndian(number, value.data.data());
    } else {
        return true;
    }
    return registry.setValue(HKEY_LOCAL_MACHINE, RegKeyPath, KeyPath, value);
}

QString ReadRegSetting(const Registry &registry, quint32 RootKey, const QString &KeyPath, const QString &Name)
{
    const std::optional<RegistryValue> stored =
        registry.value(RootKey, KeyPath + QLatin1Char('\\') + Name, KeyPath + QLatin1Char('\\') + Name);
    QString text;
    if (stored && stored->type == REG_SZ) {
        QByteArray data = stored->data;
        if (data.endsWith('\0'))
            data.chop(1);
        text = trimBlanks(QString::fromUtf8(data));
    }
    return text;
}

} // namespace zuvexal
