#include "ui/reportform/pagemodel.h"

#include "core/base/values_p.h"
#include "core/reporter/reportform_p.h"

namespace zuvexal::ui {

void PageModel::setPage(const ReportForm &form)
{
    const RecordSetPtr &page = form.CurPageRecordset();
    beginResetModel();
    m_headers.clear();
    m_rows.clear();
    m_pictures.clear();
    m_alignment.clear();
    if (page) {
        for (int i = 0; i < page->fieldCount(); ++i)
            m_headers << page->field(i).name;
        // A copy, so the report's own cursor stays where it is.
        RecordSet rows = page->clone();
        rows.moveFirst();
        m_rows = rows.getRows();
        // "<" and ">" in the format text ask for left and right alignment.
        const QStringList formats = form.GridFormatText().split(QLatin1Char('|'));
        for (int c = 0; c < m_headers.size(); ++c) {
            const bool right = formats.value(c).startsWith(QLatin1Char('>'));
            m_alignment.push_back((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        for (const QVariantList &row : m_rows) {
            std::vector<QPixmap> pictures(size_t(m_headers.size()));
            for (int c = 0; c < m_headers.size(); ++c)
                pictures[size_t(c)] = QPixmap::fromImage(form.cellPicture(c, row.value(c)));
            m_pictures.push_back(std::move(pictures));
        }
    }
    endResetModel();
}

int PageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PageModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant PageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const size_t row = size_t(index.row());
    const size_t column = size_t(index.column());
    const QPixmap &picture = m_pictures[row][column];
    switch (role) {
    case Qt::DisplayRole:
        return picture.isNull() ? valueText(m_rows[row].value(index.column())) : QString();
    case Qt::DecorationRole:
        return picture.isNull() ? QVariant() : QVariant(picture);
    case Qt::SizeHintRole:
        return picture.isNull() ? QVariant() : QVariant(picture.size());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_alignment[column]);
    default:
        return {};
    }
}

QVariant PageModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_headers.value(section);
    return section + 1;
}

} // namespace zuvexal::ui
