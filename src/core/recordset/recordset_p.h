#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

// The members of a record set behind its private pointer.

#include "recordset.h"

#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>

namespace zuvexal {

class RecordSetPrivate
{
public:
    std::shared_ptr<TableData> table; // shared with clones
    qint64 pos = -1;
    bool open = false;
    Ado::CursorType cursorType = Ado::adOpenStatic;
    Ado::LockType lockType = Ado::adLockBatchOptimistic;
    std::optional<QVariantList> newRow; // between addNew and update
    QString connectionName;
    QString sql;
    QString sourceTable; // set when the rows are a whole table's
};

} // namespace zuvexal
