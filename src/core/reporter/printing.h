#pragma once

#include <QString>

#include <optional>

namespace zuvexal {

// Why pages cannot be laid out for print in this process, or nothing when
// they can: the layout needs fonts, and Qt has fonts only in a
// QGuiApplication (a QCoreApplication host would abort in QFontDatabase).
std::optional<QString> printingUnavailable();

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
