#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zuvexal::fuzz {

void startApplication(Application kind)
{
    if (QCoreApplication::instance())
        return;
    // A private runtime folder so that Qt does not warn at every start; a
    // fuzzer starts no other program that could inherit it.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(getuid());
        if (mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
    // Qt keeps references to argc and argv for the life of the application;
    // fonts and page layout without a display.
    static int argc = 3;
    static char name[] = "zuvexal-fuzz";
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char *argv[] = {name, platformOption, offscreen, nullptr};
    // Never destroyed: it stays QCoreApplication::instance() to the end of
    // the process, as destroying it after main() would race Qt's own
    // global objects.
    if (kind == Application::Gui)
        new QGuiApplication(argc, argv);
    else
        new QCoreApplication(argc, argv);
    QLocale::setDefault(QLocale::c());
}

std::vector<QByteArrayView> splitInput(const uint8_t *data, size_t size, size_t count)
{
    std::vector<QByteArrayView> parts;
    QByteArrayView rest(data, qsizetype(size));
    while (parts.size() + 1 < count) {
        const qsizetype nul = rest.indexOf('\0');
        if (nul < 0)
            break;
        parts.push_back(rest.first(nul));
        rest = rest.sliced(nul + 1);
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

void fail(const char *invariant, const QString &detail)
{
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toUtf8().constData());
    std::abort();
}

} // namespace zuvexal::fuzz
