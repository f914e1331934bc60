#include "support/ScriptedPrompts.h"

#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QPrinter>
#include <stdexcept>

namespace
{
template <class T> T takeOrFail(QQueue<T>& queue, const char* what)
{
    if (queue.isEmpty())
        throw std::logic_error(std::string("test gave no answer for ") + what);
    return queue.dequeue();
}

// Every window test program makes its prompts here, so this start-up hook
// runs in each of them: Qt's own texts are Chinese there as in the program.
void LoadQtTranslations()
{
    InstallQtTranslations();
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(LoadQtTranslations)

void ScriptedPrompts::error(QWidget*, const QString& text)
{
    errors << text;
}

bool ScriptedPrompts::confirm(QWidget*, const QString& text, DefaultAnswer byDefault)
{
    confirmations << text;
    confirmDefaults << byDefault;
    return takeOrFail(confirmAnswers, "a confirmation");
}

QString ScriptedPrompts::saveFile(QWidget*, const FileDialogOptions& options)
{
    saveDialogs << options;
    return takeOrFail(saveAnswers, "a save dialog");
}

QString ScriptedPrompts::openFile(QWidget*, const FileDialogOptions& options)
{
    openDialogs << options;
    return takeOrFail(openAnswers, "an open dialog");
}

bool ScriptedPrompts::chooseFont(QWidget*, QFont& font)
{
    ++fontDialogs;
    lastFontOffered = font;
    if (fontAnswers.isEmpty())
        return false;
    font = fontAnswers.dequeue();
    return true;
}

bool ScriptedPrompts::print(QWidget*, QPrinter& printer)
{
    ++printDialogs;
    const QString target = takeOrFail(printAnswers, "a print dialog");
    if (target.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target);
    return true;
}

bool ScriptedPrompts::printerSetup(QWidget*, QPrinter&)
{
    ++setupDialogs;
    return setupAnswers.isEmpty() ? false : setupAnswers.dequeue();
}

int ScriptedPrompts::chooseItem(QWidget*, const QString&, const QString&, const QStringList& items,
                                int current)
{
    itemChoices << items;
    lastItemOffered = current;
    return takeOrFail(itemAnswers, "a list of choices");
}
