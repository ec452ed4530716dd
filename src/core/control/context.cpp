#include "core/control/context_p.h"

#include "core/base/paths.h"
#include "core/control/windowpresenter.h"
#include "core/filedialog/filechooser_p.h"
#include "core/reporter/reportform_p.h"
#include "core/settings/advancedsetform_p.h"

#include <QDebug>

namespace zuvexal {

std::shared_ptr<Context> Context::acquire()
{
    // The one process-wide reference: it only finds the context while
    // something holds it.
    static std::weak_ptr<Context> current;
    std::shared_ptr<Context> context = current.lock();
    if (!context) {
        context.reset(new Context);
        current = context;
    }
    return context;
}

Context::Context()
{
    // The component is loaded: its folder is the application folder until
    // a host says otherwise.
    SetAppFolder(values);
}

Context::~Context()
{
    releaseNow();
}

void Context::setPresenter(WindowPresenter *presenter)
{
    m_presenter = presenter;
    messages.setPresenter(presenter);
}

WindowPresenter *Context::windowsFor(const char *method) const
{
    std::optional<QString> unavailable;
    if (!m_presenter)
        unavailable = QStringLiteral("the windows are not installed (use zuvexal::ui::ZuVexalWidget, or call "
                                     "zuvexal::ui::installWindows in a QApplication)");
    else
        unavailable = m_presenter->unavailable();
    if (!unavailable)
        return m_presenter;
    qWarning().noquote() << "ZuVexal:" << method << "shows no window:" << *unavailable;
    return nullptr;
}

AdvancedSetForm &Context::advancedSet()
{
    if (!m_advancedSet)
        m_advancedSet = std::make_unique<AdvancedSetForm>(values, settings, registry, links, messages);
    return *m_advancedSet;
}

ReportForm &Context::reportForm()
{
    if (!m_reportForm)
        m_reportForm = std::make_unique<ReportForm>(values, advancedSet(), links, messages);
    return *m_reportForm;
}

FileChooser &Context::fileChooser()
{
    if (!m_fileChooser)
        m_fileChooser = std::make_unique<FileChooser>(values, messages);
    return *m_fileChooser;
}

Context::Use::Use(std::shared_ptr<Context> context) : m_context(std::move(context))
{
    ++m_context->m_uses;
}

Context::Use::~Use()
{
    if (!m_context)
        return;
    if (--m_context->m_uses == 0 && m_context->m_releasePending)
        m_context->releaseNow();
}

Context::Use Context::use()
{
    return Use(shared_from_this());
}

Context::ReportGuard::ReportGuard(Use use) : m_use(std::move(use))
{
    m_use.m_context->m_busy = true;
}

Context::ReportGuard::ReportGuard(ReportGuard &&other) noexcept
    : m_use(std::move(other.m_use)), m_held(std::exchange(other.m_held, false))
{
}

Context::ReportGuard::~ReportGuard()
{
    if (m_held)
        m_use.m_context->m_busy = false;
}

std::optional<Context::ReportGuard> Context::beginReport()
{
    if (m_busy)
        return std::nullopt;
    return ReportGuard(use());
}

void Context::releaseWindows()
{
    if (m_uses > 0)
        m_releasePending = true;
    else
        releaseNow();
}

void Context::releaseNow()
{
    // The report form reads the settings form: it goes first.
    m_reportForm.reset();
    m_advancedSet.reset();
    m_fileChooser.reset();
    m_releasePending = false;
}

} // namespace zuvexal
