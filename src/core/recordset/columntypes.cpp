#include "columntypes.h"

#include "fieldkind.h"

#include <QList>
#include <QSqlField>

namespace zuvexal {

using namespace Ado;

namespace {

// A driver's type code and the ADO type it maps to; sized types take their
// declared size from the field's length.
struct TypeCode
{
    int code;
    int type;
    bool sized = false;
};

// PostgreSQL type OIDs (pg_type.oid), which QPSQL gives as typeID().
constexpr TypeCode PostgresTypes[] = {
    {16, adBoolean},       {17, adLongVarBinary}, {20, adBigInt},         {21, adSmallInt},
    {23, adInteger},       {25, adVarWChar},      {700, adSingle},        {701, adDouble},
    {1042, adWChar, true}, {1043, adVarWChar, true}, {1082, adDBDate},    {1083, adDBTime},
    {1114, adDBTimeStamp}, {1184, adDBTimeStamp}, {1266, adDBTime},       {1700, adNumeric},
    {2950, adGUID},
};

// ODBC's SQL data types, which QODBC gives as typeID(). Long text is text:
// adLongVarWChar with long attributes reads as a hyperlink, and the size a
// driver gives it is a setting of the driver, not the column's.
constexpr TypeCode OdbcTypes[] = {
    {-7, adBoolean},          {-6, adTinyInt},           {5, adSmallInt},        {4, adInteger},
    {-5, adBigInt},           {7, adSingle},             {6, adDouble},          {8, adDouble},
    {2, adNumeric},           {3, adNumeric},            {1, adWChar, true},     {-8, adWChar, true},
    {12, adVarWChar, true},   {-9, adVarWChar, true},    {-1, adVarWChar},       {-10, adVarWChar},
    {-2, adBinary, true},     {-3, adVarBinary, true},   {-4, adLongVarBinary},  {9, adDBDate},
    {91, adDBDate},           {10, adDBTime},            {92, adDBTime},         {11, adDBTimeStamp},
    {93, adDBTimeStamp},      {-11, adGUID},
};

// MySQL's enum_field_types, which QMYSQL gives as typeID(). Text and binary
// strings share codes (QMYSQL's metaType tells them apart); integers are
// left to the metaType, which knows the unsigned ones.
constexpr int MysqlTiny = 1;
constexpr TypeCode MysqlTypes[] = {
    {0, adNumeric},           {246, adNumeric},          {4, adSingle},          {5, adDouble},
    {254, adWChar, true},     {15, adVarWChar, true},    {253, adVarWChar, true}, {249, adVarWChar},
    {250, adVarWChar},        {251, adVarWChar},         {252, adVarWChar},      {10, adDBDate},
    {14, adDBDate},           {11, adDBTime},            {7, adDBTimeStamp},     {12, adDBTimeStamp},
};

template <size_t N>
const TypeCode *find(const TypeCode (&codes)[N], int code)
{
    for (const TypeCode &c : codes) {
        if (c.code == code)
            return &c;
    }
    return nullptr;
}

qint32 lengthOf(const QSqlField &field)
{
    return qint32(qBound(qsizetype(0), field.length(), qsizetype(std::numeric_limits<qint32>::max())));
}

int metaTypeType(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Bool:
        return adBoolean;
    case QMetaType::Char:
    case QMetaType::SChar:
        return adTinyInt;
    case QMetaType::UChar:
        return adUnsignedTinyInt;
    case QMetaType::Short:
        return adSmallInt;
    case QMetaType::UShort:
        return adUnsignedSmallInt;
    case QMetaType::Int:
        return adInteger;
    case QMetaType::UInt:
        return adUnsignedInt;
    case QMetaType::Long:
    case QMetaType::LongLong:
        return adBigInt;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return adUnsignedBigInt;
    case QMetaType::Float:
        return adSingle;
    case QMetaType::Double:
        // Drivers give a scale only for exact numeric columns.
        return field.precision() > 0 ? adNumeric : adDouble;
    case QMetaType::QString:
        return adVarWChar;
    case QMetaType::QByteArray:
        return field.length() > 0 ? adVarBinary : adLongVarBinary;
    case QMetaType::QDate:
        return adDBDate;
    case QMetaType::QTime:
        return adDBTime;
    case QMetaType::QDateTime:
        return adDBTimeStamp;
    case QMetaType::QUuid:
        return adGUID;
    default:
        return adVariant;
    }
}

// Drivers without a table of codes: the metaType, the length as the size,
// and for exact numerics the length and precision as digits and scale.
ColumnType byMetaType(const QSqlField &field)
{
    const int type = metaTypeType(field);
    if (type == adNumeric)
        return {type, 0, lengthOf(field), int(field.precision())};
    return {type, lengthOf(field)};
}

ColumnType byCode(const TypeCode &code, const QSqlField &field)
{
    return {code.type, code.sized ? lengthOf(field) : 0};
}

// QPSQL gives numeric(p,s) as length p and precision s, and ODBC's column
// size of a NUMERIC is its digits, its decimal digits the scale; a plain
// numeric has neither.
ColumnType byCodeWithScale(const TypeCode *code, const QSqlField &field)
{
    if (!code)
        return byMetaType(field);
    if (code->type == adNumeric)
        return {adNumeric, 0, lengthOf(field), int(qMax(qsizetype(0), field.precision()))};
    return byCode(*code, field);
}

ColumnType postgresColumnType(const QSqlField &field)
{
    return byCodeWithScale(find(PostgresTypes, field.typeID()), field);
}

ColumnType odbcColumnType(const QSqlField &field)
{
    return byCodeWithScale(find(OdbcTypes, field.typeID()), field);
}

ColumnType mysqlColumnType(const QSqlField &field, int bytesPerChar)
{
    // MariaDB's BOOLEAN is TINYINT(1), a display width no number column needs.
    if (field.typeID() == MysqlTiny && field.length() == 1)
        return {adBoolean};
    const TypeCode *code = find(MysqlTypes, field.typeID());
    if (!code)
        return byMetaType(field);
    if (code->type == adNumeric) {
        // The display length counts the sign and, with a scale, the point.
        const int scale = int(qMax(qsizetype(0), field.precision()));
        return {adNumeric, 0, qMax(0, lengthOf(field) - 1 - (scale > 0 ? 1 : 0)), scale};
    }
    if (field.metaType().id() == QMetaType::QByteArray) {
        if (!code->sized)
            return {adLongVarBinary};
        return {code->type == adWChar ? adBinary : adVarBinary, lengthOf(field)};
    }
    if (code->sized)
        return {code->type, lengthOf(field) / qMax(1, bytesPerChar)};
    return {code->type};
}

} // namespace

ColumnType sqliteColumnType(const QByteArray &declared)
{
    const QByteArray decl = declared.trimmed().toUpper();
    const qsizetype paren = decl.indexOf('(');
    const QByteArray base = (paren < 0 ? decl : decl.left(paren)).trimmed();
    // The numbers of TYPE(n) or TYPE(p,s).
    int first = 0;
    int second = 0;
    if (paren >= 0) {
        const QList<QByteArray> numbers = decl.mid(paren + 1).split(')').front().split(',');
        first = qMax(0, numbers.front().trimmed().toInt());
        if (numbers.size() > 1)
            second = qMax(0, numbers[1].trimmed().toInt());
    }
    const auto typed = [&](int type) { return ColumnType{type, first, first, second}; };
    static const struct
    {
        const char *name;
        int type;
    } exact[] = {
        {"INTEGER", adBigInt},    {"INT", adBigInt},         {"REAL", adDouble},
        {"FLOAT", adDouble},      {"DOUBLE", adDouble},      {"NUMERIC", adNumeric},
        {"DECIMAL", adNumeric},   {"TEXT", adVarWChar},      {"CHAR", adVarWChar},
        {"VARCHAR", adVarWChar},  {"CLOB", adVarWChar},      {"", adVarWChar},
        {"HYPERLINK", adLongVarWChar}, {"BLOB", adLongVarBinary}, {"DATE", adDBDate},
        {"TIME", adDBTime},       {"DATETIME", adDBTimeStamp}, {"TIMESTAMP", adDBTimeStamp},
        {"BOOLEAN", adBoolean},   {"BOOL", adBoolean},
    };
    for (const auto &e : exact) {
        if (base == e.name)
            return typed(e.type);
    }
    if (decl.contains("INT"))
        return typed(adBigInt);
    if (decl.contains("CHAR") || decl.contains("CLOB") || decl.contains("TEXT"))
        return typed(adVarWChar);
    if (decl.contains("BLOB"))
        return typed(adLongVarBinary);
    if (decl.contains("REAL") || decl.contains("FLOA") || decl.contains("DOUB"))
        return typed(adDouble);
    return typed(adNumeric);
}

SqlDriverKind sqlDriverKind(const QString &driverName)
{
    if (driverName.startsWith(QLatin1String("QPSQL")))
        return SqlDriverKind::Postgres;
    if (driverName.startsWith(QLatin1String("QMYSQL")) || driverName == QLatin1String("QMARIADB"))
        return SqlDriverKind::MySql;
    if (driverName.startsWith(QLatin1String("QODBC")))
        return SqlDriverKind::Odbc;
    return SqlDriverKind::Other;
}

ColumnType serverColumnType(SqlDriverKind driver, const QSqlField &field, int bytesPerChar)
{
    switch (driver) {
    case SqlDriverKind::Postgres:
        return postgresColumnType(field);
    case SqlDriverKind::MySql:
        return mysqlColumnType(field, bytesPerChar);
    case SqlDriverKind::Odbc:
        return odbcColumnType(field);
    case SqlDriverKind::Other:
        break;
    }
    return byMetaType(field);
}

bool mayArriveAsText(int type)
{
    const QLatin1String kind = fieldKindOf(0, qint16(type));
    return kind == QLatin1String("number") || kind == QLatin1String("boolean");
}

QVariant valueFromText(int type, const QString &text)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (type == adBoolean)
        // psqlodbc writes true as 1, or as -1 when told to.
        return ok && (n == 0 || n == 1 || n == -1) ? QVariant(n != 0) : QVariant(text);
    if (ok)
        return QVariant(n);
    const double d = text.toDouble(&ok);
    return ok ? QVariant(d) : QVariant(text);
}

} // namespace zuvexal
