#include "app/ReportActions.h"

#include "app/Prompts.h"
#include "app/ReportPrinter.h"

#include <QPushButton>

namespace
{
// Report files are plain text files.
FileDialogOptions reportDialog(const QString& title)
{
    return {title, QStringLiteral("(*.txt)"), QStringLiteral("txt")};
}
} // namespace

ReportActions::ReportActions(QWidget* window, QPushButton* save, QString newTitle,
                             QString openTitle)
    : window_(window), save_(save), newTitle_(std::move(newTitle)), openTitle_(std::move(openTitle))
{
    // The font dialog starts from the system's dialog font.
    dialogFont_ = QFont(QStringLiteral("MS Sans Serif"));
    dialogFont_.setPixelSize(13);
    save_->setEnabled(false);
}

void ReportActions::chooseNew()
{
    const QString path = ChooseSaveFile(window_, reportDialog(newTitle_));
    if (path.isEmpty())
        return;
    file_.chooseNew(path);
    save_->setEnabled(true);
}

void ReportActions::chooseExisting()
{
    const QString path = ChooseOpenFile(window_, reportDialog(openTitle_));
    if (path.isEmpty())
        return;
    file_.chooseExisting(path);
    save_->setEnabled(true);
}

void ReportActions::save(const QStringList& lines)
{
    file_.append(lines);
}

void ReportActions::print(const QStringList& lines)
{
    if (!prompts().print(window_, AppPrinter()))
        return;
    PrintLines(AppPrinter(), printFont(), lines);
}

void ReportActions::chooseFont()
{
    QFont font = dialogFont_;
    if (!prompts().chooseFont(window_, font))
        return;
    dialogFont_ = font;
    fontChosen_ = true;
}

void ReportActions::windowShown()
{
    fontChosen_ = false;
}

QFont ReportActions::printFont() const
{
    return fontChosen_ ? dialogFont_ : DefaultReportFont();
}
