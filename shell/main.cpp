// Ventacalc: start-up creates every window once, shows the main menu and runs
// until the main menu is closed.
#include "shell/AppWindows.h"
#include "app/ApplicationIcon.h"
#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "app/Fonts.h"
#include "app/Guarded.h"
#include "app/QtTranslations.h"
#include "shell/Unit_main.h"
#include "app/Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace
{
void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Ventacalc"));
    QCoreApplication::setOrganizationName(QStringLiteral("Ventacalc"));
    QCoreApplication::setApplicationVersion(VersionNumber());
}

// The data directory named by --data-dir, or empty. --help and --version are
// answered here, before any window system is needed, and end the program.
// The parser's own words (the usage line, the option headings, an unknown
// option) are Qt's, in Chinese like the rest, whatever the locale.
QString ParseCommandLine(int argc, char** argv)
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
    parser.process(probe);
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s\n", qUtf8Printable(VersionText()));
        std::exit(0);
    }
    // A second --data-dir would override the first, an empty one would mean
    // the usual directory: both are refused rather than passed over.
    const QStringList dirs = parser.values(QStringLiteral("data-dir"));
    if (dirs.size() > 1 || (dirs.size() == 1 && dirs.first().isEmpty())) {
        std::fprintf(stderr, "%s\n",
                     dirs.size() > 1 ? "选项 --data-dir 给出了两次"
                                     : "选项 --data-dir 的值不能为空");
        std::exit(2);
    }
    return dirs.value(0);
}
} // namespace

int main(int argc, char** argv)
{
    const QString dataDir = ParseCommandLine(argc, argv);
    QApplication app(argc, argv);
    SetApplicationNames();
    QApplication::setWindowIcon(ApplicationIcon());
    std::setlocale(LC_NUMERIC, "C");
    InstallFontSubstitutions();
    InstallQtTranslations();
    if (!dataDir.isEmpty())
        DataDir::setOverride(dataDir);

    AppWindows windows;
    // A data directory that cannot be created is reported; the calculators
    // that need no data files still work.
    RegisterDataSeeds();
    Guarded(nullptr, [] { DataDir::ensure(); });
    QObject::connect(windows.main, &Form_main::closed, &app, &QCoreApplication::quit);
    windows.main->show();
    return app.exec();
}
