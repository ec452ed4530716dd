#include "cli.h"

#include "core/recordset/fieldkind.h"

#include <QTextStream>

namespace zuvexal::cli {

int runFields(const QStringList &args)
{
    QCommandLineParser parser;
    const DatabaseOptions options;
    options.addTo(parser);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Lists the fields of a table or query: name, ADO type code, "
                                                "defined size, attributes, field kind, and the precision and scale "
                                                "of exact numerics, tab-separated.")))
        return *exit;

    const LoadedRecords loaded = loadRecords(parser, options);
    if (loaded.failure)
        return *loaded.failure;

    QTextStream out(stdout);
    out << "name\ttype\tsize\tattributes\tkind\tprecision\tscale\n";
    const RecordSet &records = *loaded.records;
    for (int i = 0; i < records.fieldCount(); ++i) {
        const Field &field = records.field(i);
        out << field.name << '\t' << field.type << '\t' << field.definedSize << '\t' << field.attributes << '\t'
            << FieldKind(qint16(field.attributes), qint16(field.type)) << '\t' << field.precision << '\t'
            << field.numericScale << '\n';
    }
    return ExitOk;
}

} // namespace zuvexal::cli
