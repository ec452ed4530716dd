#include "core/control/zuvexal.h"
#include "ui/about/aboutdialog.h"
#include "ui/propertypage/propertypagedialog_p.h"
#include "ui/windows.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zuvexal;

TEST(PropertyPage, FillsAndAppliesTheSelectedControl)
{
    ZuVexal control;
    control.setMaxRecsPerPage(7);
    control.setInterval(30);
    control.setTag(QStringLiteral("tagged"));
    ui::PropertyPageDialog page;
    page.setControl(&control);
    auto *records = page.findChild<QComboBox *>(QStringLiteral("cmbMaxRecsPerPage"));
    auto *interval = page.findChild<QLineEdit *>(QStringLiteral("txtInterval"));
    EXPECT_EQ(records->currentIndex(), 1) << "a value not in the list shows as ten records";
    EXPECT_EQ(records->currentText(), QStringLiteral("10 - Zu_TenRecs"));
    EXPECT_EQ(interval->text(), QStringLiteral("30"));
    EXPECT_EQ(page.findChild<QLineEdit *>(QStringLiteral("txtTag"))->text(), QStringLiteral("tagged"));
    EXPECT_TRUE(page.isChanged()) << "filling counts as an edit";
    // Each field's label carries its own name, the field's with "lbl".
    for (const char *field : {"Interval", "Tag", "MaxRecsPerPage", "DeveloperCompany"}) {
        const auto *label = page.findChild<QLabel *>(QStringLiteral("lbl") + QLatin1String(field));
        ASSERT_NE(label, nullptr) << field;
        EXPECT_NE(label->buddy(), nullptr) << field;
    }

    struct Case { const char *typed; qint32 applied; bool accepted; const char *why; };
    const Case cases[] = {
        {"12abc", 12, true, "the number at the start"},
        {"abc", 0, true, "no number counts as 0"},
        {"-1", 0, false, "below 0 is not applied"},
        {"3000000000", 0, false, "beyond a Long is not applied"},
    };
    for (const Case &c : cases) {
        interval->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(page.applyChanges(), c.accepted) << c.why;
        EXPECT_EQ(control.Interval(), c.applied) << c.why;
    }
    records->setCurrentIndex(6);
    interval->setText(QStringLiteral("5"));
    ASSERT_TRUE(page.applyChanges());
    EXPECT_EQ(control.MaxRecsPerPage(), 1000);
    EXPECT_EQ(control.Tag(), QStringLiteral("tagged"));
}

TEST(PropertyPage, AnIntervalOutOfRangeKeepsTheFocus)
{
    ZuVexal control;
    ui::PropertyPageDialog page;
    page.setControl(&control);
    page.show();
    QApplication::setActiveWindow(&page);
    auto *interval = page.findChild<QLineEdit *>(QStringLiteral("txtInterval"));
    interval->setFocus();
    interval->selectAll();
    QTest::keyClicks(interval, QStringLiteral("-1"));
    QTest::keyClick(interval, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(interval->hasFocus());
    interval->selectAll();
    QTest::keyClicks(interval, QStringLiteral("7"));
    QTest::keyClick(interval, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_FALSE(interval->hasFocus());
}

TEST(PropertyPage, ApplyAndOkBothHandTheControlToTheDesigner)
{
    ZuVexal control;
    ui::PropertyPageDialog page;
    int applied = 0;
    page.applied = [&](QObject *applyTo) {
        EXPECT_EQ(applyTo, &control) << "only the control the page shows";
        ++applied;
    };
    page.setControl(&control);
    page.findChild<QLineEdit *>(QStringLiteral("txtTag"))->setText(QStringLiteral("applied"));
    ASSERT_TRUE(page.applyChanges());
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(control.Tag(), QStringLiteral("applied"));
    page.findChild<QLineEdit *>(QStringLiteral("txtInterval"))->setText(QStringLiteral("-1"));
    EXPECT_FALSE(page.applyChanges());
    EXPECT_EQ(applied, 1) << "nothing handed over when the page refuses";
}

TEST(AboutBox, ShowsTheVersionAndClosesOnEnter)
{
    ZuVexal control;
    ui::installWindows(control);
    QString version;
    QTimer::singleShot(50, [&] {
        QWidget *about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->objectName(), QStringLiteral("VexalAbout"));
        version = about->findChild<QLabel *>(QStringLiteral("lblVersion"))->text();
        QTest::keyClick(about, Qt::Key_Return);
    });
    control.AboutBox();
    EXPECT_EQ(version, QStringLiteral("Version 2.0"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
