#include "core/settings/advancedsettings.h"
#include "core/settings/registry.h"

#include "settingsfixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <QDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace zuvexal;

namespace {

const QString PwInfPath = BaseKeyPath + QStringLiteral("\\PwInf");

} // namespace

TEST_F(RegistryTest, SavedTextReadsBackUnderTheFullKeyPath)
{
    ASSERT_TRUE(SaveRegSetting(registry, QStringLiteral("abc"), QStringLiteral("PwInf")));
    EXPECT_EQ(ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, QStringLiteral("PwInf")), QStringLiteral("abc"));

    // The key is the base path + "\PwInf", its value is named with that same
    // full path, and the key's class is the value type's number.
    const RegistryFile store(file());
    const auto value = store.value(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, REG_SZ);
    EXPECT_EQ(value->data, QByteArray("abc")) << "no terminating zero is stored";
    EXPECT_EQ(store.keyClass(HKEY_LOCAL_MACHINE, PwInfPath), QStringLiteral("1"));
    EXPECT_FALSE(store.value(HKEY_LOCAL_MACHINE, PwInfPath, QStringLiteral("PwInf")))
        << "the value is not named by the short name";
}

TEST_F(RegistryTest, ReadingNormalisesAndKeepsLongTexts)
{
    const RegistryFile store(file());
    ASSERT_EQ(store.createKey(HKEY_LOCAL_MACHINE, PwInfPath, QStringLiteral("1")), RegistryFile::Result::Ok);
    auto read = [this] { return ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, QStringLiteral("PwInf")); };

    EXPECT_EQ(read(), QString()) << "a key without the value reads as empty";

    // Another writer stored the terminating zero.
    store.setValue(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath, {REG_SZ, QByteArray("zero", 5)});
    EXPECT_EQ(read(), QStringLiteral("zero"));

    ASSERT_TRUE(SaveRegSetting(registry, QStringLiteral("  padded  "), QStringLiteral("PwInf")));
    EXPECT_EQ(read(), QStringLiteral("padded")) << "surrounding spaces are lost on reading";

    // Longer than the old 1024-byte read buffer, and not ASCII: read back whole.
    const QString notes = QString(3000, QChar(u'\u00e9')) + QStringLiteral("end");
    ASSERT_TRUE(SaveRegSetting(registry, notes, QStringLiteral("PwInf")));
    EXPECT_EQ(read(), notes);

    EXPECT_EQ(ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, QStringLiteral("Never")), QString());
}

TEST_F(RegistryTest, NumbersAndOtherTypes)
{
    SaveRegSetting(registry, QStringLiteral("x"), QStringLiteral("Count"));
    EXPECT_TRUE(WriteRegValue(registry, BaseKeyPath + QStringLiteral("\\Count"), REG_DWORD, QStringLiteral("Count32"), -2));
    const auto value = RegistryFile(file()).value(HKEY_LOCAL_MACHINE, BaseKeyPath + QStringLiteral("\\Count"),
                                                  QStringLiteral("Count32"));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, QByteArray("\xfe\xff\xff\xff", 4)) << "a 32-bit little-endian number";
    EXPECT_TRUE(WriteRegValue(registry, BaseKeyPath + QStringLiteral("\\Count"), 7, QStringLiteral("Other"), QStringLiteral("x"))) << "unknown types write nothing";
    EXPECT_FALSE(RegistryFile(file()).value(HKEY_LOCAL_MACHINE, BaseKeyPath + QStringLiteral("\\Count"),
                                            QStringLiteral("Other")));
}

TEST(RegistryOverlay, WritesGoToTheUserOverlayWhenTheMachineFileIsNotWritable)
{
    test::TempFolder folder;
    // A file where the machine folder should be: nothing can be created there.
    test::writeAll(folder.file(QStringLiteral("blocked")), "");
    const Registry registry(folder.file(QStringLiteral("blocked/registry.db")),
                            folder.file(QStringLiteral("user/registry.db")));
    ASSERT_TRUE(registry.createKey(HKEY_LOCAL_MACHINE, PwInfPath, QStringLiteral("1")));
    ASSERT_TRUE(registry.setValue(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath, {REG_SZ, "mine"}));
    const auto value = registry.value(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, QByteArray("mine"));

    // A writable machine file is used directly; the overlay is read first.
    const Registry both(folder.file(QStringLiteral("machine.db")), folder.file(QStringLiteral("user/registry.db")));
    ASSERT_TRUE(both.createKey(HKEY_LOCAL_MACHINE, PwInfPath, QStringLiteral("1")));
    ASSERT_TRUE(both.setValue(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath, {REG_SZ, "machine"}));
    EXPECT_EQ(both.value(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath)->data, QByteArray("mine"));
    EXPECT_TRUE(RegistryFile(folder.file(QStringLiteral("machine.db"))).value(HKEY_LOCAL_MACHINE, PwInfPath, PwInfPath));
}

TEST(RegistryConcurrency, SeveralProcessesLoseNoCommittedWrite)
{
    test::TempFolder folder;
    const QString path = folder.file(QStringLiteral("shared.db"));
    constexpr int processes = 6;
    constexpr int writesEach = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const RegistryFile store(path);
            bool ok = true;
            for (int i = 0; i < writesEach; ++i) {
                const QString key = QStringLiteral("K\\%1\\%2").arg(p).arg(i);
                ok = ok && store.createKey(HKEY_LOCAL_MACHINE, key, QStringLiteral("1")) == RegistryFile::Result::Ok;
                ok = ok && store.setValue(HKEY_LOCAL_MACHINE, key, key, {REG_SZ, key.toUtf8()})
                        == RegistryFile::Result::Ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every write committed";
    }
    const RegistryFile store(path);
    for (int p = 0; p < processes; ++p) {
        for (int i = 0; i < writesEach; ++i) {
            const QString key = QStringLiteral("K\\%1\\%2").arg(p).arg(i);
            const auto value = store.value(HKEY_LOCAL_MACHINE, key, key);
            ASSERT_TRUE(value) << key.toStdString();
            EXPECT_EQ(value->data, key.toUtf8());
        }
    }
}

TEST_F(RegistryTest, AWriterKilledMidTransactionLeavesTheCommittedTextReadable)
{
    ASSERT_TRUE(SaveRegSetting(registry, QStringLiteral("committed"), QStringLiteral("PwInf")));
    // A writer that dies inside its transaction after the database file was
    // already changed (a cache of one page spills at once): a hot journal.
    QProcess writer;
    writer.start(QStringLiteral("sqlite3"), {file()});
    ASSERT_TRUE(writer.waitForStarted());
    writer.write("PRAGMA cache_size=1;\nBEGIN IMMEDIATE;\n"
                 "UPDATE vals SET data = zeroblob(200000);\n"
                 "CREATE TABLE filler(x);\nINSERT INTO filler VALUES(zeroblob(400000));\n"
                 "SELECT 'in transaction';\n");
    QElapsedTimer clock;
    clock.start();
    while (!writer.readAllStandardOutput().contains("in transaction") && clock.elapsed() < 10000)
        writer.waitForReadyRead(100);
    writer.kill();
    writer.waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(file() + QStringLiteral("-journal"))) << "no hot journal was left";

    EXPECT_EQ(ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, QStringLiteral("PwInf")),
              QStringLiteral("committed"))
        << "the reader rolls the dead writer's transaction back and reads what was committed";
}
