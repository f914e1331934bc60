#include "app/FileDialogFolder.h"

#include "app/DataDir.h"

#include <QDir>
#include <QFileInfo>

namespace
{

QString& lastFolder()
{
    static QString folder;
    return folder;
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// The folder a file is in, absolute.
QString folderOf(const QString& filePath)
{
    return QFileInfo(filePath).absolutePath();
}

} // namespace

QString FileDialogFolder(const QString& projectPath)
{
    if (!projectPath.isEmpty() && isFolder(folderOf(projectPath)))
        return folderOf(projectPath);
    if (isFolder(lastFolder()))
        return lastFolder();
    const QString home = QDir::homePath();
    // Qt answers the root when the home folder is unknown.
    if (isFolder(home) && home != QDir::rootPath())
        return home;
    return DataDir::path();
}

void RememberFileDialogChoice(const QString& chosenPath)
{
    if (!chosenPath.isEmpty())
        lastFolder() = folderOf(chosenPath);
}

void ForgetFileDialogChoices()
{
    lastFolder().clear();
}
