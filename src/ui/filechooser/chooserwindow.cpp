#include "ui/filechooser/chooserwindow.h"

#include "core/filedialog/filechooser.h"

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

ChooserWindow::ChooserWindow(FileChooser &chooser, QWidget *parent) : QDialog(parent), m_chooser(chooser)
{
    setObjectName(QStringLiteral("VexalPhotoTabStrip"));
    setModal(true);
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setToolTip(QStringLiteral("Select drive"));
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setToolTip(QStringLiteral("Select folder"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("flbPhoto"));
    m_files->setToolTip(QStringLiteral("Select File"));
    m_types = new QComboBox(this);
    m_types->setObjectName(QStringLiteral("Combo1"));
    m_types->setToolTip(QStringLiteral("File Type"));
    m_types->addItems(FileChooser::FileTypeNames);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("txtFileName"));
    m_fileName->setToolTip(QStringLiteral("meaningful filename?"));
    m_verify = new QCheckBox(QStringLiteral("Verify that the file exists"), this);
    m_verify->setObjectName(QStringLiteral("chkVerify"));
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("ImgChosenPhoto"));
    m_preview->setToolTip(QStringLiteral("Preview selected picture or press Delete to clear"));
    m_preview->setFixedSize(160, 160);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_insertFrame = new QGroupBox(QStringLiteral("Insert file into"), this);
    m_insertFrame->setObjectName(QStringLiteral("FrameInsert"));
    m_insert = {new QPushButton(QStringLiteral("&Document"), m_insertFrame),
                new QPushButton(QStringLiteral("&Background"), m_insertFrame)};
    m_insert[1]->setToolTip(QStringLiteral("insert picture or a non-graphic to reset"));
    auto *insertLayout = new QHBoxLayout(m_insertFrame);
    for (int i = 0; i < 2; ++i) {
        m_insert[size_t(i)]->setObjectName(QStringLiteral("cmdInsert%1").arg(i));
        m_insert[size_t(i)]->setAutoDefault(false);
        insertLayout->addWidget(m_insert[size_t(i)]);
        connect(m_insert[size_t(i)], &QPushButton::clicked, this, [this, i] {
            m_chooser.txtFileName = m_fileName->text();
            m_chooser.cmdInsert_Click(i);
        });
    }
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);

    m_folderPath = new QLabel(this);
    m_folderPath->setObjectName(QStringLiteral("lblFolder"));
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
    connect(ok, &QPushButton::clicked, this, [this] {
        m_chooser.txtFileName = m_fileName->text();
        const bool done = m_chooser.keyEnter();
        m_fileName->setText(m_chooser.txtFileName);
        if (done)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_chooser.keyEscape();
        accept();
    });
    connect(m_drives, &QComboBox::textActivated, this, [this](const QString &drive) {
        m_chooser.Drive1_Change(drive);
        pullFromChooser();
    });
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        m_chooser.Dir1_Open(item->text());
        pullFromChooser();
    });
    connect(m_files, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_chooser.flbPhoto_Click(item->text());
        m_fileName->setText(m_chooser.txtFileName);
        showPreview();
    });
    connect(m_types, &QComboBox::activated, this, [this](int index) {
        m_chooser.setCombo1Index(index);
        fillFiles();
    });
}

void ChooserWindow::showModal()
{
    setWindowTitle(m_chooser.caption);
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
    case Qt::Key_Enter: {
        m_chooser.txtFileName = m_fileName->text();
        const bool done = m_chooser.keyEnter();
        m_fileName->setText(m_chooser.txtFileName);
        if (done)
            accept();
        return true;
    }
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
