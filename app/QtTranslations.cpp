#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

bool InstallQtTranslations()
{
    // Owned by the application: a later application loads it again.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds every dialog the program shows; qt_zh_CN is the catalogue
    // that pulls it in, for installations that ship only that one.
    auto* translator = new QTranslator(app);
    for (const char* name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        if (translator->load(QString::fromLatin1(name), directory) &&
            QCoreApplication::installTranslator(translator)) {
            installed = translator;
            return true;
        }
    }
    delete translator;
    return false;
}
