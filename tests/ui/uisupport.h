#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zuvexal::test {

template <typename W>
W *child(QWidget *window, const char *name)
{
    W *widget = window->findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Runs `steps` once the modal window of that name is up, then leaves it.
inline void whileShown(const QString &name, const std::function<void(QDialog *)> &steps)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, name, steps, started] {
        auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if ((!window || window->objectName() != name) && started->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        ASSERT_NE(window, nullptr) << name.toStdString() << " never showed";
        steps(window);
        if (window->isVisible())
            QTest::keyClick(window, Qt::Key_Escape);
    });
    poll->start();
}

inline void whileShown(const std::function<void(QDialog *)> &steps)
{
    whileShown(QStringLiteral("VexalReportForm"), steps);
}

} // namespace zuvexal::test
