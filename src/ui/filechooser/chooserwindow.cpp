#include "ui/filechooser/chooserwindow.h"

#include "core/filedialog/filechooser_p.h"
#include "ui/named.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zuvexal::ui {

namespace {

QPushButton *plainButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

ChooserWindow::ChooserWindow(FileChooser &chooser, QWidget *parent) : QDialog(parent), m_chooser(chooser)
{
    setObjectName(QStringLiteral("VexalPhotoTabStrip"));
    setModal(true);
    // Built in the order of the focus chain.
    buildLists();
    m_fileName = named(new QLineEdit(this), QStringLiteral("txtFileName"), tr("meaningful filename?"));
    m_fileName->setAccessibleName(tr("File name"));
    m_verify = named(new QCheckBox(tr("Verify that the file exists"), this), QStringLiteral("chkVerify"));
    m_preview = named(new QLabel(this), QStringLiteral("ImgChosenPhoto"),
                      tr("Preview selected picture or press Delete to clear"));
    m_preview->setFixedSize(160, 160);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    buildInsertFrame();
    QPushButton *ok = plainButton(tr("Ok"), QStringLiteral("cmdOk"), this);
    QPushButton *cancel = plainButton(tr("Cancel"), QStringLiteral("cmdCancel"), this);
    m_folderPath = named(new QLabel(this), QStringLiteral("lblFolder"));

    auto *lists = new QGridLayout;
    lists->addWidget(m_folderPath, 2, 0, 1, 3);
    lists->addWidget(m_drives, 0, 0);
    lists->addWidget(m_types, 0, 1);
    lists->addWidget(m_folders, 1, 0);
    lists->addWidget(m_files, 1, 1);
    lists->addWidget(m_preview, 1, 2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_fileName, 1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(m_verify);
    layout->addWidget(m_insertFrame);
    layout->addLayout(bottom);
    resize(640, 420);

    // Every key of the window passes here first.
    for (QWidget *widget : findChildren<QWidget *>())
        widget->installEventFilter(this);
    installEventFilter(this);

    m_chooser.focusFileName = [this] { m_fileName->setFocus(); };
    connect(ok, &QPushButton::clicked, this, &ChooserWindow::enter);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_chooser.keyEscape();
        accept();
    });
}

void ChooserWindow::buildLists()
{
    m_drives = named(new QComboBox(this), QStringLiteral("Drive1"), tr("Select drive"));
    m_folders = named(new QListWidget(this), QStringLiteral("Dir1"), tr("Select folder"));
    m_files = named(new QListWidget(this), QStringLiteral("flbPhoto"), tr("Select File"));
    // The lists have no labels of their own: their names for screen readers.
    m_folders->setAccessibleName(tr("Folders"));
    m_files->setAccessibleName(tr("Files"));
    m_types = named(new QComboBox(this), QStringLiteral("Combo1"), tr("File Type"));
    for (const QString &type : FileChooser::FileTypeNames)
        m_types->addItem(QCoreApplication::translate("FileChooser", type.toUtf8().constData()));
    connect(m_drives, &QComboBox::textActivated, this, [this](const QString &drive) {
        m_chooser.Drive1_Change(drive);
        pullFromChooser();
    });
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        m_chooser.Dir1_Open(item->text());
        pullFromChooser();
    });
    // A click, or moving the selection with the keyboard, picks the file.
    const auto pick = [this](QListWidgetItem *item) {
        if (!item)
            return;
        m_chooser.flbPhoto_Click(item->text());
        m_fileName->setText(m_chooser.txtFileName);
        showPreview();
    };
    connect(m_files, &QListWidget::itemClicked, this, pick);
    connect(m_files, &QListWidget::currentItemChanged, this, pick);
    connect(m_types, &QComboBox::activated, this, [this](int index) {
        m_chooser.setCombo1Index(index);
        fillFiles();
    });
}

void ChooserWindow::buildInsertFrame()
{
    m_insertFrame = named(new QGroupBox(tr("Insert file into"), this), QStringLiteral("FrameInsert"));
    m_insert = {plainButton(tr("&Document"), QStringLiteral("cmdInsert0"), m_insertFrame),
                plainButton(tr("&Background"), QStringLiteral("cmdInsert1"), m_insertFrame)};
    m_insert[1]->setToolTip(tr("insert picture or a non-graphic to reset"));
    auto *layout = new QHBoxLayout(m_insertFrame);
    for (int i = 0; i < 2; ++i) {
        layout->addWidget(m_insert[size_t(i)]);
        connect(m_insert[size_t(i)], &QPushButton::clicked, this, [this, i] {
            m_chooser.txtFileName = m_fileName->text();
            m_chooser.cmdInsert_Click(i);
        });
    }
}

void ChooserWindow::enter()
{
    m_chooser.txtFileName = m_fileName->text();
    const bool done = m_chooser.keyEnter();
    m_fileName->setText(m_chooser.txtFileName);
    if (done)
        accept();
}

void ChooserWindow::showModal()
{
    setWindowTitle(QCoreApplication::translate("FileChooser", m_chooser.caption.toUtf8().constData()));
    m_verify->setChecked(m_chooser.chkVerify == 1);
    m_verify->setVisible(m_chooser.chkVerifyVisible);
    m_insert[0]->setVisible(m_chooser.cmdInsertVisible[0]);
    m_insert[1]->setVisible(m_chooser.cmdInsertVisible[1]);
    m_chooser.Form_Activate();
    m_insertFrame->setVisible(m_chooser.FrameInsertVisible);
    pullFromChooser();
    m_fileName->setFocus();
    exec();
}

ChooserWindow::~ChooserWindow()
{
    m_chooser.focusFileName = nullptr;
}

void ChooserWindow::pullFromChooser()
{
    const QSignalBlocker block(m_drives);
    m_drives->clear();
    m_drives->addItems(FileChooser::drives());
    m_drives->setCurrentText(m_chooser.drive1());
    m_types->setCurrentIndex(m_chooser.combo1Index());
    m_fileName->setText(m_chooser.txtFileName);
    fillFolders();
    fillFiles();
    showPreview();
}

void ChooserWindow::fillFolders()
{
    m_folders->clear();
    m_folders->addItems(m_chooser.dir1Folders());
    m_folderPath->setText(m_chooser.dir1Path());
}

void ChooserWindow::fillFiles()
{
    // Filling the list picks nothing.
    const QSignalBlocker block(m_files);
    m_files->clear();
    m_files->addItems(m_chooser.flbPhoto());
    const QList<QListWidgetItem *> chosen = m_files->findItems(m_chooser.chosenName, Qt::MatchFixedString);
    if (!chosen.isEmpty())
        m_files->setCurrentItem(chosen.front());
}

void ChooserWindow::showPreview()
{
    const QPixmap picture(m_chooser.previewPath);
    m_preview->setPixmap(picture.isNull() ? QPixmap()
                                          : picture.scaled(m_preview->size(), Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation));
}

bool ChooserWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == m_fileName)
        QTimer::singleShot(0, m_fileName, &QLineEdit::selectAll);
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Delete:
        m_chooser.keyDelete();
        m_fileName->clear();
        showPreview();
        return true;
    case Qt::Key_Escape:
        m_chooser.keyEscape();
        accept();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enter();
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void ChooserWindow::closeEvent(QCloseEvent *event)
{
    // The close box gives no file.
    if (isVisible() && result() != QDialog::Accepted)
        m_chooser.closeBox();
    QDialog::closeEvent(event);
}

} // namespace zuvexal::ui
