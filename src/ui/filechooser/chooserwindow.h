#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zuvexal {
class FileChooser;
}

namespace zuvexal::ui {

// The file chooser: drives (mounted volumes), folders, the files of a type,
// a name box, a picture preview and the insert buttons. Delete, Esc and
// Enter work wherever the focus is. A view over the process's FileChooser.
class ChooserWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ChooserWindow(FileChooser &chooser, QWidget *parent = nullptr);
    ~ChooserWindow() override;

    // Shows the window modally until the user accepts or cancels.
    void showModal();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLists();
    void buildInsertFrame();
    // Enter and Ok: the name is checked and, when good, the window closes.
    void enter();
    void pullFromChooser();
    void fillFolders();
    void fillFiles();
    void showPreview();

    FileChooser &m_chooser;
    bool m_closing = false;
    QComboBox *m_drives;
    QListWidget *m_folders;
    QLabel *m_folderPath;
    QListWidget *m_files;
    QComboBox *m_types;
    QLineEdit *m_fileName;
    QCheckBox *m_verify;
    QLabel *m_preview;
    QGroupBox *m_insertFrame;
    std::array<QPushButton *, 2> m_insert{};
};

} // namespace zuvexal::ui
