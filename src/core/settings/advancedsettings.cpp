#include "core/settings/advancedsettings_p.h"

#include "core/base/values_p.h"
#include "core/settings/registry.h"

#include <array>
#include <cmath>
#include <limits>

namespace zuvexal {

namespace {

enum class Kind { Text, Number };

struct FieldDef
{
    const char *name;
    Kind kind;
    QString AdvancedSettings::*text = nullptr;
    qint16 AdvancedSettings::*number = nullptr;
};

const std::array<FieldDef, AdvancedSettings::FieldCount> &fields()
{
    using A = AdvancedSettings;
    static const std::array<FieldDef, A::FieldCount> table = {{
        {"FontName", Kind::Text, &A::FontName},
        {"HeaderText", Kind::Text, &A::HeaderText},
        {"FooterText", Kind::Text, &A::FooterText},
        {"IncludeNotes", Kind::Number, nullptr, &A::IncludeNotes},
        {"NotesPosition", Kind::Number, nullptr, &A::NotesPosition},
        {"NotesText", Kind::Text, &A::NotesText},
        {"LogoFile", Kind::Text, &A::LogoFile},
        {"SignatureFile", Kind::Text, &A::SignatureFile},
        {"WebsiteLink", Kind::Text, &A::WebsiteLink},
        {"EmailAddress", Kind::Text, &A::EmailAddress},
        {"SumCurrentPageOnly", Kind::Number, nullptr, &A::SumCurrentPageOnly},
        {"SaveSettings", Kind::Number, nullptr, &A::SaveSettings},
    }};
    return table;
}

} // namespace

QString AdvancedSettings::fieldName(int index)
{
    if (index < 0 || index >= FieldCount)
        return {};
    return QString::fromLatin1(fields()[size_t(index)].name);
}

bool AdvancedSettings::isNumberField(int index)
{
    return index >= 0 && index < FieldCount && fields()[size_t(index)].kind == Kind::Number;
}

QString AdvancedSettings::fieldText(int index) const
{
    if (index < 0 || index >= FieldCount)
        return {};
    const FieldDef &def = fields()[size_t(index)];
    return def.kind == Kind::Text ? this->*def.text : QString::number(this->*def.number);
}

bool AdvancedSettings::setFieldText(int index, const QString &text)
{
    if (index < 0 || index >= FieldCount)
        return false;
    const FieldDef &def = fields()[size_t(index)];
    if (def.kind == Kind::Text) {
        this->*def.text = text;
        return true;
    }
    // Rounded half to even, as the stored numbers always were.
    const double value = std::nearbyint(leadingNumber(text));
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return false;
    this->*def.number = qint16(value);
    return true;
}

QString composeSettings(AdvancedSettings &record)
{
    for (QString *text : {&record.HeaderText, &record.FooterText, &record.NotesText, &record.LogoFile,
                          &record.SignatureFile, &record.WebsiteLink, &record.EmailAddress}) {
        if (text->isEmpty())
            *text = QStringLiteral(" ");
    }
    QStringList elements;
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i)
        elements << record.fieldText(i);
    return elements.join(SettingsSeparator);
}

std::optional<int> fieldLostInStoredText(const AdvancedSettings &record)
{
    AdvancedSettings stored = record;
    AdvancedSettings readBack;
    parseSettings(composeSettings(stored), readBack);
    for (int i = 0; i < AdvancedSettings::FieldCount; ++i) {
        if (readBack.fieldText(i) != stored.fieldText(i))
            return i;
    }
    return std::nullopt;
}

bool storeSettings(const Registry &registry, AdvancedSettings &record)
{
    // A record whose stored text would shift its fields is never stored:
    // other installations read that text too.
    if (record.SaveSettings != 1 || fieldLostInStoredText(record))
        return false;
    SaveRegSetting(registry, composeSettings(record), SettingsValueName);
    return true;
}

void parseSettings(const QString &storedText, AdvancedSettings &record)
{
    const QString text = storedText.isEmpty() ? DefaultFontName : storedText;
    const QStringList elements = text.split(SettingsSeparator);
    for (int i = 0; i < AdvancedSettings::FieldCount && i < elements.size(); ++i)
        record.setFieldText(i, elements[i]);
}

QString readStoredSettingsText(const Registry &registry)
{
    const QString text = ReadRegSetting(registry, HKEY_LOCAL_MACHINE, BaseKeyPath, SettingsValueName);
    return text.isEmpty() ? DefaultFontName : text;
}

void LoadStoredSettings(const Registry &registry, SettingsState &state)
{
    state.StoredSettingsText = readStoredSettingsText(registry);
}

} // namespace zuvexal
