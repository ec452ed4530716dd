#include "core/filedialog/filechooser.h"

#include "core/control/shared.h"
#include "core/base/messages.h"
#include "core/base/values.h"
#include "core/filedialog/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMetaObject>
#include <QMimeDatabase>
#include <QPixmap>
#include <QUrl>
#include <QStorageInfo>

#include <algorithm>
#include <memory>

namespace zuvexal {

namespace {

std::unique_ptr<FileChooser> &instance()
{
    static std::unique_ptr<FileChooser> chooser;
    return chooser;
}

FileChooser::Presenter &presenter()
{
    static FileChooser::Presenter current;
    return current;
}

bool contentTypeIsText(const QString &path)
{
    return QMimeDatabase().mimeTypeForFile(path).inherits(QStringLiteral("text/plain"));
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

bool FileChooser::setDir1Path(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    m_dir1Path = withSlash(QFileInfo(folder).absoluteFilePath());
    return true;
}

bool FileChooser::setDrive1(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return false;
    m_drive1 = withSlash(volume.rootPath());
    return true;
}

bool FileChooser::setCombo1Index(int index)
{
    if (index < 0 || index > 7)
        return false;
    m_combo1Index = index;
    return true;
}

const QStringList FileChooser::FileTypeNames = {
    QStringLiteral("All"),      QStringLiteral("Documents"), QStringLiteral("Pictures"), QStringLiteral("Executables"),
    QStringLiteral("Libraries"), QStringLiteral("Internet"),  QStringLiteral("Sound"),    QStringLiteral("Movie"),
};

QStringList FileChooser::flbPhoto() const
{
    if (m_dir1Path.isEmpty())
        return {};
    // Linux names are case-sensitive; a picture named X.JPG is a picture too.
    QStringList patterns = FileTypeFilter(qint16(m_combo1Index)).split(QLatin1Char(';'));
    for (const QString &pattern : FileTypeFilter(qint16(m_combo1Index)).split(QLatin1Char(';')))
        patterns << pattern.toUpper();
    return QDir(m_dir1Path).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList FileChooser::drives()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << withSlash(volume.rootPath());
    }
    roots.removeDuplicates();
    roots.sort();
    return roots;
}

void FileChooser::Form_Activate()
{
    FrameInsertVisible = GraphicControl && !GraphicControl->objectName().isEmpty();
    setDrive1(m_dir1Path);
    txtFileName = FileNamePart(m_chosenFileName);
    if (!txtFileName.isEmpty()) {
        for (const QString &file : flbPhoto()) {
            if (file.compare(txtFileName, Qt::CaseInsensitive) == 0) {
                flbPhoto_Click(file);
                break;
            }
        }
    }
    if (focusFileName)
        focusFileName();
}

bool FileChooser::Drive1_Change(const QString &drive)
{
    if (QFileInfo(drive).isDir() && QFileInfo(drive).isReadable() && setDir1Path(drive)) {
        setDrive1(drive);
        return true;
    }
    showMessage(QStringLiteral("Error"), QStringLiteral("Drive Error"), MessagePresenter::Icon::Warning);
    setDrive1(m_dir1Path);
    return false;
}

bool FileChooser::Dir1_Change(const QString &folder)
{
    return setDir1Path(folder);
}

void FileChooser::flbPhoto_Click(const QString &name)
{
    chosenName = name;
    txtFileName = name;
    chosenPath = m_dir1Path + name;
    previewPath = QImageReader(chosenPath).canRead() ? chosenPath : QString();
}

void FileChooser::keyDelete()
{
    previewPath.clear();
    txtFileName.clear();
}

bool FileChooser::keyEnter()
{
    txtFileName = trimBlanks(txtFileName);
    // The separators and wildcards of other systems are no part of a name;
    // '/' separates folders here, so a typed folder is dropped below.
    static const QString forbidden = QStringLiteral("*<>+-[]{};?|\\");
    const bool bad = txtFileName.isEmpty()
        || std::any_of(txtFileName.begin(), txtFileName.end(), [](QChar c) { return forbidden.contains(c); });
    if (bad) {
        if (focusFileName)
            focusFileName();
        return false;
    }
    chosenName = FileNamePart(txtFileName);
    chosenPath = m_dir1Path + chosenName;
    if (chkVerify == 1) {
        const QFileInfo file(chosenPath);
        if (!file.isFile() || file.size() == 0) {
            chosenName.clear();
            chosenPath.clear();
            if (focusFileName)
                focusFileName();
            return false;
        }
    }
    unload();
    return true;
}

void FileChooser::keyEscape()
{
    chosenName.clear();
    chosenPath.clear();
    unload();
}

void FileChooser::closeBox()
{
    keyEscape();
}

void FileChooser::cmdInsert_Click(int Index)
{
    chosenName = FileNamePart(trimBlanks(txtFileName));
    chosenPath = m_dir1Path + chosenName;
    QObject *target = GraphicControl;
    if (!target)
        return;
    const QMetaObject *meta = target->metaObject();
    if (Index == 1) {
        const QPixmap picture(chosenPath);
        if (!picture.isNull()) {
            for (const char *property : {"Picture", "pixmap", "BackPicture"}) {
                if (meta->indexOfProperty(property) >= 0 && target->setProperty(property, picture))
                    return;
            }
        }
        // Not a picture: the target's picture is reset.
        for (const char *property : {"Picture", "pixmap"}) {
            if (meta->indexOfProperty(property) >= 0) {
                target->setProperty(property, QPixmap());
                return;
            }
        }
        return;
    }
    if (Index != 0)
        return;
    if (meta->indexOfProperty("OLEObject") >= 0 && target->setProperty("OLEObject", QStringLiteral("*") + chosenPath))
        return;
    // A text-editing target gets the file at its cursor: a picture inline,
    // a text file's text, anything else as a link to it.
    const QUrl url = QUrl::fromLocalFile(chosenPath);
    if (QImageReader(chosenPath).canRead() && meta->indexOfMethod("insertHtml(QString)") >= 0) {
        QMetaObject::invokeMethod(target, "insertHtml",
                                  Q_ARG(QString, QStringLiteral("<img src=\"%1\">").arg(url.toString().toHtmlEscaped())));
        return;
    }
    QFile file(chosenPath);
    const bool text = contentTypeIsText(chosenPath) && file.open(QIODevice::ReadOnly);
    if (text && meta->indexOfMethod("insertPlainText(QString)") >= 0) {
        QMetaObject::invokeMethod(target, "insertPlainText", Q_ARG(QString, QString::fromUtf8(file.readAll())));
        return;
    }
    if (meta->indexOfMethod("insertHtml(QString)") >= 0) {
        QMetaObject::invokeMethod(target, "insertHtml",
                                  Q_ARG(QString, QStringLiteral("<a href=\"%1\">%2</a>")
                                                     .arg(url.toString().toHtmlEscaped(), chosenName.toHtmlEscaped())));
    } else if (meta->indexOfMethod("insertPlainText(QString)") >= 0) {
        QMetaObject::invokeMethod(target, "insertPlainText", Q_ARG(QString, url.toString()));
    }
}

void FileChooser::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const QString lastFolder = PathFolder(m_chosenFileName);
    if (lastFolder.isEmpty() || !setDir1Path(lastFolder))
        setDir1Path(shared().AppFolder);
}

void FileChooser::unload()
{
    m_chosenFileName = chosenPath;
    m_loaded = false;
}

void FileChooser::setPresenter(Presenter show)
{
    presenter() = std::move(show);
}

bool FileChooser::showModal()
{
    ensureLoaded();
    return presenter() && presenter()(*this);
}

FileChooser &fileChooser()
{
    if (!instance())
        instance() = std::make_unique<FileChooser>();
    return *instance();
}

void releaseFileChooser()
{
    instance().reset();
}

} // namespace zuvexal
