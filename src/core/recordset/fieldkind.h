#pragma once

#include <QString>

namespace zuvexal {

// How a report treats a field: "number", "text", "date", "hyperlink",
// "boolean" or "others". The data type decides; the attributes decide only
// for a type not in the type table, and tell a hyperlink from plain long text.
QString FieldKind(qint16 Attributes, qint16 DataType);
// FieldKind() without building a text, for code that asks per value.
QLatin1String fieldKindOf(qint16 Attributes, qint16 DataType);

} // namespace zuvexal
