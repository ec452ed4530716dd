// The message log: an entry made from an organisation, a message and a time
// (the input's three NUL-separated parts, the time as milliseconds since
// 1970) is appended to a fresh log, which must then hold exactly that entry
// as one quoted record. When a fourth part is present the log is first made
// larger than the roll-over limit, and the old content must move to the
// dated file.
#include "fuzzsupport.h"

#include "core/control/messagelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace zuvexal;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication(fuzz::Application::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<QByteArrayView> parts = fuzz::splitInput(data, size, 4);
    const QString organisation = fuzz::textOf(parts[0]);
    const QString message = fuzz::textOf(parts[1]);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(parts[2].toByteArray().toLongLong());
    const bool full = !parts[3].isEmpty();

    const QString entry = logEntryText(organisation, message, now);
    fuzz::require(entry.contains(message), "the entry carries the message as it is", entry);

    QTemporaryDir folder;
    const QString application = folder.path() + u'/';
    const QString log = logFilePath(application);
    if (full) {
        QDir().mkpath(QFileInfo(log).path());
        QFile big(log);
        if (!big.open(QIODevice::WriteOnly) || !big.resize(LogSizeLimit + 1))
            fuzz::fail("making a full log");
    }
    fuzz::require(appendLogEntry(application, entry), "appending to a fresh log succeeds", log);
    fuzz::require(readAll(log) == '"' + entry.toUtf8() + "\"\r\n", "the log holds the entry as one record", entry);
    if (full) {
        const QStringList dated = QDir(QFileInfo(log).path()).entryList({QStringLiteral("ZuMessages_Of_*.htm")});
        fuzz::require(dated.size() == 1 && QFileInfo(QFileInfo(log).path() + u'/' + dated[0]).size() == LogSizeLimit + 1,
                      "a full log moves whole to its dated file", dated.join(u' '));
    }
    return 0;
}
