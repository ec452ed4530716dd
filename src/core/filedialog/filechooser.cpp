#include "core/filedialog/filechooser.h"

#include "core/control/shared.h"
#include "core/filedialog/paths.h"

#include <QFileInfo>
#include <QStorageInfo>

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
