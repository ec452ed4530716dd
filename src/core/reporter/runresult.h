#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

namespace zuvexal {

// The table colours of the report window, in its list's order.
ZUVEXAL_CORE_EXPORT const QStringList &reportTableColors();

// What one generation run did.
struct RunResult
{
    // One entry per page of the run: the file it was written to, "" for a
    // page the run did not reach.
    QStringList pageFiles;
    int pagesWritten = 0;     // pages whose sections were all written
    int sectionsFailed = 0;   // sections that could not be written
    QStringList pagesFailed;  // the pages those sections were to go to
    QStringList pagesNotPrinted;  // pages to print that could not be handed over
    bool cancelled = false;
    bool deletedOnCancel = false;  // what the run wrote was taken back
};

// Choices of the report window that an unattended run leaves as the window
// loads them unless a caller says otherwise.
struct ReportChoices
{
    std::optional<QString> tableColor;  // one of reportTableColors()
    std::optional<bool> insertDate;     // the date line of the page heading
    std::optional<QDate> date;          // the date it shows
};

} // namespace zuvexal
