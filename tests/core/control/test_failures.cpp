// Host objects that fail: the control's published members keep their
// failure results and never let an exception reach the host.
#include "core/control/context_p.h"
#include "core/control/messagelog.h"
#include "core/control/zuvexal.h"

#include "reportfixture.h"
#include "testsupport.h"

#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zuvexal;
using zuvexal::test::ReportTest;

namespace {

class FailingContainer final : public Container
{
public:
    bool userMode() const override { throw std::runtime_error("userMode"); }
    QString displayName() const override { throw std::runtime_error("displayName"); }
    void propertyChanged(const QString &) override { throw std::runtime_error("propertyChanged"); }
    QObject *controlByName(const QString &) const override { throw std::runtime_error("controlByName"); }
};

class FailingBag final : public PropertyBag
{
public:
    std::optional<QVariant> read(const QString &, const QVariant &) const override { throw std::runtime_error("read"); }
    bool write(const QString &, const QVariant &, const QVariant &) override { throw std::runtime_error("write"); }
};

// A host text box whose members fail.
class FailingBox : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Locked READ locked WRITE setLocked)

public:
    bool locked() const { return false; }
    void setLocked(bool) { throw std::runtime_error("Locked"); }
};

} // namespace

TEST_F(ReportTest, FailingHostObjectsNeverReachTheHost)
{
    FailingContainer container;
    ZuVexal failing(nullptr, &container);
    EXPECT_NO_THROW(failing.setMaxRecsPerPage(20));
    EXPECT_EQ(failing.MaxRecsPerPage(), 10) << "a failed notification leaves ten records a page";
    EXPECT_NO_THROW(failing.setTag(QStringLiteral("kept")));
    EXPECT_EQ(failing.Tag(), QStringLiteral("kept"));
    EXPECT_NO_THROW(failing.setInterval(7));
    EXPECT_EQ(failing.Interval(), 7);
    EXPECT_NO_THROW(failing.setDoTimer(false));
    EXPECT_NO_THROW(failing.setEnabled(true));
    EXPECT_NO_THROW(failing.setBackColor(QColor(1, 2, 3)));
    EXPECT_NO_THROW(failing.setDeveloperCompany(QStringLiteral("acme")));
    EXPECT_EQ(failing.DeveloperCompany(), QStringLiteral("ACME")) << "a container that cannot say is run mode";
    QString path = QStringLiteral(" /srv/app ");
    EXPECT_NO_THROW(failing.setApplicationPath(path));
    EXPECT_EQ(path, QStringLiteral("/srv/app/"));
    EXPECT_THROW((void)failing.ApplicationPath(), ZuError) << "error 393 is the one that reaches the host";
    EXPECT_NO_THROW(failing.InitProperties());

    RecordSetPtr records = test::makeOrders(3);
    bool result = true;
    EXPECT_NO_THROW(result = failing.AutoZuReporter(records, {}, nullptr, {}, {}, ZuVexal::rNoNo));
    EXPECT_FALSE(result);
    EXPECT_NO_THROW(result = failing.ShowZuReporter(records));
    EXPECT_FALSE(result);
    EXPECT_FALSE(failing.ReportBusy());

    FailingBag bag;
    failing.setInterval(7);
    EXPECT_NO_THROW(failing.ReadProperties(bag));
    EXPECT_EQ(failing.Interval(), 7) << "what cannot be read stays as it was";
    EXPECT_NO_THROW(failing.WriteProperties(bag));

    FailingBox box;
    QString app = folder.path();
    failing.setApplicationPath(app);
    EXPECT_NO_THROW(failing.LogMessage(QStringLiteral("logged"), &box));
    EXPECT_TRUE(test::readAll(logFilePath(folder.path())).contains("logged")) << "the log entry is written first";
}

#include "test_failures.moc"
