// Ventacalc: start-up creates every window once, shows the main menu and runs
// until the main menu is closed.
#include "app/AppWindows.h"
#include "app/DataDir.h"
#include "app/DataSeeds.h"
#include "app/Fonts.h"
#include "app/Guarded.h"
#include "app/QtTranslations.h"
#include "app/Unit_main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ventacalc"));
    QApplication::setOrganizationName(QStringLiteral("Ventacalc"));
    QApplication::setApplicationVersion(QStringLiteral("3.00"));
    std::setlocale(LC_NUMERIC, "C");
    InstallFontSubstitutions();
    InstallQtTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("暖通空调计算工具"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("data-dir"),
                      QStringLiteral("使用 DIR 作为数据目录（代替每个用户的数据目录）。"),
                      QStringLiteral("DIR")});
    parser.process(app);
    if (parser.isSet(QStringLiteral("data-dir")))
        DataDir::setOverride(parser.value(QStringLiteral("data-dir")));

    AppWindows windows;
    // A data directory that cannot be created is reported; the calculators
    // that need no data files still work.
    RegisterDataSeeds();
    Guarded(nullptr, [] { DataDir::ensure(); });
    QObject::connect(windows.main, &Form_main::closed, &app, &QCoreApplication::quit);
    windows.main->show();
    return app.exec();
}
