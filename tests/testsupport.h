#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Lets GoogleTest print Qt texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << '"' << b.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zuvexal::test {

// A fresh folder that is removed with the object; path() ends in '/'.
class TempFolder
{
public:
    TempFolder();
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
};

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &content);

// Collects the warnings and errors Qt would write to stderr while it lives.
class QtMessages
{
public:
    QtMessages() { s_messages.clear(); m_previous = qInstallMessageHandler(&QtMessages::collect); }
    ~QtMessages() { qInstallMessageHandler(m_previous); }
    QtMessages(const QtMessages &) = delete;
    QtMessages &operator=(const QtMessages &) = delete;
    QStringList messages() const { return s_messages; }

private:
    static void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            s_messages << message;
    }
    static inline QStringList s_messages;
    QtMessageHandler m_previous = nullptr;
};

} // namespace zuvexal::test

#include "core/control/windowpresenter.h"

#include <functional>
#include <memory>

namespace zuvexal {
class Context;
}

namespace zuvexal::test {

// Windows a test plays itself: each show calls the test's function, or
// does nothing without one (a chooser then shows nothing). Install it with
// contextOf(control).setPresenter(&windows); it uninstalls itself from the
// contexts it was given when it goes.
class ScriptedWindows : public WindowPresenter
{
public:
    ~ScriptedWindows() override;
    void installOn(Context &context);

    std::function<void(const QString &title, const QString &text)> onMessage;
    std::function<void(ReportForm &)> onReportWindow;
    std::function<bool(FileChooser &)> onFileChooser;
    std::function<void()> onAboutBox;

    void show(const QString &title, const QString &text, Icon) override;
    void showReportWindow(ReportForm &form) override;
    bool showFileChooser(FileChooser &chooser) override;
    void showAboutBox(LinkState &) override;

private:
    std::weak_ptr<Context> m_context;
};

} // namespace zuvexal::test
