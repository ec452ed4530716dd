#include "core/base/quotedrecord.h"
#include "core/reporter/printing.h"

#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cups/cups.h>

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// A page as the report writer leaves it: quoted records of HTML, with a
// picture beside the page named by a relative source.
QString writePage(const test::TempFolder &folder)
{
    QFile::copy(QStringLiteral(ZUVEXAL_SOURCE_DIR "/examples/pictures/gear.bmp"), folder.file(QStringLiteral("gear.bmp")));
    const QString page = folder.file(QStringLiteral("orders1.htm"));
    QuotedRecordWriter writer(page);
    for (const char *record : {"<HTML><HEAD><TITLE>Orders</TITLE></HEAD><BODY>",
                               "<TABLE BORDER=1><TR><TH>Customer</TH><TH>Quantity</TH></TR>",
                               "<TR><TD>Adler Sons</TD><TD>120</TD></TR>",
                               "<TR><TD>Birch Joinery</TD><TD><IMG SRC=gear.bmp></TD></TR>",
                               "</TABLE></BODY></HTML>"})
        writer.append(QString::fromLatin1(record));
    return page;
}

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    // DejaVu's ligatures come back as single characters.
    return QString::fromUtf8(process.readAllStandardOutput()).replace(QChar(0xFB01), QStringLiteral("fi"));
}

void expectPageText(const QString &text)
{
    for (const char *expected : {"Customer", "Quantity", "Adler Sons", "120", "Birch Joinery"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected << " in:\n" << text.toStdString();
}

class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value) : m_name(name), m_old(qgetenv(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvGuard() { m_old.isNull() ? qunsetenv(m_name) : qputenv(m_name, m_old); }

private:
    const char *m_name;
    QByteArray m_old;
};

} // namespace

TEST(Printing, PrintToFolderWritesAPdfOfThePage)
{
    test::TempFolder folder;
    const QString page = writePage(folder);
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", folder.file(QStringLiteral("out")).toUtf8());
    ASSERT_TRUE(printPageFile(page));
    ASSERT_TRUE(printPageFile(page)) << "a second print of the same page does not overwrite the first";
    const QStringList pdfs = QDir(folder.file(QStringLiteral("out"))).entryList({QStringLiteral("*.pdf")});
    EXPECT_EQ(pdfs, (QStringList{QStringLiteral("orders1-2.pdf"), QStringLiteral("orders1.pdf")}));
    expectPageText(pdfText(folder.file(QStringLiteral("out/orders1.pdf"))));

    EXPECT_FALSE(printPageFile(folder.file(QStringLiteral("missing.htm"))));
}

TEST(Printing, PrintsOnTheDefaultCupsPrinter)
{
    const char *destination = cupsGetDefault();
    ASSERT_TRUE(destination) << "no default printer: run scripts/start-printer.sh (a cups-pdf queue)";
    test::TempFolder folder;
    const QString page = writePage(folder);
    const EnvGuard printTo("ZUVEXAL_PRINT_TO", QByteArray());

    const QDir output(QDir::homePath() + QStringLiteral("/PDF"));
    const QStringList before = output.entryList({QStringLiteral("orders1*.pdf")});
    ASSERT_TRUE(printPageFile(page));

    // cups-pdf writes the job's PDF into ~/PDF when the job has run.
    QElapsedTimer clock;
    clock.start();
    QString printed;
    while (printed.isEmpty() && clock.elapsed() < 60000) {
        for (const QString &name : output.entryList({QStringLiteral("orders1*.pdf")})) {
            if (!before.contains(name) && QFileInfo(output.filePath(name)).size() > 0)
                printed = output.filePath(name);
        }
        QThread::msleep(100);
    }
    ASSERT_FALSE(printed.isEmpty()) << "no PDF from the " << destination << " queue";
    QThread::msleep(300);
    expectPageText(pdfText(printed));
    QFile::remove(printed);
}
