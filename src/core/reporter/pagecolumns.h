#pragma once

#include "core/recordset/recordset.h"
#include "core/reporter/reportjob.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace zuvexal {

// Whether the job's pages show pictures in place of picture file names.
bool showsPictures(const ReportJob &job);

// What a column of the report needs per value, looked up once per section.
struct PageColumn
{
    std::optional<int> field;      // in the section's record set
    bool hyperlink = false;        // its marked values become links
    std::optional<QString> pictureFolder;
    std::string linkStyle;         // of its links, for the table's colour
};

// The report's columns as described for the sections of a run. Sections
// share their columns: they are looked up again only when what they are
// read from changes (the section's field names, the job's source fields or
// picture columns).
class PageColumns
{
public:
    const std::vector<PageColumn> &describe(const QStringList &columns, const RecordSet &rsSection,
                                            const ReportJob &job, const std::string &linkStyle);

private:
    // What the columns were described from.
    struct Inputs
    {
        QStringList columns;
        QStringList sectionFields;
        std::vector<Field> sourceFields;
        bool pictures = false;
        QStringList gridFieldNames;
        QStringList pictureFolders;

        static Inputs of(const QStringList &columns, const RecordSet &rsSection, const ReportJob &job);
        bool matches(const QStringList &columns, const RecordSet &rsSection, const ReportJob &job) const;
    };

    Inputs m_inputs;
    std::vector<PageColumn> m_columns;
};

} // namespace zuvexal
