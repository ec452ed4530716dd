#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// A registry of keys and values kept in a SQLite file, with the layout of the
// Windows registry: a key has a path (under a root key) and a class string;
// a value has a name, a type and data. Every operation opens the file, works
// in one transaction and closes it, so several processes can share the file.
namespace zuvexal {

inline constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr int REG_SZ = 1;
inline constexpr int REG_DWORD = 4;

// The key under which the control keeps its settings.
inline const QString BaseKeyPath = QStringLiteral("Software\\QUORVANE\\QUORVANEVEXAL200");

struct RegistryValue
{
    int type = REG_SZ;
    QByteArray data;
};

class RegistryFile
{
public:
    explicit RegistryFile(QString path) : m_path(std::move(path)) {}
    const QString &path() const { return m_path; }

    enum class Result { Ok, NotWritable, Failed };
    // Creates the key, or opens it when it exists (its class stays).
    Result createKey(quint32 root, const QString &keyPath, const QString &className) const;
    Result setValue(quint32 root, const QString &keyPath, const QString &valueName,
                    const RegistryValue &value) const;
    std::optional<RegistryValue> value(quint32 root, const QString &keyPath,
                                       const QString &valueName) const;
    std::optional<QString> keyClass(quint32 root, const QString &keyPath) const;

private:
    QString m_path;
};

// The machine-wide registry file and, where that cannot be written, a
// per-user overlay that takes the writes and is read first.
class Registry
{
public:
    Registry(QString machineFile, QString userOverlayFile);

    // $ZUVEXAL_REGISTRY when set (no overlay), else the machine-wide file
    // /var/lib/zuvexal/registry.db with $XDG_DATA_HOME/zuvexal/registry.db
    // as the overlay.
    static Registry fromEnvironment();

    bool createKey(quint32 root, const QString &keyPath, const QString &className) const;
    bool setValue(quint32 root, const QString &keyPath, const QString &valueName,
                  const RegistryValue &value) const;
    std::optional<RegistryValue> value(quint32 root, const QString &keyPath,
                                       const QString &valueName) const;

    const RegistryFile &machineFile() const { return m_machine; }

private:
    template <typename Op>
    bool write(Op op) const;

    RegistryFile m_machine;
    std::optional<RegistryFile> m_overlay;
};

// Stores Text under BaseKeyPath\Name: the key BaseKeyPath\Name holds one
// value whose name is that full key path. True when written.
bool SaveRegSetting(const Registry &registry, const QString &Text, const QString &Name);

// Creates or opens the key RegKeyPath under HKEY_LOCAL_MACHINE (class: the
// decimal value type) and writes a value named KeyPath: type 1 text (UTF-8),
// 4 a 32-bit number; any other type writes nothing and gives true once the
// key exists.
bool WriteRegValue(const Registry &registry, const QString &RegKeyPath, int ValueType, const QString &KeyPath,
                   const QVariant &Value);

// The text stored under RootKey\KeyPath\Name (value name KeyPath\Name),
// trimmed of spaces; empty when missing. A terminating zero byte stored by
// another writer is dropped. Texts of any length read back whole.
QString ReadRegSetting(const Registry &registry, quint32 RootKey, const QString &KeyPath, const QString &Name);

} // namespace zuvexal
