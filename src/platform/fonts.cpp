#include "platform/fonts.h"

#include <QFontDatabase>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zuvexal::platform {

QStringList fontFamilies()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    return QFontDatabase::families();
}

} // namespace zuvexal::platform

namespace zuvexal::platform {

void prepareHeadlessGui()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The folder Qt would pick anyway, made so that Qt does not warn about it.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(getuid());
        if (mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
}

} // namespace zuvexal::platform

namespace zuvexal {

QStringList GetFontNames(const QStringList &families)
{
    return families.mid(0, 513);
}

QStringList GetFontNames()
{
    return GetFontNames(platform::fontFamilies());
}

} // namespace zuvexal
