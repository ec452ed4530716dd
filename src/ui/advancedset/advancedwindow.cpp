#include "ui/advancedset/advancedwindow.h"

#include "core/settings/advancedsetform_p.h"
#include "ui/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zuvexal::ui {

AdvancedWindow::AdvancedWindow(AdvancedSetForm &form, QWidget *parent) : QDialog(parent), m_form(form)
{
    setObjectName(QStringLiteral("VexalAdvancedSet"));
    setWindowTitle(tr("Advanced settings for report customization"));
    setModal(true);

    // Built in the order of the focus chain.
    QGridLayout *textBoxes = buildTextBoxes();
    QHBoxLayout *notesRow = buildNotesRow();
    m_notesText = named(new QPlainTextEdit(this), QStringLiteral("txtNotes"),
                        tr("Notes to include in report on top of first page or at bottom of last page"));
    m_notesText->installEventFilter(this);
    m_notesText->setAccessibleName(tr("Notes"));
    QGridLayout *pictures = buildPictures();
    QGroupBox *scope = buildScope();
    m_fields = named(new QListWidget(this), QStringLiteral("lstFields"));
    m_fields->setSelectionMode(QAbstractItemView::MultiSelection);
    QGroupBox *confirm = buildConfirm();

    auto *sums = new QVBoxLayout;
    auto *markLabel = named(new QLabel(tr("Mark the Fields to Sum in report"), this), QStringLiteral("lblMark"));
    markLabel->setBuddy(m_fields);
    // A list takes no name from its buddy.
    m_fields->setAccessibleName(markLabel->text());
    sums->addWidget(markLabel);
    sums->addWidget(m_fields);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(sums, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(scope);
    side->addStretch();
    bottom->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(textBoxes);
    layout->addLayout(notesRow);
    layout->addWidget(m_notesText);
    layout->addLayout(pictures);
    layout->addLayout(bottom);
    layout->addWidget(confirm);
    resize(640, 560);
    connect(&m_form, &AdvancedSetForm::hideRequested, this, &QDialog::accept);
}

QGridLayout *AdvancedWindow::buildTextBoxes()
{
    m_fontPreview = named(new QLabel(tr("Font"), this), QStringLiteral("lblFontName"));
    m_font = named(new QComboBox(this), QStringLiteral("cboFontName"), tr("select a font"));
    // Linux rarely has the Windows fonts: a typed name is kept.
    m_font->setEditable(true);
    m_font->installEventFilter(this);
    // Screen readers name a control after the label that is its buddy; the
    // editable box's own text field needs the name too.
    m_fontPreview->setBuddy(m_font);
    m_font->lineEdit()->setAccessibleName(tr("Font"));
    const QStringList headerTips{tr("Project ABC, Ref 123"), tr("\u00a9 myCompanyName")};
    const QStringList linkTips{tr("http://www.fictitious-company.example"),
                               tr("sales@fictitious-company.example")};
    auto *grid = new QGridLayout;
    grid->addWidget(m_fontPreview, 0, 0);
    grid->addWidget(m_font, 0, 1, 1, 3);
    for (int i = 0; i < 2; ++i) {
        m_headerFooter[size_t(i)] = named(new QLineEdit(this), QStringLiteral("txtHeaderFooter%1").arg(i), headerTips[i]);
        m_links[size_t(i)] = named(new QLineEdit(this), QStringLiteral("txtLink%1").arg(i), linkTips[i]);
        auto *headerLabel = named(new QLabel(i == 0 ? tr("Header") : tr("Footer"), this),
                                  QStringLiteral("lblHeaderFooter%1").arg(i));
        headerLabel->setBuddy(m_headerFooter[size_t(i)]);
        auto *linkLabel = named(new QLabel(i == 0 ? tr("Website") : tr("E-mail"), this),
                                QStringLiteral("lblLink%1").arg(i), tr("press F3 to launch"));
        linkLabel->setBuddy(m_links[size_t(i)]);
        grid->addWidget(headerLabel, 1 + i, 0);
        grid->addWidget(m_headerFooter[size_t(i)], 1 + i, 1);
        grid->addWidget(linkLabel, 1 + i, 2);
        grid->addWidget(m_links[size_t(i)], 1 + i, 3);
        m_headerFooter[size_t(i)]->installEventFilter(this);
        m_links[size_t(i)]->installEventFilter(this);
    }
    return grid;
}

QHBoxLayout *AdvancedWindow::buildNotesRow()
{
    m_notes = named(new QCheckBox(tr("Include Notes"), this), QStringLiteral("chkNotes"));
    m_notesPosition = {named(new QRadioButton(tr("On &Top"), this), QStringLiteral("OptNotesPosition0")),
                       named(new QRadioButton(tr("At &Buttom"), this), QStringLiteral("OptNotesPosition1"))};
    auto *row = new QHBoxLayout;
    row->addWidget(m_notes);
    row->addWidget(m_notesPosition[0]);
    row->addWidget(m_notesPosition[1]);
    row->addStretch();
    return row;
}

QGridLayout *AdvancedWindow::buildPictures()
{
    auto *pictures = new QGridLayout;
    const QStringList captions{tr("&Logo"), tr("&Signature")};
    const QStringList tips{tr("image file like company logo for first page"),
                           tr("image file for your signature or photograph")};
    for (int i = 0; i < 2; ++i) {
        auto *choose = named(new QPushButton(captions[i], this), QStringLiteral("cmdLogo%1").arg(i), tips[i]);
        choose->setAutoDefault(false);
        m_logos[size_t(i)] = named(new QLabel(this), QStringLiteral("lblLogo%1").arg(i));
        pictures->addWidget(choose, i, 0);
        pictures->addWidget(m_logos[size_t(i)], i, 1);
        connect(choose, &QPushButton::clicked, this, [this, i] {
            pushToForm();
            m_form.cmdLogo_Click(i);
            pullFromForm();
        });
    }
    return pictures;
}

QGroupBox *AdvancedWindow::buildScope()
{
    auto *scope = named(new QGroupBox(tr("Report on"), this), QStringLiteral("Frame2"));
    m_pages = {named(new QRadioButton(tr("&All Pages"), scope), QStringLiteral("OptPages0")),
               named(new QRadioButton(tr("&Current Page"), scope), QStringLiteral("OptPages1"))};
    auto *layout = new QVBoxLayout(scope);
    layout->addWidget(m_pages[0]);
    layout->addWidget(m_pages[1]);
    return scope;
}

QGroupBox *AdvancedWindow::buildConfirm()
{
    auto *confirm = named(new QGroupBox(tr("Confirm settings"), this), QStringLiteral("Frame3"));
    m_save = named(new QCheckBox(tr("Save settings"), confirm), QStringLiteral("chkSave"));
    auto *apply = named(new QPushButton(tr("Apply"), confirm), QStringLiteral("cmdApply"));
    apply->setDefault(true);
    auto *cancel = named(new QPushButton(tr("Cancel"), confirm), QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    auto *layout = new QHBoxLayout(confirm);
    layout->addWidget(m_save);
    layout->addStretch();
    layout->addWidget(apply);
    layout->addWidget(cancel);
    connect(apply, &QPushButton::clicked, this, [this] {
        pushToForm();
        m_form.cmdApply_Click();
    });
    connect(cancel, &QPushButton::clicked, this, &AdvancedWindow::reject);
    return confirm;
}

void AdvancedWindow::showFontPreview()
{
    QFont preview = m_fontPreview->font();
    preview.setFamily(m_form.lblFontNameFont);
    m_fontPreview->setFont(preview);
}

void AdvancedWindow::showModal()
{
    m_form.ensureLoaded();
    pullFromForm();
    exec();
}

void AdvancedWindow::reject()
{
    pushToForm();
    m_form.CancelButton_Click();
}

bool AdvancedWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Entering a box selects its whole text.
    if (event->type() == QEvent::FocusIn) {
        if (auto *line = qobject_cast<QLineEdit *>(watched))
            QMetaObject::invokeMethod(line, &QLineEdit::selectAll, Qt::QueuedConnection);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(watched))
            QMetaObject::invokeMethod(text, &QPlainTextEdit::selectAll, Qt::QueuedConnection);
    }
    if (event->type() == QEvent::FocusOut && watched == m_font) {
        m_form.cboFontName = m_font->currentText();
        m_form.cboFontName_LostFocus();
        showFontPreview();
    }
    // F3 in a link box opens the link, whatever the modifier keys.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F3) {
        for (int i = 0; i < 2; ++i) {
            if (watched == m_links[size_t(i)]) {
                pushToForm();
                m_form.txtLink_F3(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AdvancedWindow::pushToForm()
{
    m_form.cboFontName = m_font->currentText();
    m_form.cboFontNameIndex = m_font->currentIndex();
    for (size_t i = 0; i < 2; ++i) {
        m_form.txtHeaderFooter[i] = m_headerFooter[i]->text();
        m_form.txtLink[i] = m_links[i]->text();
        m_form.lblLogo[i] = m_logos[i]->text();
    }
    m_form.chkNotes = m_notes->isChecked() ? 1 : 0;
    m_form.OptNotesPosition = m_notesPosition[1]->isChecked() ? 1 : 0;
    m_form.txtNotes = AdvancedSetForm::withCrLf(m_notesText->toPlainText());
    m_form.OptPages = m_pages[1]->isChecked() ? 1 : 0;
    m_form.chkSave = m_save->isChecked() ? 1 : 0;
    for (int i = 0; i < m_fields->count() && i < m_form.lstFields.size(); ++i)
        m_form.lstFields[i].selected = m_fields->item(i)->isSelected();
}

void AdvancedWindow::pullFromForm()
{
    m_font->clear();
    m_font->addItems(m_form.cboFontNameItems);
    m_font->setCurrentIndex(m_form.cboFontNameIndex);
    m_font->setEditText(m_form.cboFontName);
    for (size_t i = 0; i < 2; ++i) {
        m_headerFooter[i]->setText(m_form.txtHeaderFooter[i]);
        m_links[i]->setText(m_form.txtLink[i]);
        m_logos[i]->setText(m_form.lblLogo[i]);
    }
    m_notes->setChecked(m_form.chkNotes == 1);
    m_notesPosition[size_t(m_form.OptNotesPosition == 1 ? 1 : 0)]->setChecked(true);
    m_notesText->setPlainText(AdvancedSetForm::withLf(m_form.txtNotes));
    m_pages[size_t(m_form.OptPages == 1 ? 1 : 0)]->setChecked(true);
    m_save->setChecked(m_form.chkSave == 1);
    m_fields->clear();
    for (const ListItem &item : std::as_const(m_form.lstFields)) {
        m_fields->addItem(item.text);
        m_fields->item(m_fields->count() - 1)->setSelected(item.selected);
    }
    showFontPreview();
}

} // namespace zuvexal::ui
