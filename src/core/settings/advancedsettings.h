#pragma once

#include <QString>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

namespace zuvexal {

// The advanced report settings of the process. The page writer uses them
// while the settings window's Apply is in force. A plain value type (see
// "Value types and the ABI" in the README): its members change only with
// the SONAME.
struct ZUVEXAL_CORE_EXPORT AdvancedSettings
{
    QString FontName;
    QString HeaderText;
    QString FooterText;
    qint16 IncludeNotes = 0;     // notes are written only when 1
    qint16 NotesPosition = 0;    // 0 on top of the first page, 1 at the bottom of the last
    QString NotesText;
    QString LogoFile;
    QString SignatureFile;
    QString WebsiteLink;
    QString EmailAddress;
    qint16 SumCurrentPageOnly = 0;  // 0 sums over all pages, 1 the current page only
    qint16 SaveSettings = 0;        // the record is stored only when 1

    static constexpr int FieldCount = 12;
    // Field names in stored order, for tools that address fields by name.
    static QString fieldName(int index);
    static bool isNumberField(int index);
    QString fieldText(int index) const;
    // Sets a field from text; numbers take the text's leading number,
    // rounded. False for a bad index or a number beyond 16 bits.
    bool setFieldText(int index, const QString &text);
};

// Separator of the stored text; stored texts are exchanged between
// installations, so it never changes.
inline const QString SettingsSeparator = QStringLiteral("**_**");
inline const QString DefaultFontName = QStringLiteral("Times New Roman");
inline const QString SettingsValueName = QStringLiteral("PwInf");

// The stored text of a record. Empty text fields other than FontName are
// set to one blank in the record itself first.
ZUVEXAL_CORE_EXPORT QString composeSettings(AdvancedSettings &record);

// The first field whose text would not read back as it stands once the
// record is stored: it holds the separator, or a piece of it at its edge
// that joins with the separator next to it. Nothing when every field
// survives.
ZUVEXAL_CORE_EXPORT std::optional<int> fieldLostInStoredText(const AdvancedSettings &record);

// Element i of the text goes to field i; missing elements leave their
// fields unchanged. An empty text counts as "Times New Roman".
ZUVEXAL_CORE_EXPORT void parseSettings(const QString &storedText, AdvancedSettings &record);

} // namespace zuvexal
