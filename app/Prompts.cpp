#include "app/Prompts.h"

#include "app/EscapedText.h"
#include "app/FileDialogFolder.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

namespace
{

Prompts*& installed()
{
    static Prompts* p = nullptr;
    return p;
}

QString runFileDialog(QWidget* parent, const FileDialogOptions& options,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, options.title, options.directory, options.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    // A name typed without an extension takes the chosen filter's, not the
    // first filter's: "图" under "SVG图形(*.svg)" is saved as 图.svg.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
            const QRegularExpressionMatch match = pattern.match(filter);
            if (match.hasMatch())
                dialog.setDefaultSuffix(match.captured(1));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

Prompts& prompts()
{
    static QtPrompts qtPrompts;
    return installed() ? *installed() : qtPrompts;
}

void installPrompts(Prompts* p)
{
    installed() = p;
}

QString ChooseSaveFile(QWidget* parent, FileDialogOptions options, const QString& projectPath)
{
    options.directory = FileDialogFolder(projectPath);
    const QString path = prompts().saveFile(parent, options);
    RememberFileDialogChoice(path);
    return path;
}

QString ChooseOpenFile(QWidget* parent, FileDialogOptions options, const QString& projectPath)
{
    options.directory = FileDialogFolder(projectPath);
    const QString path = prompts().openFile(parent, options);
    RememberFileDialogChoice(path);
    return path;
}

void QtPrompts::error(QWidget* parent, const QString& text)
{
    // What the message quotes of a file or of the user's typing shows its
    // control characters escaped.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), EscapedControls(text, true),
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtPrompts::confirm(QWidget* parent, const QString& text, DefaultAnswer byDefault)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("确认"), EscapedControls(text, true),
                    QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    // Enter gives the default answer; Esc and the close box answer 否.
    box.setDefaultButton(byDefault == DefaultAnswer::Yes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtPrompts::saveFile(QWidget* parent, const FileDialogOptions& options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptSave);
}

QString QtPrompts::openFile(QWidget* parent, const FileDialogOptions& options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptOpen);
}

bool QtPrompts::chooseFont(QWidget* parent, QFont& font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

bool QtPrompts::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::printerSetup(QWidget* parent, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int QtPrompts::chooseItem(QWidget* parent, const QString& title, const QString& label,
                          const QStringList& items, int current)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, items, current, false, &ok);
    return ok ? int(items.indexOf(chosen)) : -1;
}
