#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <QStringList>

#include <vector>

namespace zuvexal {
class ReportForm;
}

namespace zuvexal::ui {

// The records of one report page for the preview grid: one column per
// field, the field names as headers, pictures of picture columns drawn in
// their cells (a picture that does not load leaves the file name).
class PageModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows the form's current page.
    void setPage(const ReportForm &form);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    std::vector<QVariantList> m_rows;
    std::vector<std::vector<QPixmap>> m_pictures;  // [row][column], null when none
    std::vector<Qt::Alignment> m_alignment;
};

} // namespace zuvexal::ui
