#include "cli.h"

#include "core/recordset/fieldkind.h"
#include "core/recordset/sqladapter.h"

#include <QTextStream>

namespace zuvexal::cli {

int runFields(const QStringList &args)
{
    QCommandLineParser parser;
    const DatabaseOptions options;
    options.addTo(parser);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Lists the fields of a table or query: name, ADO type code, "
                                                "defined size, attributes and field kind, tab-separated.")))
        return *exit;

    const OpenedDatabase opened = openDatabase(parser, options);
    if (opened.failure)
        return *opened.failure;
    const LoadResult loaded = parser.isSet(options.table)
        ? loadTable(opened.db, parser.value(options.table))
        : loadQuery(opened.db, parser.value(options.query));
    if (!loaded.records)
        return fail(loaded.error);

    QTextStream out(stdout);
    out << "name\ttype\tsize\tattributes\tkind\n";
    const RecordSet &records = *loaded.records;
    for (int i = 0; i < records.fieldCount(); ++i) {
        const Field &field = records.field(i);
        out << field.name << '\t' << field.type << '\t' << field.definedSize << '\t' << field.attributes << '\t'
            << FieldKind(qint16(field.attributes), qint16(field.type)) << '\n';
    }
    return ExitOk;
}

} // namespace zuvexal::cli
