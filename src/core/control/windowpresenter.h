#pragma once

#include "core/base/messages.h"

namespace zuvexal {

class FileChooser;
class ReportForm;
struct LinkState;

// Shows the shared windows over their core objects; the window layer
// implements it and installs it on the context. Each call returns when the
// window has closed.
class WindowPresenter : public MessagePresenter
{
public:
    // The report window, modally; its Advanced button shows the settings
    // window of the form.
    virtual void showReportWindow(ReportForm &form) = 0;
    // The file chooser, modally; false when no window could be shown.
    virtual bool showFileChooser(FileChooser &chooser) = 0;
    // The product information box, modally; its links open through links.
    virtual void showAboutBox(LinkState &links) = 0;
};

} // namespace zuvexal
