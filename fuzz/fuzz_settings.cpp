// The stored advanced settings text: a record the store accepts (no field
// lost in its stored text) parses back to the same record and composes to
// the same text; a record it refuses really would lose a field.
#include "fuzzsupport.h"

#include "core/settings/advancedsettings.h"

using namespace zuvexal;

namespace {

QString describe(const AdvancedSettings &record)
{
    QString text;
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i)
        text += AdvancedSettings::fieldName(i) + u'=' + record.fieldText(i) + u'\n';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString stored = fuzz::textOf(QByteArrayView(data, qsizetype(size)));
    AdvancedSettings record;
    parseSettings(stored, record);
    record.SaveSettings = 1;
    const std::optional<int> lost = fieldLostInStoredText(record);
    const QString composed = composeSettings(record);

    AdvancedSettings again;
    parseSettings(composed, again);
    bool same = true;
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i)
        same = same && again.fieldText(i) == record.fieldText(i);
    fuzz::require(same == !lost, "a field is reported lost exactly when it does not survive",
                  stored + u'\n' + describe(record) + describe(again));
    if (same)
        fuzz::require(composeSettings(again) == composed, "composing the parsed text gives the text", stored);
    return 0;
}
