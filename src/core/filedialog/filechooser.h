#pragma once

#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class QObject;

namespace zuvexal {

// The state of the file chooser window, one per process: what the caller
// prepares before showing it and what it returns. The window is a view over
// this object; without a window nothing can be chosen.
class FileChooser
{
public:
    // The host's target control for the insert buttons (may be none).
    QPointer<QObject> GraphicControl;

    // Result of the last use: a full path, or empty when cancelled.
    const QString &chosenFileName() const { return m_chosenFileName; }
    QString chosenPath;
    QString chosenName;

    // Control values.
    const QString &dir1Path() const { return m_dir1Path; }
    bool setDir1Path(const QString &folder);   // false for a folder that does not exist
    const QString &drive1() const { return m_drive1; }
    bool setDrive1(const QString &path);       // the volume holding `path`; false when none
    int chkVerify = 0;
    bool chkVerifyVisible = true;
    std::array<bool, 2> cmdInsertVisible{true, true};  // "&Document", "&Background"
    int combo1Index() const { return m_combo1Index; }
    bool setCombo1Index(int index);            // the file types 0..7
    QString caption = QStringLiteral("Supply FileName");

    QString txtFileName;
    QString previewPath;               // the picture shown, "" for none
    bool FrameInsertVisible = true;
    static const QStringList FileTypeNames;  // "All", "Documents", ... (Combo1)

    // The files of Dir1 that match the type of Combo1, sorted by name.
    QStringList flbPhoto() const;
    // Mounted volumes (the drive list).
    static QStringList drives();

    // Handlers. Those that may close the window return true when it closes.
    void Form_Activate();
    bool Drive1_Change(const QString &drive);  // false: "Drive Error" shown
    bool Dir1_Change(const QString &folder);
    void flbPhoto_Click(const QString &name);
    void keyDelete();
    bool keyEnter();                           // Enter and Ok
    void keyEscape();                          // Esc and Cancel
    void closeBox();
    void cmdInsert_Click(int Index);

    bool isLoaded() const { return m_loaded; }
    // Loads the window state when needed: the folder of the last chosen file,
    // else the application folder.
    void ensureLoaded();
    // Ends a use of the window; the chosen path becomes the result.
    void unload();

    // Shows the window modally and returns when it has closed; the window
    // layer installs it. False when no window can be shown.
    using Presenter = std::function<bool(FileChooser &)>;
    // The input focus goes back to the file name box.
    std::function<void()> focusFileName;
    static void setPresenter(Presenter presenter);
    bool showModal();

private:
    QString m_chosenFileName;
    QString m_dir1Path;
    QString m_drive1;
    int m_combo1Index = 0;
    bool m_loaded = false;
};

// The process's chooser, created on first use.
FileChooser &fileChooser();
// Forgets the chooser (a control terminates); the next use starts anew.
void releaseFileChooser();

} // namespace zuvexal
