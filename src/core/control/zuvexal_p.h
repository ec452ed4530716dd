#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

// The members of the control behind its private pointer, and what the
// library's own programs and the widget library reach of them.

#include "core/control/container.h"
#include "core/control/context_p.h"
#include "core/control/zuvexal.h"

#include <ZuVexal/zuvexalcore_export.h>

#include <QTimer>

#include <memory>
#include <optional>

namespace zuvexal {

class ZuVexalPrivate
{
public:
    explicit ZuVexalPrivate(ZuVexal *control);

    static ZuVexalPrivate &get(ZuVexal &control) { return *control.d; }
    static const ZuVexalPrivate &get(const ZuVexal &control) { return *control.d; }

    std::shared_ptr<Context> context;
    std::unique_ptr<DefaultContainer> defaultContainer;
    Container *container = nullptr;
    HeadlessSurface headlessSurface;
    ControlSurface *surface = &headlessSurface;
    QTimer timer; // Timer1, a child of the control

    qint32 tickCount = 0;
    bool inZuTimer = false;
    RecordSetPtr currentRecordsetRef;
    qint32 maxRecsPerPage = ZuVexal::Zu_TenRecs;
    QString defaultAppPath;
    QString applicationPath;
    bool doTimer = false;
    qint32 interval = 0;
    QString tag;
    QString developerCompany;
    ReportChoices reportChoices;
    std::optional<QLocale> reportLocale;
    std::optional<RunResult> lastRun;
};

// What a control shares with every other control of the process.
ZUVEXAL_CORE_EXPORT Context &contextOf(const ZuVexal &control);
// Ticks of Timer1 since the last ZuTimer.
qint32 tickCountOf(const ZuVexal &control);

} // namespace zuvexal
