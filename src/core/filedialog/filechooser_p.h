#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QObject;

namespace zuvexal {

class Messages;
struct SharedValues;

// The values of the chooser's controls as each use of the window starts.
struct ChooserControls
{
    QString dir1Path;                 // the folder shown, ending in '/'
    QString drive1;                   // the volume holding it, ending in '/'
    int chkVerify = 0;
    bool chkVerifyVisible = true;
    std::array<bool, 2> cmdInsertVisible{true, true};  // "&Document", "&Background"
    int combo1Index = 0;              // the file types 0..7
    QString caption = QStringLiteral("Supply FileName");
    QString txtFileName;
    QString previewPath;              // the picture shown, "" for none
    bool FrameInsertVisible = true;
};

// The state of the file chooser window, one per process: what the caller
// prepares before showing it and what it returns. Each use starts from the
// controls' initial values; only the target control and the last choice
// carry over to the next use. The window is a view over this object.
class FileChooser : private ChooserControls
{
public:
    FileChooser(const SharedValues &values, const Messages &messages);

    // The host's target control for the insert buttons (may be none).
    QPointer<QObject> GraphicControl;

    // Result of the last use: a full path, or empty when cancelled.
    const QString &chosenFileName() const { return m_chosenFileName; }
    QString chosenPath;
    QString chosenName;

    // Control values.
    const QString &dir1Path() const { return ChooserControls::dir1Path; }
    bool setDir1Path(const QString &folder);   // false for a folder that does not exist
    const QString &drive1() const { return ChooserControls::drive1; }
    bool setDrive1(const QString &path);       // the volume holding `path`; false when none
    using ChooserControls::chkVerify;
    using ChooserControls::chkVerifyVisible;
    using ChooserControls::cmdInsertVisible;
    int combo1Index() const { return ChooserControls::combo1Index; }
    ZUVEXAL_CORE_EXPORT bool setCombo1Index(int index);            // the file types 0..7
    using ChooserControls::caption;
    using ChooserControls::txtFileName;
    using ChooserControls::previewPath;
    using ChooserControls::FrameInsertVisible;
    // "All", "Documents", ... (Combo1). The window translates them, and the
    // caption, when it shows them, in the context "FileChooser": callers
    // pass captions in the source language, since a "Save As" caption also
    // decides that the file need not exist.
    ZUVEXAL_CORE_EXPORT static const QStringList FileTypeNames;

    // The files of Dir1 that match the type of Combo1, sorted by name.
    ZUVEXAL_CORE_EXPORT QStringList flbPhoto() const;
    // The sub-folders of Dir1 (with ".." to go up), sorted by name.
    ZUVEXAL_CORE_EXPORT QStringList dir1Folders() const;
    // Mounted volumes (the drive list).
    ZUVEXAL_CORE_EXPORT static QStringList drives();

    // Handlers. Those that may close the window return true when it closes.
    ZUVEXAL_CORE_EXPORT void Form_Activate();
    ZUVEXAL_CORE_EXPORT bool Drive1_Change(const QString &drive);  // false: "Drive Error" shown
    bool Dir1_Change(const QString &folder);
    // A folder of the folder list chosen by its name (".." goes up).
    ZUVEXAL_CORE_EXPORT bool Dir1_Open(const QString &name);
    ZUVEXAL_CORE_EXPORT void flbPhoto_Click(const QString &name);
    ZUVEXAL_CORE_EXPORT void keyDelete();
    ZUVEXAL_CORE_EXPORT bool keyEnter();                           // Enter and Ok
    ZUVEXAL_CORE_EXPORT void keyEscape();                          // Esc and Cancel
    ZUVEXAL_CORE_EXPORT void closeBox();
    ZUVEXAL_CORE_EXPORT void cmdInsert_Click(int Index);

    bool isLoaded() const { return m_loaded; }
    // Loads the window state when needed: the controls' initial values, in
    // the folder of the last chosen file, else the application folder.
    void ensureLoaded();
    // Ends a use of the window; the chosen path becomes the result.
    void unload();

    // The input focus goes back to the file name box.
    std::function<void()> focusFileName;

private:
    void insertInto(QObject *target, int Index) const;

    const SharedValues &m_values;
    const Messages &m_messages;
    QString m_chosenFileName;
    bool m_loaded = false;
};

} // namespace zuvexal
