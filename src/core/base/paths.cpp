#include "core/base/paths.h"

#include "core/base/sharedvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zuvexal {

void SetAppFolder(SharedValues &values)
{
    QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (folder.isEmpty() && QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    values.AppFolder = folder;
}

QString FileNamePart(const QString &Path)
{
    const qsizetype slash = Path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return Path;
    return Path.mid(slash + 1).toUpper();
}

QString ShortPathName(const QString &Path)
{
    if (Path.isEmpty() || !QFileInfo::exists(Path))
        return {};
    return Path;
}

QString PathFolder(const QString &Path)
{
    return Path.left(Path.lastIndexOf(QLatin1Char('/')) + 1);
}

namespace {

// The name under which `part` is stored in `folder`, or empty text.
QString storedName(const QString &folder, const QString &part)
{
    if (part == QLatin1String(".") || part == QLatin1String(".."))
        return part;
    const QString base = folder.isEmpty() ? QStringLiteral("./") : folder;
    if (QFileInfo(base + part).exists() || QFileInfo(base + part).isSymLink())
        return part;
    const QStringList entries =
        QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const QString &entry) {
        return entry.compare(part, Qt::CaseInsensitive) == 0;
    });
    return found == entries.end() ? QString() : *found;
}

} // namespace

QString LongPathName(const QString &Path)
{
    if (Path.isEmpty())
        return {};
    QString result = Path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    const QStringList parts = Path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        result += storedName(result, parts[i]);
        if (i + 1 < parts.size() || Path.endsWith(QLatin1Char('/')))
            result += QLatin1Char('/');
    }
    return result;
}

} // namespace zuvexal
