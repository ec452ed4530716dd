#include "core/reporter/reportjob.h"

#include "core/base/values_p.h"
#include "core/recordset/fieldkind.h"

#include <QDir>

#include <algorithm>

namespace zuvexal {

ReportPages splitIntoPages(const RecordSet &source, qint32 totalRecords, std::optional<qint32> recordsPerPage)
{
    const RecordSet clone = source.clone();
    // Fewer than one record per page cannot split anything.
    qint32 perPage = recordsPerPage.value_or(10);
    if (perPage < 1)
        perPage = 10;
    qint64 pages = totalRecords / perPage;
    // More than 100 pages fall back to 200 records a page; larger pages
    // already give fewer pages.
    if (pages > 100 && perPage < 200) {
        perPage = 200;
        pages = totalRecords / perPage;
    }
    if (totalRecords % perPage != 0)
        ++pages;

    ReportPages split;
    split.recordsPerPage = perPage;
    // Records beyond the count handed over are on no page. The pages are
    // cut from one slice of the records, so they share its fields.
    const qint64 available = std::min<qint64>(totalRecords, clone.recordCount());
    const RecordSet records = clone.slice(0, available);
    split.pages.reserve(size_t(pages));
    for (qint64 p = 0; p < pages; ++p) {
        const qint64 first = p * perPage;
        const qint64 count = std::clamp<qint64>(available - first, 0, perPage);
        split.pages.push_back(std::make_shared<RecordSet>(records.slice(first, count)));
    }
    return split;
}

std::vector<Field> fieldsOf(const RecordSet &records)
{
    std::vector<Field> fields;
    fields.reserve(size_t(records.fieldCount()));
    for (int i = 0; i < records.fieldCount(); ++i)
        fields.push_back(records.field(i));
    return fields;
}

ListItems sumFieldCandidates(RecordSet &page)
{
    ListItems fields;
    page.moveFirst();
    for (int i = 0; i < page.fieldCount(); ++i) {
        const QString name = trimBlanks(page.field(i).name);
        const std::optional<int> index = page.indexOf(name);
        if (!index)
            break;
        const Field &field = page.field(*index);
        const std::optional<QVariant> first = page.value(i);
        if (FieldKind(qint16(field.attributes), qint16(field.type)) == QLatin1String("number") && first
            && isNumeric(*first))
            fields.append({name, false});
    }
    return fields;
}

std::optional<QString> pictureFolderPath(const QString &value)
{
    QString folder = trimBlanks(value);
    if (!QDir::isAbsolutePath(folder))
        return std::nullopt;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QStringList pictureFoldersFor(const QStringList &columns, const QString &folders, const QString &pictureFields)
{
    QStringList result(columns.size(), QString());
    QStringList folderList = folders.split(QLatin1Char(','));
    const QStringList fieldList = pictureFields.split(QLatin1Char(','));
    const QString lastFolder = trimBlanks(folderList.back());
    while (folderList.size() < fieldList.size())
        folderList.append(QString());
    for (qsizetype c = 0; c < columns.size(); ++c) {
        for (qsizetype k = 0; k < fieldList.size(); ++k) {
            if (trimBlanks(fieldList[k]).compare(columns[c], Qt::CaseInsensitive) != 0)
                continue;
            QString folder = trimBlanks(folderList[k]);
            if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
                folder += QLatin1Char('/');
            if (folder.isEmpty())
                folder = lastFolder;
            result[c] = folder;
            break;
        }
    }
    return result;
}

} // namespace zuvexal
