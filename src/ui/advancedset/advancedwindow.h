#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;

namespace zuvexal {
class AdvancedSetForm;
}

namespace zuvexal::ui {

// The advanced settings window: font, header and footer, links, notes,
// logo and signature, sum fields and the scope of a run. A view over the
// process's AdvancedSetForm; Apply and Cancel hide it.
class AdvancedWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AdvancedWindow(AdvancedSetForm &form, QWidget *parent = nullptr);

    // Loads the form and shows the window modally until Apply or Cancel.
    void showModal();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QGridLayout *buildTextBoxes();
    QHBoxLayout *buildNotesRow();
    QGridLayout *buildPictures();
    QGroupBox *buildScope();
    QGroupBox *buildConfirm();
    void pushToForm();
    void pullFromForm();
    void showFontPreview();

    AdvancedSetForm &m_form;
    QLabel *m_fontPreview;
    QComboBox *m_font;
    std::array<QLineEdit *, 2> m_headerFooter{};
    std::array<QLineEdit *, 2> m_links{};
    QCheckBox *m_notes;
    std::array<QRadioButton *, 2> m_notesPosition{};
    QPlainTextEdit *m_notesText;
    std::array<QLabel *, 2> m_logos{};
    std::array<QRadioButton *, 2> m_pages{};
    QListWidget *m_fields;
    QCheckBox *m_save;
};

} // namespace zuvexal::ui
