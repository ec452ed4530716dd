// Report pages on file systems where a page cannot be made whole before it
// is named: FUSE (bindfs) has no unnamed files, so the page is written
// under a hidden temporary name and linked into place; FAT has neither
// unnamed files nor links, so the page is appended section by section.
// Each needs something of the machine; a file system it lacks is skipped
// with the reason.
#include "core/base/quotedrecord.h"

#include "reportfixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

using namespace zuvexal;
using zuvexal::test::ReportTest;
using zuvexal::test::makeOrders;

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A folder on another file system for as long as it lives, or the reason
// why there is none.
class Mount
{
public:
    Mount(const QString &kind, const test::TempFolder &scratch) : m_point(scratch.file(kind + QStringLiteral("-mnt")))
    {
        QDir().mkpath(m_point);
        if (kind == QLatin1String("bindfs")) {
            const QString bindfs = QStandardPaths::findExecutable(QStringLiteral("bindfs"));
            if (bindfs.isEmpty() || !QFileInfo::exists(QStringLiteral("/dev/fuse"))) {
                m_why = QStringLiteral("bindfs or /dev/fuse is missing");
                return;
            }
            const QString source = scratch.file(QStringLiteral("bindfs-src"));
            QDir().mkpath(source);
            if (!run(bindfs, {source, m_point}))
                m_why = QStringLiteral("bindfs could not mount");
            else
                m_unmount = {QStringLiteral("fusermount"), {QStringLiteral("-u"), m_point}};
        } else {
            const QString mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"),
                                                                {QStringLiteral("/sbin"), QStringLiteral("/usr/sbin")});
            if (::geteuid() != 0 || mkfs.isEmpty()) {
                m_why = QStringLiteral("mounting a FAT image needs root and mkfs.vfat (dosfstools)");
                return;
            }
            const QString image = scratch.file(QStringLiteral("fat.img"));
            QFile file(image);
            if (!file.open(QIODevice::WriteOnly) || !file.resize(16 << 20)) {
                m_why = QStringLiteral("no room for the image");
                return;
            }
            file.close();
            if (!run(mkfs, {image}) || !run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image, m_point}))
                m_why = QStringLiteral("this kernel cannot mount a FAT image");
            else
                m_unmount = {QStringLiteral("umount"), {m_point}};
        }
    }
    ~Mount()
    {
        if (!m_unmount.first.isEmpty())
            run(m_unmount.first, m_unmount.second);
    }
    bool mounted() const { return m_why.isEmpty(); }
    const QString &why() const { return m_why; }
    QString folder() const { return m_point + QLatin1Char('/'); }

private:
    QString m_point;
    QString m_why;
    std::pair<QString, QStringList> m_unmount;
};

} // namespace

TEST_F(ReportTest, PagesComeOutTheSameWhereTheyCannotBeMadeBeforeTheyAreNamed)
{
    RecordSetPtr records = makeOrders(23);
    control->setMaxRecsPerPage(10);
    ReportChoices noDate;
    noDate.insertDate = false;
    control->setReportChoices(noDate);
    ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("fs"), {}, ZuVexal::rNoNo));
    const QString reference = folder.file(QStringLiteral("Reports/"));

    QStringList skipped;
    int checked = 0;
    for (const QString &kind : {QStringLiteral("bindfs"), QStringLiteral("vfat")}) {
        test::TempFolder scratch;
        const Mount mount(kind, scratch);
        if (!mount.mounted()) {
            skipped << kind + QStringLiteral(": ") + mount.why();
            continue;
        }
        ++checked;
        // Whole at once where links are to be had, else the caller appends.
        const std::vector<QByteArrayView> sections{"one", "two"};
        ASSERT_TRUE(writeQuotedRecordsAtOnce(folder.file(QStringLiteral("whole.htm")), sections));
        EXPECT_EQ(writeQuotedRecordsAtOnce(mount.folder() + QStringLiteral("whole.htm"), sections),
                  kind == QLatin1String("bindfs")) << kind.toStdString();
        if (kind == QLatin1String("bindfs")) {
            EXPECT_EQ(test::readAll(mount.folder() + QStringLiteral("whole.htm")),
                      test::readAll(folder.file(QStringLiteral("whole.htm"))));
        }
        shared().AppFolder = mount.folder();
        records = makeOrders(23);
        ASSERT_TRUE(control->AutoZuReporter(records, {}, nullptr, QStringLiteral("fs"), {}, ZuVexal::rNoNo))
            << kind.toStdString();
        const QDir reports(mount.folder() + QStringLiteral("Reports"));
        EXPECT_EQ(reports.entryList(QDir::Files | QDir::Hidden),
                  (QStringList{QStringLiteral("fs1.htm"), QStringLiteral("fs2.htm"), QStringLiteral("fs3.htm")}))
            << kind.toStdString() << ": no temporary file stays behind";
        for (const QString &page : reports.entryList(QDir::Files)) {
            EXPECT_EQ(test::readAll(reports.filePath(page)), test::readAll(reference + page))
                << kind.toStdString() << " " << page.toStdString();
        }
    }
    for (const QString &reason : std::as_const(skipped))
        std::printf("skipped %s\n", qPrintable(reason));
    if (checked == 0)
        GTEST_SKIP() << skipped.join(QStringLiteral("; ")).toStdString();
}
