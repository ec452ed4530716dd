#include "core/reporter/pagecolumns.h"

#include "core/recordset/fieldkind.h"

#include <algorithm>

namespace zuvexal {

namespace {

std::vector<PageColumn> describeColumns(const QStringList &columns, const RecordSet &rsSection,
                                        const ReportJob &job)
{
    std::vector<PageColumn> described(size_t(columns.size()));
    for (qsizetype c = 0; c < columns.size(); ++c) {
        PageColumn &column = described[size_t(c)];
        column.field = rsSection.indexOf(columns[c]);
        const auto source = std::find_if(job.sourceFields.begin(), job.sourceFields.end(), [&](const Field &f) {
            return columns[c].compare(f.name, Qt::CaseInsensitive) == 0;
        });
        if (source != job.sourceFields.end())
            column.hyperlink = fieldKindOf(qint16(source->attributes), qint16(source->type)) == QLatin1String("hyperlink");
        // Picture folders matter only while pictures are shown.
        if (!showsPictures(job))
            continue;
        const QString upper = columns[c].toUpper();
        for (qsizetype j = 0; j < job.columnPictureFolders.size() && j < job.gridFieldNames.size(); ++j) {
            if (!job.columnPictureFolders[j].isEmpty() && job.gridFieldNames[j].toUpper() == upper) {
                column.pictureFolder = job.columnPictureFolders[j];
                break;
            }
        }
    }
    return described;
}

} // namespace

bool showsPictures(const ReportJob &job)
{
    return job.containPictureFields && !job.columnPictureFolders.isEmpty();
}

PageColumns::Inputs PageColumns::Inputs::of(const QStringList &columns, const RecordSet &rsSection,
                                            const ReportJob &job)
{
    Inputs inputs;
    inputs.columns = columns;
    for (int f = 0; f < rsSection.fieldCount(); ++f)
        inputs.sectionFields.append(rsSection.field(f).name);
    inputs.sourceFields = job.sourceFields;
    inputs.pictures = showsPictures(job);
    if (inputs.pictures) {
        inputs.gridFieldNames = job.gridFieldNames;
        inputs.pictureFolders = job.columnPictureFolders;
    }
    return inputs;
}

// Looked at once per section, so it compares with the inputs where they are
// instead of making a second set.
bool PageColumns::Inputs::matches(const QStringList &names, const RecordSet &rsSection, const ReportJob &job) const
{
    if (columns != names || sectionFields.size() != rsSection.fieldCount())
        return false;
    for (int f = 0; f < rsSection.fieldCount(); ++f) {
        if (sectionFields[f] != rsSection.field(f).name)
            return false;
    }
    if (sourceFields != job.sourceFields || pictures != showsPictures(job))
        return false;
    return !pictures || (gridFieldNames == job.gridFieldNames && pictureFolders == job.columnPictureFolders);
}

const std::vector<PageColumn> &PageColumns::describe(const QStringList &columns, const RecordSet &rsSection,
                                                     const ReportJob &job, const std::string &linkStyle)
{
    if (m_columns.empty() || !m_inputs.matches(columns, rsSection, job)) {
        m_columns = describeColumns(columns, rsSection, job);
        m_inputs = Inputs::of(columns, rsSection, job);
    }
    for (PageColumn &column : m_columns) {
        if (column.hyperlink && column.linkStyle != linkStyle)
            column.linkStyle = linkStyle;
    }
    return m_columns;
}

} // namespace zuvexal
