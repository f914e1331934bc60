// Every question the program asks a person goes through Prompts: error boxes,
// Yes/No confirmations, file, font, print and printer set-up dialogs. The
// program installs QtPrompts; window tests install a scripted implementation.
#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QPrinter;
class QWidget;

struct FileDialogOptions {
    QString title;         // empty: the system's own title
    QString filter;        // Qt form, e.g. "文本文件(*.TXT)"
    QString defaultSuffix; // without the dot, e.g. "txt"
    // Save dialogs: the dialog asks before an existing file is chosen. Off
    // where the window asks its own question.
    bool confirmOverwrite = true;
    // The folder the dialog opens in; empty: the dialog's own choice. The
    // windows fill it from FileDialogFolder() (ChooseSaveFile/ChooseOpenFile).
    QString directory = QString();
};

// The answer a Yes/No box gives when Enter is pressed at once.
enum class DefaultAnswer { No, Yes };

class Prompts
{
public:
    virtual ~Prompts() = default;
    // Modal error box: error icon, one OK button.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Modal Yes/No box; true for Yes. Every question the program asks
    // deletes or replaces something, so 否 is the default unless asked.
    virtual bool confirm(QWidget* parent, const QString& text,
                         DefaultAnswer byDefault = DefaultAnswer::No) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString saveFile(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual QString openFile(QWidget* parent, const FileDialogOptions& options) = 0;
    // Shows the font dialog starting at font; true and font changed on OK.
    virtual bool chooseFont(QWidget* parent, QFont& font) = 0;
    // The print dialog for printer; false when cancelled.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    // The printer set-up dialog; its choice stays in printer.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
    // A choice from a list, items[current] offered first: the index chosen,
    // or -1 when the user cancelled.
    virtual int chooseItem(QWidget* parent, const QString& title, const QString& label,
                           const QStringList& items, int current) = 0;
};

// The installed implementation (QtPrompts unless a test installed another).
Prompts& prompts();
// Installs p (not owned); nullptr goes back to QtPrompts.
void installPrompts(Prompts* p);

// A save or open dialog through prompts(), opened in FileDialogFolder(projectPath)
// (app/FileDialogFolder.h); the folder of the file chosen is remembered as the
// last folder used. projectPath: the asking window's current project file, if any.
QString ChooseSaveFile(QWidget* parent, FileDialogOptions options,
                       const QString& projectPath = QString());
QString ChooseOpenFile(QWidget* parent, FileDialogOptions options,
                       const QString& projectPath = QString());

class QtPrompts : public Prompts
{
public:
    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text, DefaultAnswer byDefault) override;
    QString saveFile(QWidget* parent, const FileDialogOptions& options) override;
    QString openFile(QWidget* parent, const FileDialogOptions& options) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    int chooseItem(QWidget* parent, const QString& title, const QString& label,
                   const QStringList& items, int current) override;
};
