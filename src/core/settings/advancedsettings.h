#pragma once

#include <QString>

#include <ZuVexal/zuvexalcore_export.h>

#include <optional>

/// \file advancedsettings.h
/// The advanced report settings record and its stored text. Included by
/// `<ZuVexal/AdvancedSettings>`.

namespace zuvexal {

/// The advanced report settings of the process: what the advanced settings
/// window edits and the page writer uses while the window's Apply is in
/// force. A plain value type (see "Value types and the ABI" in the README):
/// its members change only with the SONAME. The fields are listed in stored
/// order.
/// \headerfile advancedsettings.h <ZuVexal/AdvancedSettings>
struct ZUVEXAL_CORE_EXPORT AdvancedSettings
{
    QString FontName;            ///< The font of the report pages.
    QString HeaderText;          ///< The header block of each page.
    QString FooterText;          ///< The footer of each page.
    qint16 IncludeNotes = 0;     ///< Notes are written only when 1.
    qint16 NotesPosition = 0;    ///< 0 on top of the first page, 1 at the bottom of the last.
    QString NotesText;           ///< The notes.
    QString LogoFile;            ///< The picture file of the logo.
    QString SignatureFile;       ///< The picture file of the signature.
    QString WebsiteLink;         ///< The web address of the web line.
    QString EmailAddress;        ///< The e-mail address of the e-mail line.
    qint16 SumCurrentPageOnly = 0;  ///< 0 sums over all pages, 1 the current page only.
    qint16 SaveSettings = 0;        ///< The record is stored only when 1.

    /// The number of fields.
    static constexpr int FieldCount = 12;
    /// The name of field \a index in stored order, for tools that address
    /// fields by name; empty for a bad index.
    static QString fieldName(int index);
    /// True when field \a index is a number (IncludeNotes, NotesPosition,
    /// SumCurrentPageOnly, SaveSettings); false for a text or a bad index.
    static bool isNumberField(int index);
    /// Field \a index as text, a number in decimal; empty for a bad index.
    QString fieldText(int index) const;
    /// Sets field \a index from \a text; numbers take the text's leading
    /// number, rounded half to even. False for a bad index or a number
    /// beyond 16 bits; the field is then left as it was.
    bool setFieldText(int index, const QString &text);
};

/// Separator of the stored text.
// Stored texts are exchanged between installations, so it never changes.
inline const QString SettingsSeparator = QStringLiteral("**_**");
/// The font of a record read from an empty stored text.
inline const QString DefaultFontName = QStringLiteral("Times New Roman");
/// The registry value that holds the stored text.
inline const QString SettingsValueName = QStringLiteral("PwInf");

/// The stored text of a record: its fields' texts joined by SettingsSeparator.
/// \param[in,out] record the record; its empty text fields other than
///        FontName are set to one blank first, and stay so.
ZUVEXAL_CORE_EXPORT QString composeSettings(AdvancedSettings &record);

/// The first field whose text would not read back as it stands once the
/// \a record is stored: it holds the separator, or a piece of it at its
/// edge that joins with the separator next to it. Nothing when every field
/// survives.
ZUVEXAL_CORE_EXPORT std::optional<int> fieldLostInStoredText(const AdvancedSettings &record);

/// Reads a stored text into a record.
/// \param storedText the text; element i goes to field i. An empty text
///        counts as "Times New Roman".
/// \param[in,out] record the record; missing elements, and numbers that do
///        not fit, leave their fields unchanged.
ZUVEXAL_CORE_EXPORT void parseSettings(const QString &storedText, AdvancedSettings &record);

} // namespace zuvexal
