#include "core/filedialog/paths.h"

#include "core/control/shared.h"
#include "platform/clock.h"
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <dlfcn.h>

namespace zuvexal {

QString FileTypeFilter(qint16 FileType)
{
    static const std::array<const char *, 8> patterns = {
        "*.*",
        "*.txt;*.rtf;*.lin;*.wp;*.doc;*.ppt;*.pdf;*.ps;*.xls;*.eml",
        "*.bmp;*.gif;*.jpeg;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.pcx;*.pct;*.xbm;*.tiff",
        "*.exe;*.com;*.bat;*.bin",
        "*.dll;*.tbl;*.ocx",
        "*.html;*.htm;*.eml;*.asp;*.mht;*.hcx;*.alx;*.idc;*.cfm;*.chm;*.php",
        "*.rmi;*.midi;*.mid;*.wav;*.mp3;*.au",
        "*.avi;*.dat;*.mov;*.mpeg;*.mpg;*.mvp;*.vbs;*.mpa;*.mp2;*.aif;*.qt",
    };
    if (FileType < 0 || FileType >= qint16(patterns.size()))
        return QString::fromLatin1(patterns[0]);
    return QString::fromLatin1(patterns[size_t(FileType)]);
}

void SetAppFolder()
{
    // The file that holds this very function: the shared library when the
    // component is loaded as one, else the executable.
    QString folder;
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void *>(&SetAppFolder), &info) && info.dli_fname)
        folder = QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    shared().AppFolder = folder;
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

void WaitSeconds(qint32 N)
{
    platform::Clock &clock = platform::clock();
    using namespace std::chrono;
    const seconds wait(std::clamp<qint32>(N, 1, 86399));
    const auto start = clock.now();
    for (auto elapsed = clock.now() - start; elapsed < wait; elapsed = clock.now() - start)
        clock.sleepFor(std::min<milliseconds>(duration_cast<milliseconds>(wait - elapsed) + 1ms, 100ms));
}

QStringList GetFontNames(const QStringList &families)
{
    return families.mid(0, 513);
}

QStringList GetFontNames()
{
    return GetFontNames(platform::fontFamilies());
}

} // namespace zuvexal
