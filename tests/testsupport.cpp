#include "testsupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zuvexal::test {

TempFolder::TempFolder()
{
    EXPECT_TRUE(m_dir.isValid());
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(content);
}

} // namespace zuvexal::test
