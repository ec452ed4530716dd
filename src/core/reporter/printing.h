#pragma once

#include <QString>

namespace zuvexal {

// Prints a report page file on the default printer without any dialog:
// the page is laid out as HTML and sent as a PDF job, or written as a PDF
// into the folder ZUVEXAL_PRINT_TO names. Pictures are found relative to
// the page's folder. True when the page was handed over.
bool printPageFile(const QString &pageFile);

// The print step of a generation run for one page. Linux has no print
// dialog to confirm and the page prints without a browser window, so
// whether the report is also shown (InBrowser) changes nothing here. True
// when the page was handed over.
bool PrintShownPage(const QString &PageFile, bool InBrowser);

} // namespace zuvexal
