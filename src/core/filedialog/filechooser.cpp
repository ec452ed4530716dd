#include "core/filedialog/filechooser_p.h"

#include "core/base/attempt.h"
#include "core/base/messages.h"
#include "core/base/paths.h"
#include "core/base/sharedvalues.h"
#include "core/base/values_p.h"
#include "core/filedialog/filetypes.h"

#include <QCoreApplication>
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

namespace zuvexal {

namespace {

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

FileChooser::FileChooser(const SharedValues &values, const Messages &messages)
    : m_values(values), m_messages(messages)
{
}

bool FileChooser::setDir1Path(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    ChooserControls::dir1Path = withSlash(QFileInfo(folder).absoluteFilePath());
    return true;
}

bool FileChooser::setDrive1(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    // Without a mount table entry for it the path is on the root's volume.
    const QStorageInfo volume(path);
    ChooserControls::drive1 = volume.isValid() ? withSlash(volume.rootPath()) : QStringLiteral("/");
    return true;
}

bool FileChooser::setCombo1Index(int index)
{
    if (index < 0 || index > 7)
        return false;
    ChooserControls::combo1Index = index;
    return true;
}

const QStringList FileChooser::FileTypeNames = {
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "All")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Documents")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Pictures")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Executables")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Libraries")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Internet")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Sound")),
    QStringLiteral(QT_TRANSLATE_NOOP("FileChooser", "Movie")),
};

QStringList FileChooser::flbPhoto() const
{
    if (dir1Path().isEmpty())
        return {};
    // "*.*" is every file, with an extension or without (README, Makefile);
    // Linux names are case-sensitive, so X.JPG is a picture too.
    QStringList patterns;
    for (const QString &pattern : FileTypeFilter(qint16(combo1Index())).split(QLatin1Char(';'))) {
        if (pattern == QLatin1String("*.*")) {
            patterns << QStringLiteral("*");
            continue;
        }
        patterns << pattern << pattern.toUpper();
    }
    return QDir(dir1Path()).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList FileChooser::dir1Folders() const
{
    if (dir1Path().isEmpty())
        return {};
    return QDir(dir1Path()).entryList(QDir::Dirs | QDir::NoDot, QDir::Name | QDir::IgnoreCase);
}

QStringList FileChooser::drives()
{
    // The root is always there, even where the mount table does not show it
    // (a chroot, a container).
    QStringList roots{QStringLiteral("/")};
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
    setDrive1(dir1Path());
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
    m_messages.show(QCoreApplication::translate("FileChooser", "Error"),
                    QCoreApplication::translate("FileChooser", "Drive Error"), MessagePresenter::Icon::Warning);
    setDrive1(dir1Path());
    return false;
}

bool FileChooser::Dir1_Change(const QString &folder)
{
    return setDir1Path(folder);
}

bool FileChooser::Dir1_Open(const QString &name)
{
    return Dir1_Change(QDir::cleanPath(QDir(dir1Path()).absoluteFilePath(name)));
}

void FileChooser::flbPhoto_Click(const QString &name)
{
    chosenName = name;
    txtFileName = name;
    chosenPath = dir1Path() + name;
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
    chosenPath = dir1Path() + chosenName;
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
    chosenPath = dir1Path() + chosenName;
    // The host's control may fail; the chooser stays open all the same.
    attempt([&] { insertInto(GraphicControl, Index); });
}

void FileChooser::insertInto(QObject *target, int Index) const
{
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
    static_cast<ChooserControls &>(*this) = ChooserControls{};
    const QString lastFolder = PathFolder(m_chosenFileName);
    if (lastFolder.isEmpty() || !setDir1Path(lastFolder))
        setDir1Path(m_values.AppFolder);
}

void FileChooser::unload()
{
    m_chosenFileName = chosenPath;
    m_loaded = false;
}

} // namespace zuvexal
