// Ventacalc: start-up creates every window once, the main menu first, shows
// the main menu (and the calculator of a project file given on the command
// line) and runs until the main menu is closed.
#include "app/ApplicationIcon.h"
#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/Guarded.h"
#include "app/QtTranslations.h"
#include "app/Version.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "shell/StartupProject.h"
#include "shell/Unit_main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace
{
void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Ventacalc"));
    QCoreApplication::setOrganizationName(QStringLiteral("Ventacalc"));
    QCoreApplication::setApplicationVersion(VersionNumber());
}

struct CommandLine {
    QString dataDir; // --data-dir, or empty
    QString project; // the project file to open, or empty
};

// --help and --version are answered here, before any window system is
// needed, and end the program. The parser's own words (the usage line, the
// option headings, an unknown option) are Qt's, in Chinese like the rest,
// whatever the locale.
CommandLine ParseCommandLine(int argc, char** argv)
{
    QCoreApplication probe(argc, argv);
    SetApplicationNames();
    InstallQtTranslations();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("暖通空调计算工具"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("version"), QStringLiteral("显示程序名称和版本。")});
    parser.addOption({QStringLiteral("data-dir"),
                      QStringLiteral("使用 DIR 作为数据目录（代替每个用户的数据目录）。"),
                      QStringLiteral("DIR")});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("启动后打开的工程文件：水管阻力工程（.gzl）或风管阻力工程（.dzl）。"),
        QStringLiteral("[FILE]"));
    parser.process(probe);
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s\n", qUtf8Printable(VersionText()));
        std::exit(0);
    }
    // A second --data-dir would override the first, an empty one would mean
    // the usual directory; of two files one would be passed over: all are
    // refused rather than guessed at.
    const QStringList dirs = parser.values(QStringLiteral("data-dir"));
    const QStringList files = parser.positionalArguments();
    const char* refusal = nullptr;
    if (dirs.size() > 1)
        refusal = "选项 --data-dir 给出了两次";
    else if (dirs.size() == 1 && dirs.first().isEmpty())
        refusal = "选项 --data-dir 的值不能为空";
    else if (files.size() > 1)
        refusal = "只能给出一个工程文件";
    else if (files.size() == 1 && files.first().isEmpty())
        refusal = "工程文件名不能为空";
    if (refusal) {
        std::fprintf(stderr, "%s\n", refusal);
        std::exit(2);
    }
    return {dirs.value(0), files.value(0)};
}

} // namespace

int main(int argc, char** argv)
{
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    QApplication app(argc, argv);
    SetApplicationNames();
    QApplication::setWindowIcon(ApplicationIcon());
    std::setlocale(LC_NUMERIC, "C");
    InstallFontSubstitutions();
    InstallQtTranslations();
    if (!commandLine.dataDir.isEmpty())
        DataDir::setOverride(commandLine.dataDir);

    // The menu is painted before the other windows are made (AppWindows).
    AppWindows windows(AppWindows::Creation::AfterMenuPainted);
    // A data directory that cannot be created is reported; the calculators
    // that need no data files still work.
    RegisterDataSeeds();
    Guarded(nullptr, [] { DataDir::ensure(); });
    QObject::connect(windows.main, &Form_main::closed, &app, &QCoreApplication::quit);
    // For the start-up benchmark (bench/startup_first_paint.sh): with the
    // environment variable VENTACALC_QUIT_AFTER_FIRST_PAINT set, the program
    // ends as soon as the main menu's first paint is on the screen, so that
    // the time from exec to exit is the time to the first painted menu; set
    // to "windows", once the other windows have been created too. Registered
    // after the windows' own, it runs before them.
    if (qEnvironmentVariableIsSet("VENTACALC_QUIT_AFTER_FIRST_PAINT")) {
        const bool windowsToo = qgetenv("VENTACALC_QUIT_AFTER_FIRST_PAINT") == "windows";
        RunAfterFirstPaint(windows.main, [&windows, windowsToo] {
            if (windowsToo)
                windows.createRest();
            std::fflush(nullptr);
            std::_Exit(0);
        });
    }
    windows.main->show();
    // Once the menu is up: the project's calculator opens over it as from its
    // button, and closing it leaves the menu.
    if (!commandLine.project.isEmpty())
        QTimer::singleShot(0, windows.main,
                           [&] { OpenStartupProject(windows, commandLine.project); });
    return app.exec();
}
