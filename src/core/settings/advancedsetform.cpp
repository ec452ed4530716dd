#include "core/settings/advancedsettings_p.h"
#include "core/settings/advancedsetform_p.h"

#include "core/base/messages.h"
#include "core/base/paths.h"
#include "core/base/sharedvalues.h"
#include "core/base/values_p.h"
#include "core/links/linkactivation_p.h"
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMetaObject>

namespace zuvexal {

AdvancedSetForm::AdvancedSetForm(SharedValues &values, SettingsState &settings, const Registry &registry,
                                 LinkState &links, const Messages &messages)
    : m_values(values), m_state(settings), m_registry(registry), m_links(links), m_messages(messages)
{
}

void AdvancedSetForm::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const QStringList fonts = GetFontNames();
    cboFontNameItems = fonts.size() < 2 ? QStringList{DefaultFontName} : fonts;
    m_state.StoredSettingsText = readStoredSettingsText(m_registry);
    parseSettings(m_state.StoredSettingsText, m_state.Settings);
    showRecord();
}

void AdvancedSetForm::showRecord()
{
    const AdvancedSettings &record = m_state.Settings;
    // Linux rarely has the Windows font names: a stored name that is not in
    // the list stays in the box as typed text, so Apply keeps it.
    cboFontNameIndex = int(cboFontNameItems.indexOf(record.FontName));
    cboFontName = record.FontName;
    lblFontNameFont = record.FontName;
    txtHeaderFooter = {record.HeaderText, record.FooterText};
    if (record.IncludeNotes == 0 || record.IncludeNotes == 1)
        chkNotes = record.IncludeNotes;
    if (record.NotesPosition == 0 || record.NotesPosition == 1)
        OptNotesPosition = record.NotesPosition;
    txtNotes = record.NotesText;
    lblLogo = {record.LogoFile, record.SignatureFile};
    txtLink = {record.WebsiteLink, record.EmailAddress};
    if (record.SumCurrentPageOnly == 0 || record.SumCurrentPageOnly == 1)
        OptPages = record.SumCurrentPageOnly;
    if (record.SaveSettings == 0 || record.SaveSettings == 1)
        chkSave = record.SaveSettings;
}

void AdvancedSetForm::cmdApply_Click()
{
    if (apply())
        Q_EMIT hideRequested();
}

namespace {

QString fieldLostText(int field)
{
    return QCoreApplication::translate("AdvancedSetForm", "%1 may not contain %2, nor start or end with a piece of it.")
        .arg(AdvancedSettings::fieldName(field), SettingsSeparator);
}

} // namespace

AdvancedSettings AdvancedSetForm::recordOfControls() const
{
    AdvancedSettings record = m_state.Settings;
    record.FontName = cboFontName.isEmpty() ? DefaultFontName : cboFontName;
    record.HeaderText = trimBlanks(txtHeaderFooter[0]);
    record.FooterText = trimBlanks(txtHeaderFooter[1]);
    record.IncludeNotes = qint16(chkNotes);
    record.NotesPosition = OptNotesPosition == 0 ? 0 : 1;
    record.NotesText = trimBlanks(txtNotes);
    record.LogoFile = trimBlanks(lblLogo[0]);
    record.SignatureFile = trimBlanks(lblLogo[1]);
    record.WebsiteLink = trimBlanks(txtLink[0]);
    record.EmailAddress = trimBlanks(txtLink[1]);
    record.SumCurrentPageOnly = OptPages == 0 ? 0 : 1;
    record.SaveSettings = qint16(chkSave);
    return record;
}

bool AdvancedSetForm::apply()
{
    ensureLoaded();
    const AdvancedSettings record = recordOfControls();
    // A record to be stored must read back field by field; the window stays
    // open with the record as it was.
    if (record.SaveSettings == 1) {
        if (const std::optional<int> lost = fieldLostInStoredText(record)) {
            m_messages.show(QStringLiteral("ZuVexal"), fieldLostText(*lost), MessagePresenter::Icon::Warning);
            return false;
        }
    }
    m_state.Settings = record;
    m_advSettings = true;
    return true;
}

void AdvancedSetForm::applyWithoutAsking()
{
    ensureLoaded();
    m_state.Settings = recordOfControls();
    m_advSettings = true;
    // Nobody waits for a box here; storeSettings leaves such a record unstored.
    if (m_state.Settings.SaveSettings != 1)
        return;
    if (const std::optional<int> lost = fieldLostInStoredText(m_state.Settings))
        qWarning().noquote() << QStringLiteral("ZuVexal: the report settings are not stored:") << fieldLostText(*lost);
}

void AdvancedSetForm::CancelButton_Click()
{
    m_advSettings = false;
    Q_EMIT hideRequested();
}

void AdvancedSetForm::SaveUserSettings()
{
    storeSettings(m_registry, m_state.Settings);
}

void AdvancedSetForm::cmdLogo_Click(int Index)
{
    const QString pictures = m_values.AppFolder + QStringLiteral("Pictures");
    QDir().mkdir(pictures);
    // The chooser window translates the caption when it shows it.
    const char *caption = Index != 0
        ? QT_TRANSLATE_NOOP("FileChooser", "Select a Jpeg or Gif or Png image to use as Signature in Report")
        : QT_TRANSLATE_NOOP("FileChooser", "Select a Jpeg or Gif or Png image to use as Logo in Report");
    // Linux folders are case-sensitive: the start folder keeps its case.
    QString folder = pictures + QLatin1Char('/');
    bool verify = true;
    QString chosen;
    if (myfControl) {
        QMetaObject::invokeMethod(myfControl, "SupplyFileName", Qt::DirectConnection, Q_RETURN_ARG(QString, chosen),
                                  Q_ARG(QString, QString::fromLatin1(caption)), Q_ARG(QString *, &folder),
                                  Q_ARG(qint16, 2), Q_ARG(bool *, &verify));
    }
    bool picture = false;
    for (const char *extension : {".jpg", ".jpeg", ".jpe", ".gif", ".png"})
        picture = picture || chosen.indexOf(QLatin1String(extension), 1, Qt::CaseInsensitive) >= 0;
    if (!picture)
        chosen.clear();
    if (Index == 0 || Index == 1)
        lblLogo[size_t(Index)] = chosen.isEmpty() ? QString() : ShortPathName(chosen);
}

void AdvancedSetForm::txtLink_F3(int Index)
{
    if (Index != 0 && Index != 1)
        return;
    const QString address = trimBlanks(txtLink[size_t(Index)]);
    if (address.isEmpty())
        return;
    if (Index == 1)
        ActivateLink(m_links, 1, address, false);
    else
        ActivateLink(m_links, 0, address, true);
}

QString AdvancedSetForm::withCrLf(const QString &typed)
{
    return withLf(typed).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QString AdvancedSetForm::withLf(const QString &stored)
{
    return QString(stored).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void AdvancedSetForm::cboFontName_LostFocus()
{
    lblFontNameFont = cboFontName;
}

} // namespace zuvexal
