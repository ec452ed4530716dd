#include "cli.h"

#include "core/settings/advancedsettings.h"
#include "core/settings/registry.h"

#include <QTextStream>

namespace zuvexal::cli {

namespace {

int fieldIndex(const QString &name)
{
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i) {
        if (AdvancedSettings::fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toShort(&ok);
    return ok;
}

} // namespace

int runSettings(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption registryOption(QStringLiteral("registry"),
                                            QStringLiteral("Registry file to use instead of the machine's."),
                                            QStringLiteral("PATH"));
    parser.addOption(registryOption);
    if (auto exit = parseCommand(parser, args,
                                 QStringLiteral("Shows or changes the stored advanced report settings."),
                                 QStringLiteral("action"),
                                 QStringLiteral("show: print each field as Name=value, then the stored text.\n"
                                                "set NAME=VALUE...: change fields and store the record.")))
        return *exit;

    const Registry registry = parser.isSet(registryOption) ? Registry(parser.value(registryOption), QString())
                                                           : Registry::fromEnvironment();

    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    const QString stored = ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, SettingsValueName);
    AdvancedSettings record;
    parseSettings(stored, record);

    if (action == QLatin1String("show") && positional.size() == 1) {
        QTextStream out(stdout);
        for (int i = 0; i < AdvancedSettings::FieldCount; ++i)
            out << AdvancedSettings::fieldName(i) << '=' << record.fieldText(i) << '\n';
        out << SettingsValueName << '=' << stored << '\n';
        return ExitOk;
    }
    if (action != QLatin1String("set"))
        return fail(QStringLiteral("expected 'show' or 'set NAME=VALUE...' (see zuvexal settings --help)"));
    if (positional.size() < 2)
        return fail(QStringLiteral("settings set needs at least one NAME=VALUE"));

    for (const QString &assignment : positional.mid(1)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        const int index = fieldIndex(assignment.left(equals));
        if (equals < 0 || index < 0)
            return fail(QStringLiteral("unknown settings field: %1").arg(assignment.left(equals)));
        const QString value = assignment.mid(equals + 1);
        if (AdvancedSettings::isNumberField(index) && !isWholeNumber(value))
            return fail(QStringLiteral("%1 needs a whole number, not '%2'")
                            .arg(AdvancedSettings::fieldName(index), value));
        record.setFieldText(index, value);
    }
    record.SaveSettings = 1;
    // The stored text joins fields with the separator, so no field may hold
    // it, nor a piece of it at its edge.
    if (const std::optional<int> lost = fieldLostInStoredText(record))
        return fail(QStringLiteral("%1 may not contain %2 or end or start with a piece of it: nothing stored")
                        .arg(AdvancedSettings::fieldName(*lost), SettingsSeparator));
    if (!SaveRegSetting(registry, composeSettings(record), SettingsValueName))
        return fail(QStringLiteral("cannot write the registry file %1").arg(registry.machineFile().path()));
    return ExitOk;
}

} // namespace zuvexal::cli
