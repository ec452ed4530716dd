#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include "core/base/listitem.h"
#include "core/settings/advancedsettings_p.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>

namespace zuvexal {

class Messages;
class Registry;
struct LinkState;
struct SharedValues;

// The state and handlers of the advanced settings window, one per process.
// Apply copies the controls into the shared AdvancedSettings record and puts
// it in force; the report window stores it when it closes. The window is a
// view over this object.
class ZUVEXAL_CORE_EXPORT AdvancedSetForm : public QObject
{
    Q_OBJECT

public:
    // The form reads and writes the process's shared values, settings
    // record, registry and link state; all of them outlive it.
    AdvancedSetForm(SharedValues &values, SettingsState &settings, const Registry &registry, LinkState &links,
                    const Messages &messages);

    // The record in force and the stored text as last read.
    SettingsState &state() { return m_state; }
    const SettingsState &state() const { return m_state; }

    // The control as its host sees it; the windows call it by member name.
    QPointer<QObject> myfControl;
    // Numeric fields to sum; a selected item is summed. Never stored.
    ListItems lstFields;
    // True once Apply ran since this object was created; false after Cancel.
    bool AdvSettings() const { return m_advSettings; }

    // Control values.
    QStringList cboFontNameItems;
    QString cboFontName;               // the box's text; typed names are kept
    int cboFontNameIndex = -1;         // the selected item, -1 for none
    QString lblFontNameFont;           // the font face the preview label shows
    std::array<QString, 2> txtHeaderFooter;
    std::array<QString, 2> txtLink;    // website, e-mail
    int chkNotes = 0;
    int OptNotesPosition = 0;          // 0 "On &Top", 1 "At &Buttom"
    QString txtNotes;
    std::array<QString, 2> lblLogo;    // logo, signature paths
    int OptPages = 0;                  // 0 "&All Pages", 1 "&Current Page"
    int chkSave = 1;

    bool isLoaded() const { return m_loaded; }
    // Fonts, stored settings parsed into the record, record shown.
    void ensureLoaded();

    // Apply, then the window hides.
    void cmdApply_Click();
    // Copies the controls into the record and puts it in force; false when
    // a field of a record to be stored would not read back (the record
    // stays as it was, after a message).
    bool apply();
    // Apply as the unattended run makes it, asking nobody: the record is put
    // in force whatever it holds. A field the stored text cannot hold is
    // said on Qt's log; such a record is never stored.
    void applyWithoutAsking();
    void CancelButton_Click();
    // Stores the record when its SaveSettings is 1.
    void SaveUserSettings();
    // Picks the logo (0) or signature (1) picture through the control's
    // SupplyFileName.
    void cmdLogo_Click(int Index);
    // F3 in a link box opens the address.
    void txtLink_F3(int Index);
    // The font box lost the focus: the preview takes its text.
    void cboFontName_LostFocus();

    // A text box on Linux breaks lines with LF where the stored texts, and
    // the notes' conversion to HTML, have CR LF.
    static QString withCrLf(const QString &typed);
    static QString withLf(const QString &stored);

Q_SIGNALS:
    void hideRequested();

private:
    void showRecord();
    // The record as Apply puts it in force, from the controls.
    AdvancedSettings recordOfControls() const;

    SharedValues &m_values;
    SettingsState &m_state;
    const Registry &m_registry;
    LinkState &m_links;
    const Messages &m_messages;
    bool m_advSettings = false;
    bool m_loaded = false;
};

} // namespace zuvexal
