#include "core/reporter/runresult.h"

#include <QJsonArray>

namespace zuvexal {

namespace {

// An empty slot is null, so that a reader can tell "no number" from 0.
QJsonValue numberOrNull(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

} // namespace

QJsonObject RunResult::toJson() const
{
    QJsonArray pages;
    qint64 records = 0;
    for (qsizetype i = 0; i < pageFiles.size(); ++i) {
        const qint32 onPage = pageRecords.value(i);
        records += onPage;
        pages.append(QJsonObject{
            {QStringLiteral("file"), pageFiles[i].isEmpty() ? QJsonValue(QJsonValue::Null) : pageFiles[i]},
            {QStringLiteral("records"), onPage},
            {QStringLiteral("written"), pageWritten.value(i)},
            {QStringLiteral("printed"), pagePrinted.value(i)},
        });
    }
    QJsonArray summed;
    for (const RunSum &sum : sums) {
        summed.append(QJsonObject{
            {QStringLiteral("field"), sum.field},
            {QStringLiteral("total"), numberOrNull(sum.total)},
            {QStringLiteral("average"), sum.average},
            {QStringLiteral("minimum"), numberOrNull(sum.minimum)},
            {QStringLiteral("maximum"), numberOrNull(sum.maximum)},
        });
    }
    return QJsonObject{
        {QStringLiteral("report"), reportFile},
        {QStringLiteral("pages"), pages},
        {QStringLiteral("records"), records},
        {QStringLiteral("pagesWritten"), pagesWritten},
        {QStringLiteral("sectionsFailed"), sectionsFailed},
        {QStringLiteral("notWritten"), QJsonArray::fromStringList(pagesFailed)},
        {QStringLiteral("notPrinted"), QJsonArray::fromStringList(pagesNotPrinted)},
        {QStringLiteral("sums"), summed},
        {QStringLiteral("cancelled"), cancelled},
        {QStringLiteral("deletedOnCancel"), deletedOnCancel},
        {QStringLiteral("seconds"), double(milliseconds) / 1000.0},
    };
}

} // namespace zuvexal
