// The message log's text boxes as hosts have them: Qt's own editors.
#include "core/control/zuvexal.h"

#include "testsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace zuvexal;
using zuvexal::test::TempFolder;

TEST(MessageLog, QtEditorsGetTheMessageAtTheirEnd)
{
    TempFolder folder;
    ZuVexal control;
    QString app = folder.path();
    control.setApplicationPath(app);

    QLineEdit line(QStringLiteral("first"));
    QTextEdit rich;
    rich.setPlainText(QStringLiteral("first"));
    QPlainTextEdit plain(QStringLiteral("first"));
    const std::vector<QWidget *> boxes{&line, &rich, &plain};
    for (QWidget *box : boxes) {
        box->show();
        box->setProperty("readOnly", true);
        box->setEnabled(false);
        // The caret stands at the start: the message must still go to the end.
        if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->setCursorPosition(0);
        if (auto *edit = qobject_cast<QTextEdit *>(box))
            edit->moveCursor(QTextCursor::Start);
        if (auto *edit = qobject_cast<QPlainTextEdit *>(box))
            edit->moveCursor(QTextCursor::Start);
        control.LogMessage(QStringLiteral("second"), box);
        EXPECT_TRUE(box->property("readOnly").toBool()) << box->metaObject()->className();
        EXPECT_FALSE(box->isEnabled()) << box->metaObject()->className();
    }
    // A line edit holds one line: the message continues it after a blank.
    EXPECT_EQ(line.text(), QStringLiteral("first second"));
    EXPECT_EQ(rich.toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(plain.toPlainText(), QStringLiteral("first\nsecond"));

    // A hidden editor gets the message at its caret.
    QPlainTextEdit hidden(QStringLiteral("end"));
    hidden.moveCursor(QTextCursor::Start);
    control.LogMessage(QStringLiteral("start"), &hidden);
    EXPECT_EQ(hidden.toPlainText(), QStringLiteral("\nstartend"));
}
