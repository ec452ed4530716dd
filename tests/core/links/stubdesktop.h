#pragma once

#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <memory>
#include <vector>

namespace zuvexal::test {

// Programs registered the freedesktop way in private XDG folders: a browser
// named "chromium" (so it gets a new-window option) whose entry carries
// flags of its own, as real entries do, a mail program, and an entry whose
// program does not exist. Each program records its name and arguments, one
// call per block, into calls.txt.
class StubDesktop
{
public:
    // The flags the browser's desktop entry passes before the address.
    static inline const QStringList BrowserFlags{QStringLiteral("--no-sandbox"), QStringLiteral("--class=zv")};

    StubDesktop()
    {
        const QString bin = m_root.file(QStringLiteral("bin/"));
        const QString apps = m_root.file(QStringLiteral("data/applications/"));
        QDir().mkpath(bin);
        QDir().mkpath(apps);
        QDir().mkpath(m_root.file(QStringLiteral("config")));
        const QByteArray recorder = "#!/bin/sh\n"
                                    "{ printf 'program:%s\\n' \"$(basename \"$0\")\"\n"
                                    "  for a in \"$@\"; do printf 'arg:%s\\n' \"$a\"; done\n"
                                    "  printf 'end\\n'; } >> \"" + callsFile().toUtf8() + "\"\n";
        for (const char *name : {"chromium", "mailer"}) {
            const QString program = bin + QString::fromLatin1(name);
            writeAll(program, recorder);
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        writeAll(apps + QStringLiteral("zv-browser.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Stub browser\nExec=" + bin.toUtf8() + "chromium "
                     + BrowserFlags.join(u' ').toUtf8()
                     + " %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n");
        writeAll(apps + QStringLiteral("zv-mail.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Stub mail\nExec=" + bin.toUtf8()
                     + "mailer %u\nMimeType=x-scheme-handler/mailto;\n");
        writeAll(apps + QStringLiteral("zv-missing.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Gone\nExec=" + bin.toUtf8() + "gone %u\n");
        writeAll(m_root.file(QStringLiteral("config/mimeapps.list")),
                 "[Default Applications]\ntext/html=zv-browser.desktop\n"
                 "x-scheme-handler/http=zv-browser.desktop\nx-scheme-handler/https=zv-browser.desktop\n"
                 "x-scheme-handler/mailto=zv-mail.desktop\n");
        qputenv("XDG_DATA_HOME", m_root.file(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_root.file(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", "/usr/share");
    }

    QString callsFile() const { return m_root.file(QStringLiteral("calls.txt")); }
    void forgetCalls() const { QFile::remove(callsFile()); }

    struct Call
    {
        QString program;
        QStringList args;
    };

    // Waits (bounded) until `count` calls were recorded, then returns them all.
    std::vector<Call> calls(int count) const
    {
        QElapsedTimer clock;
        clock.start();
        std::vector<Call> result;
        do {
            result.clear();
            const QByteArray recorded = readAll(callsFile());
            for (const QString &line : QString::fromUtf8(recorded).split(QLatin1Char('\n'))) {
                if (line.startsWith(QLatin1String("program:")))
                    result.push_back({line.mid(8), {}});
                else if (line.startsWith(QLatin1String("arg:")) && !result.empty())
                    result.back().args << line.mid(4);
            }
            if (int(result.size()) >= count && recorded.count("end\n") >= count)
                break;
            QThread::msleep(20);
        } while (clock.elapsed() < 10000);
        return result;
    }

private:
    TempFolder m_root;
};

} // namespace zuvexal::test
