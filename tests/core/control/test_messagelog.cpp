#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/messagelog.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace zuvexal;
using zuvexal::test::TempFolder;

namespace {

// A host object that offers the text-box members by their published names.
class HostTextBox : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Locked MEMBER Locked)
    Q_PROPERTY(bool Enabled MEMBER Enabled)
    Q_PROPERTY(bool Visible MEMBER Visible)
    Q_PROPERTY(QString SelText READ selText WRITE setSelText)

public:
    bool Locked = true;
    bool Enabled = false;
    bool Visible = false;
    QString inserted;
    int focused = 0;
    QString selText() const { return {}; }
    // What the control sees while it inserts: unlocked and enabled.
    void setSelText(const QString &text)
    {
        inserted += text;
        unlockedWhileInserting = !Locked && Enabled;
    }
    bool unlockedWhileInserting = false;

    Q_INVOKABLE void SetFocus() { ++focused; }
};

QStringList logLines(const QString &path)
{
    const QString text = QString::fromUtf8(test::readAll(path));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

void fillTo(const QString &path, qint64 size)
{
    test::writeAll(path, QByteArray(size, 'x'));
}

} // namespace

TEST(MessageLog, EntryIsOneQuotedHtmlLine)
{
    // The general date-and-time format of the locale in force.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime at(QDate(2004, 3, 7), QTime(14, 5, 9));
    EXPECT_EQ(logEntryText(QStringLiteral("ACME"), QStringLiteral("<b>Backup done</b>"), at),
              QStringLiteral("<HTML><HEAD><TITLE>ACME : Appended ZuVexal Message Log </TITLE></HEAD><BODY>"
                             "<H2> At 3/7/04 2:05:09 PM </H2><P> <b>Backup done</b> </P></BODY></HTML>"));

    TempFolder folder;
    ZuVexal control;
    QString app = folder.path();
    control.setApplicationPath(app);
    contextOf(control).values.OrganisationName = QStringLiteral("ACME");
    control.LogMessage(QStringLiteral("first"));
    control.LogMessage(42);
    const QStringList lines = logLines(logFilePath(folder.path()));
    ASSERT_EQ(lines.size(), 2) << "Reports and Reports/Log are created on the first call";
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"<HTML><HEAD><TITLE>ACME : Appended")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("<P> first </P></BODY></HTML>\"")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("<P> 42 </P></BODY></HTML>\"")));
    QLocale::setDefault(QLocale::c());
}

TEST(MessageLog, RollsOverOnlyAboveTheLimitAndKeepsEarlierRollOvers)
{
    TempFolder folder;
    const QString log = logFilePath(folder.path());
    QDir().mkpath(QFileInfo(log).path());
    const QDateTime modified(QDate(2004, 3, 7), QTime(10, 0));
    const QString dated = QFileInfo(log).path() + QStringLiteral("/ZuMessages_Of_3_7_2004.htm");

    fillTo(log, LogSizeLimit);
    ASSERT_TRUE(appendLogEntry(folder.path(), QStringLiteral("kept")));
    EXPECT_GT(QFileInfo(log).size(), LogSizeLimit) << "exactly at the limit is appended to";
    EXPECT_FALSE(QFileInfo::exists(dated));

    // The log now exceeds the limit: it moves to the dated name.
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    const qint64 firstSize = QFileInfo(log).size();
    ASSERT_TRUE(appendLogEntry(folder.path(), QStringLiteral("after")));
    EXPECT_EQ(QFileInfo(dated).size(), firstSize);
    EXPECT_EQ(logLines(log), QStringList{QStringLiteral("\"after\"")});

    // A second roll-over on the same day adds to the dated file.
    fillTo(log, LogSizeLimit + 1);
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(appendLogEntry(folder.path(), QStringLiteral("third")));
    EXPECT_EQ(QFileInfo(dated).size(), firstSize + LogSizeLimit + 1) << "both rolled-over logs are kept";
    EXPECT_EQ(logLines(log), QStringList{QStringLiteral("\"third\"")});
}

TEST(MessageLog, ConcurrentProcessesLoseAndTearNothing)
{
    TempFolder folder;
    constexpr int processes = 8;
    constexpr int entries = 2000;
    const QString padding(180, QLatin1Char('.'));
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int e = 0; e < entries; ++e)
                ok = appendLogEntry(folder.path(), QStringLiteral("%1:%2:").arg(p).arg(e) + padding) && ok;
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // 16,000 entries of ~190 bytes cross the limit twice.
    const QDir logFolder(QFileInfo(logFilePath(folder.path())).path());
    const QStringList files = logFolder.entryList({QStringLiteral("ZuMessages*.htm")}, QDir::Files);
    EXPECT_EQ(files.size(), 2) << files.join(u',').toStdString();
    QSet<QString> seen;
    for (const QString &file : files) {
        for (const QString &line : logLines(logFolder.filePath(file))) {
            ASSERT_TRUE(line.startsWith(QLatin1Char('"')) && line.endsWith(padding + QLatin1Char('"')))
                << "torn entry in " << file.toStdString();
            seen.insert(line);
        }
    }
    EXPECT_EQ(seen.size(), processes * entries);
}

TEST(MessageLog, TextBoxReceivesTheMessageAndKeepsItsState)
{
    TempFolder folder;
    ZuVexal control;
    QString app = folder.path();
    control.setApplicationPath(app);

    HostTextBox hidden;
    control.LogMessage(QStringLiteral("<i>note</i>"), &hidden);
    EXPECT_EQ(hidden.inserted, QStringLiteral("\n<i>note</i>")) << "on a new line, markup as it is";
    EXPECT_TRUE(hidden.unlockedWhileInserting);
    EXPECT_TRUE(hidden.Locked) << "locked again afterwards";
    EXPECT_FALSE(hidden.Enabled) << "disabled again afterwards";
    EXPECT_EQ(hidden.focused, 0) << "an invisible box is not focused";

    HostTextBox shown;
    shown.Visible = true;
    control.LogMessage(QStringLiteral("seen"), &shown);
    EXPECT_EQ(shown.focused, 1);
    EXPECT_EQ(shown.inserted, QStringLiteral("\nseen"));

    // An object without any text-box member loses only those steps.
    QObject plain;
    control.LogMessage(QStringLiteral("file only"), &plain);
    EXPECT_EQ(logLines(logFilePath(folder.path())).size(), 3);
}

#include "test_messagelog.moc"
