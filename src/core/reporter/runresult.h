#pragma once

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

namespace zuvexal {

// The table colours of the report window, in its list's order.
ZUVEXAL_CORE_EXPORT const QStringList &reportTableColors();

// A summed field as the report's closing summary wrote it; a value is
// empty where no record held a number in that field.
struct RunSum
{
    QString field;
    std::optional<double> total;
    double average = 0;
    std::optional<double> minimum;
    std::optional<double> maximum;
};

// What one generation run did. The value types of this header change only
// with the SONAME (see "Value types and the ABI" in the README).
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
    QString reportFile;         // Reports/ and the base name the pages are named after
    QList<qint32> pageRecords;  // the records of each page, in pageFiles' order
    QList<bool> pageWritten;    // whole, and not taken back on cancel
    QList<bool> pagePrinted;    // handed to the printer
    QList<RunSum> sums;         // the totals of the last summary written
    qint64 milliseconds = 0;    // from the start to the last page printed

    // The result as one JSON object, so that a scheduler or a log can tell
    // what was written without reading the pages: "report", "pages" (each
    // "file" (null when not reached), "records", "written", "printed"),
    // "records", "pagesWritten", "sectionsFailed", "notWritten",
    // "notPrinted", "sums" (each "field", "total", "average", "minimum",
    // "maximum"; null where no number was summed), "cancelled",
    // "deletedOnCancel" and "seconds".
    ZUVEXAL_CORE_EXPORT QJsonObject toJson() const;
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
