#pragma once

#include <QList>
#include <QString>

namespace zuvexal {

// An item of a list box whose items can be selected (marked).
struct ListItem
{
    QString text;
    bool selected = false;
};
using ListItems = QList<ListItem>;

} // namespace zuvexal
