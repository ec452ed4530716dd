#include "testsupport.h"

#include "core/control/context_p.h"

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

namespace zuvexal::test {

ScriptedWindows::~ScriptedWindows()
{
    if (const std::shared_ptr<Context> context = m_context.lock(); context && context->presenter() == this)
        context->setPresenter(nullptr);
}

void ScriptedWindows::installOn(Context &context)
{
    context.setPresenter(this);
    m_context = context.weak_from_this();
}

void ScriptedWindows::show(const QString &title, const QString &text, Icon)
{
    if (onMessage)
        onMessage(title, text);
}

void ScriptedWindows::showReportWindow(ReportForm &form)
{
    if (onReportWindow)
        onReportWindow(form);
}

bool ScriptedWindows::showFileChooser(FileChooser &chooser)
{
    return onFileChooser && onFileChooser(chooser);
}

void ScriptedWindows::showAboutBox(LinkState &)
{
    if (onAboutBox)
        onAboutBox();
}

} // namespace zuvexal::test
