#include "fieldkind.h"

#include "recordset.h"

namespace zuvexal {

namespace {

// Attribute values that real providers report for each kind of column.
const char *attributeKind(qint16 attributes)
{
    switch (attributes) {
    case 90:
    case 118:
        return "number";
    case 102:
    case 106:
        return "text";
    case 122:
        return "date";
    case 230:
    case 234:
        return "hyperlink";
    default:
        return "others";
    }
}

const char *typeKind(qint16 type, const char *byAttributes)
{
    using namespace Ado;
    switch (type) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
        return "number";
    case adBoolean:
        return "boolean";
    case adUserDefined:
    case adVariant:
    case adGUID:
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
        return "others";
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
        return "date";
    case adBSTR:
    case adChar:
    case adVarChar:
    case adLongVarChar:
    case adWChar:
    case adVarWChar:
        return "text";
    case adLongVarWChar:
        // Long wide text is a hyperlink only when the attributes say so.
        return qstrcmp(byAttributes, "hyperlink") == 0 ? "hyperlink" : "text";
    default:
        return nullptr;
    }
}

} // namespace

QLatin1String fieldKindOf(qint16 Attributes, qint16 DataType)
{
    const char *byAttributes = attributeKind(Attributes);
    const char *byType = typeKind(DataType, byAttributes);
    return QLatin1String(byType ? byType : byAttributes);
}

QString FieldKind(qint16 Attributes, qint16 DataType)
{
    return fieldKindOf(Attributes, DataType);
}

} // namespace zuvexal
