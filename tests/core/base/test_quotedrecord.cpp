#include "core/base/quotedrecord.h"

#include "testsupport.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace zuvexal;
using zuvexal::test::TempFolder;

TEST(QuotedRecord, AppendsQuotedLinesUnescaped)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("page.htm"));
    ASSERT_TRUE(appendQuotedRecord(path, u"<td>\"quoted\"</td>"));
    {
        QuotedRecordWriter writer(path);
        ASSERT_TRUE(writer.isOpen());
        EXPECT_TRUE(writer.append(u"caf\u00e9"));
    }
    // Inner quotes stay as they are; the text is UTF-8; every record ends CR LF.
    EXPECT_EQ(test::readAll(path), QByteArray("\"<td>\"quoted\"</td>\"\r\n\"caf\xc3\xa9\"\r\n"));
}

TEST(QuotedRecord, TextAlreadyInUtf8MakesTheSameRecord)
{
    TempFolder folder;
    const QString fromText = folder.file(QStringLiteral("text.htm"));
    const QString fromUtf8 = folder.file(QStringLiteral("utf8.htm"));
    for (const QString &text : {QStringLiteral("<td>caf\u00e9</td>"), QString()}) {
        ASSERT_TRUE(appendQuotedRecord(fromText, text));
        ASSERT_TRUE(appendQuotedRecord(fromUtf8, QByteArrayView(text.toUtf8())));
    }
    EXPECT_EQ(test::readAll(fromUtf8), test::readAll(fromText));
    EXPECT_FALSE(appendQuotedRecord(folder.file(QStringLiteral("missing/x.htm")), QByteArrayView("x")));
}

TEST(QuotedRecord, FailsWithoutFolder)
{
    TempFolder folder;
    EXPECT_FALSE(appendQuotedRecord(folder.file(QStringLiteral("missing/x.htm")), u"x"));
    EXPECT_FALSE(appendQuotedRecord(QString(), u"x"));
}

TEST(QuotedRecord, ConcurrentWritersNeverTearARecord)
{
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("log.htm"));
    constexpr int writers = 8;
    constexpr int records = 500;
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([&, w] {
            // Long records make torn writes likely if a record took two writes.
            const QString text = QString(2000, QChar(u'a' + w));
            for (int r = 0; r < records; ++r) {
                QuotedRecordWriter writer(path);
                writer.append(text);
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    const QList<QByteArray> lines = test::readAll(path).split('\n');
    ASSERT_EQ(lines.size(), writers * records + 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        ASSERT_EQ(line.size(), 2003);
        EXPECT_EQ(line.count(line[1]), 2000) << "record " << i << " mixes writers";
    }
}
