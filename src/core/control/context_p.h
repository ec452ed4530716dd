#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include "core/base/messages.h"
#include "core/base/sharedvalues.h"
#include "core/links/linkactivation_p.h"
#include "core/settings/advancedsettings_p.h"
#include "core/settings/registry.h"
#include "platform/clock.h"

#include <memory>
#include <optional>

namespace zuvexal {

class AdvancedSetForm;
class FileChooser;
class ReportForm;
class WindowPresenter;

// Everything the controls and windows of a process share, in one owner:
// the shared values, the settings record and its registry, the link
// activation's browser state, the message boxes, and the shared windows
// (report, advanced settings, file chooser), each created on first use and
// shared by every control.
//
// Every control holds the context, and so does every window shown and
// every report in progress (a Use); the context goes when the last of them
// lets go. A control's Terminate releases the shared windows at once, or,
// while one is in use, when the last use ends, so nothing is pulled from
// under a window or a run.
class Context : public std::enable_shared_from_this<Context>
{
public:
    // The process's context, created on first use.
    static std::shared_ptr<Context> acquire();
    ~Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    SharedValues values;
    // $ZUVEXAL_REGISTRY, else the machine-wide file with its user overlay.
    Registry registry = Registry::fromEnvironment();
    SettingsState settings;
    LinkState links;
    Messages messages;
    // What blocking waits sleep on (not owned); tests give a clock of
    // their own.
    platform::Clock *clock = &platform::systemClock();

    // How the windows are shown; without a presenter none can be (a batch
    // program). Not owned; it also shows the message boxes.
    ZUVEXAL_CORE_EXPORT void setPresenter(WindowPresenter *presenter);
    WindowPresenter *presenter() const { return m_presenter; }
    // The presenter when it can show windows in this process; otherwise
    // nothing, after one line to Qt's log saying why the method named
    // shows none.
    WindowPresenter *windowsFor(const char *method) const;

    ReportForm &reportForm();
    AdvancedSetForm &advancedSet();
    FileChooser &fileChooser();
    bool reportFormExists() const { return m_reportForm != nullptr; }

    // A window shown or a run in progress: the shared windows stay while a
    // use is held.
    class Use
    {
    public:
        Use(Use &&other) noexcept = default;
        Use &operator=(Use &&) = delete;
        ~Use();

    private:
        friend class Context;
        explicit Use(std::shared_ptr<Context> context);
        std::shared_ptr<Context> m_context;
    };
    Use use();

    // The busy guard of the report entry points: one report at a time in
    // the process, since the windows and the report state are shared. The
    // guard is released when it goes, on every path out.
    class ReportGuard
    {
    public:
        ReportGuard(ReportGuard &&other) noexcept;
        ReportGuard &operator=(ReportGuard &&) = delete;
        ~ReportGuard();

    private:
        friend class Context;
        explicit ReportGuard(Use use);
        Use m_use;
        bool m_held = true;
    };
    // Nothing when a report is already in progress.
    std::optional<ReportGuard> beginReport();
    bool reportBusy() const { return m_busy; }

    // A control terminates.
    void releaseWindows();

private:
    Context();
    void releaseNow();

    WindowPresenter *m_presenter = nullptr;
    int m_uses = 0;
    bool m_busy = false;
    bool m_releasePending = false;
    std::unique_ptr<AdvancedSetForm> m_advancedSet;
    std::unique_ptr<ReportForm> m_reportForm;
    std::unique_ptr<FileChooser> m_fileChooser;
};

} // namespace zuvexal
