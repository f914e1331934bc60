#include "shell/StartupProject.h"

#include "app/FileDialogFolder.h"
#include "app/Guarded.h"
#include "app/Prompts.h"
#include "duct/DuctProject.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/PipeProject.h"
#include "pipe/Unit_ZL_pipe.h"
#include "shell/AppWindows.h"
#include "shell/Unit_main.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

void OpenStartupProject(AppWindows& windows, const QString& path)
{
    windows.createRest();
    // The path as a file dialog would have returned it: absolute and clean.
    const QString project = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString suffix = QFileInfo(project).suffix();
    const auto is = [&suffix](const char* extension) {
        return suffix.compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
    };
    QString button;
    std::function<void()> open;
    if (is(PipeProjectExtension)) {
        button = QStringLiteral("SpeedButton_Pipe");
        open = [&] { windows.pipe->openProject(project); };
    } else if (is(DuctProjectExtension)) {
        button = QStringLiteral("SpeedButton_Duct");
        open = [&] { windows.duct->openProject(project); };
    } else {
        prompts().error(windows.main,
                        QStringLiteral("“%1”不是水管阻力工程（*.gzl）或风管阻力工程（*.dzl）"
                                       "文件，无法打开！")
                            .arg(QDir::toNativeSeparators(project)));
        return;
    }
    bool opened = false;
    Guarded(windows.main, [&] {
        open();
        opened = true;
    });
    if (!opened)
        return;
    // The project's folder is where the next file dialog opens, as after "打开".
    RememberFileDialogChoice(project);
    windows.main->openWindow(button);
}
