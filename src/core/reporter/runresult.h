#pragma once

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

/// \file runresult.h
/// What a report's generation run did, and the report window's choices.
/// Included by `<ZuVexal/RunResult>`.

namespace zuvexal {

/// The table colours of the report window, in its list's order: WHITE (the
/// default), RED, BLUE, GREEN, YELLOW, GRAY, SILVER, MAROON, FUCHSIA.
ZUVEXAL_CORE_EXPORT const QStringList &reportTableColors();

/// A summed field as the report's closing summary wrote it; a value is
/// empty where no record held a number in that field.
/// \headerfile runresult.h <ZuVexal/RunResult>
struct RunSum
{
    QString field;                 ///< The field's name.
    std::optional<double> total;   ///< The sum.
    double average = 0;            ///< The average of the records that held a number.
    std::optional<double> minimum; ///< The least value.
    std::optional<double> maximum; ///< The greatest value.
};

/// What one generation run did (ZuVexal::lastRun()). The value types of
/// this header change only with the SONAME (see "Value types and the ABI"
/// in the README).
/// \headerfile runresult.h <ZuVexal/RunResult>
struct RunResult
{
    /// One entry per page of the run: the file it was written to, "" for a
    /// page the run did not reach.
    QStringList pageFiles;
    int pagesWritten = 0;     ///< Pages whose sections were all written.
    int sectionsFailed = 0;   ///< Sections that could not be written.
    QStringList pagesFailed;  ///< The pages those sections were to go to.
    QStringList pagesNotPrinted;  ///< Pages to print that could not be handed over.
    bool cancelled = false;   ///< The run was stopped (a ReportStatus handler set Cancel).
    bool deletedOnCancel = false;  ///< What the run wrote was taken back.
    QString reportFile;         ///< Reports/ and the base name the pages are named after.
    QList<qint32> pageRecords;  ///< The records of each page, in pageFiles' order.
    QList<bool> pageWritten;    ///< Per page: whole, and not taken back on cancel.
    QList<bool> pagePrinted;    ///< Per page: handed to the printer.
    QList<RunSum> sums;         ///< The totals of the last summary written.
    qint64 milliseconds = 0;    ///< From the start to the last page printed.

    /// The result as one JSON object, so that a scheduler or a log can tell
    /// what was written without reading the pages: "report", "pages" (each
    /// "file" (null when not reached), "records", "written", "printed"),
    /// "records", "pagesWritten", "sectionsFailed", "notWritten",
    /// "notPrinted", "sums" (each "field", "total", "average", "minimum",
    /// "maximum"; null where no number was summed), "cancelled",
    /// "deletedOnCancel" and "seconds".
    ZUVEXAL_CORE_EXPORT QJsonObject toJson() const;
};

/// Choices of the report window that an unattended run leaves as the window
/// loads them unless a caller says otherwise (ZuVexal::setReportChoices()).
/// \headerfile runresult.h <ZuVexal/RunResult>
struct ReportChoices
{
    std::optional<QString> tableColor;  ///< One of reportTableColors(); the first when not set.
    std::optional<bool> insertDate;     ///< The date line of the page heading; on when not set.
    std::optional<QDate> date;          ///< The date it shows; the report's date when not set.
};

} // namespace zuvexal
