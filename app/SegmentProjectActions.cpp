#include "app/SegmentProjectActions.h"

#include "app/CheckedFile.h"
#include "app/DataDir.h"
#include "app/DocumentOpener.h"
#include "app/FailureReasons.h"
#include "app/Gbk.h"
#include "app/Guarded.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "app/RecordTableStore.h"
#include "app/SegmentProject.h"
#include "app/TextReport.h"
#include "app/Unit_message.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>

namespace
{

bool exists(const QString& path)
{
    return QFileInfo::exists(path);
}

// The template a new project's segment table is a byte copy of.
QByteArray ReadTemplate(const QString& path)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        const int error = errno;
        throw UserError(
            QStringLiteral("无法读取模板数据表“%1”：%2")
                .arg(QDir::toNativeSeparators(path), FileDeviceReason(file.error(), error)));
    }
    return bytes;
}

// The wait window, shown and painted before the workbook is written and
// closed however the writing ends.
class WaitWindow
{
public:
    explicit WaitWindow(QWidget* parent) : form_(parent) { form_.showPainted(); }
    ~WaitWindow() { form_.close(); }

private:
    Form_message form_;
};

} // namespace

SegmentProjectActions::SegmentProjectActions(QDialog* window, const ProjectRow& row,
                                             SegmentProjectKind kind, SegmentProjectWindow hooks)
    : window_(window), row_(row), kind_(std::move(kind)), hooks_(std::move(hooks))
{
    const auto connect = [this](QPushButton* button, void (SegmentProjectActions::*handler)()) {
        QObject::connect(button, &QPushButton::clicked, window_,
                         [this, handler] { Guarded(window_, [&] { (this->*handler)(); }); });
        button->setEnabled(true);
    };
    connect(row_.newProject, &SegmentProjectActions::Button_newClick);
    connect(row_.open, &SegmentProjectActions::Button_openClick);
    connect(row_.excel, &SegmentProjectActions::Button_ExcelClick);
    connect(row_.browse, &SegmentProjectActions::Button_browseClick);
    connect(row_.view, &SegmentProjectActions::Button_viewClick);
    row_.fileName->setEnabled(true);
}

void SegmentProjectActions::Button_newClick()
{
    // The questions below are this window's own: the dialog asks none.
    const QString path = ChooseSaveFile(
        window_, {QStringLiteral("新建文件"), kind_.newFilter, kind_.extension, false},
        projectPath_);
    if (path.isEmpty())
        return;
    if (exists(path) &&
        !prompts().confirm(window_, QStringLiteral("该文件已经存在，确实要覆盖该文件码?")))
        return;
    const QString table = ProjectTablePath(path);
    if (exists(table) &&
        !prompts().confirm(window_, QStringLiteral("管段表“%1”已经存在，新建工程将用空表替换它，"
                                                   "其中的管段将全部丢失。确实要替换吗？")
                                        .arg(QDir::toNativeSeparators(table))))
        return;

    const QStringList lines = hooks_.newProjectLines();
    const std::function<void()> apply = hooks_.readProject(lines);
    const QByteArray projectBytes = TextFileBytes(lines); // a text GBK cannot hold fails first

    // Both files are written in full beside their targets and checked before
    // either replaces anything: a full disk leaves neither a half project nor
    // an empty table, and the window keeps the project it had.
    try {
        PendingFile tableFile(table);
        tableFile.write(ReadTemplate(DataDir::file(kind_.templateFileName)));
        tableFile.finish();
        openTable(tableFile.temporaryPath());
        PendingFile projectFile(path);
        projectFile.write(projectBytes);
        projectFile.finish();
        tableFile.commit();
        projectFile.commit();
    } catch (const UserError& error) {
        throw UserError(QStringLiteral("新建工程未完成：") + error.text());
    }
    switchTo(path, apply);
}

void SegmentProjectActions::Button_openClick()
{
    const QString path = ChooseOpenFile(
        window_, {QStringLiteral("打开文件"), kind_.openFilter, kind_.extension}, projectPath_);
    if (!path.isEmpty())
        open(path);
}

void SegmentProjectActions::open(const QString& path)
{
    const std::function<void()> apply = hooks_.readProject(ReadProjectLines(path, kind_.lineCount));
    switchTo(path, apply); // the table first: one that does not open changes nothing
}

// A new project's copied table is opened on its own before the project file
// is written, so a copy that is no segment table leaves no project behind.
void SegmentProjectActions::openTable(const QString& tablePath) const
{
    RecordTableStore probe(*kind_.declaration);
    probe.setPath(tablePath);
    probe.open();
}

void SegmentProjectActions::switchTo(const QString& projectPath,
                                     const std::function<void()>& applySettings)
{
    hooks_.useSegmentTable(ProjectTablePath(projectPath));
    projectPath_ = projectPath;
    window_->setWindowTitle(kind_.captionPrefix + QStringLiteral("[") +
                            ProjectFileName(projectPath) + QStringLiteral("]"));
    row_.fileName->setText(QDir::toNativeSeparators(ProjectWorkbookPath(projectPath)));
    applySettings();
}

void SegmentProjectActions::Button_ExcelClick()
{
    const QString path = row_.fileName->text();
    if (path.isEmpty()) {
        prompts().error(window_, QStringLiteral("请输入结果输出文件名！"));
        return;
    }
    const SegmentProjectWindow::WorkbookWriter write = hooks_.workbookWriter();
    if (!projectPath_.isEmpty())
        RefuseProjectFileAsOutput(path, projectPath_);
    if (SameFile(path, DataDir::file(kind_.templateFileName)))
        throw UserError(QStringLiteral("“%1”是新建工程用的模板数据表，不能用作结果文件！")
                            .arg(QDir::toNativeSeparators(path)));
    RequireRegularFileTarget(path);
    if (exists(path) &&
        !prompts().confirm(window_, QStringLiteral("该文件已经存在，覆盖该文件吗？")))
        return;
    const WaitWindow wait(window_);
    try {
        write(path, projectPath_.isEmpty() ? QString() : ProjectFileName(projectPath_));
    } catch (const UserError& error) {
        // An existing workbook is as it was: it is replaced only by a complete one.
        prompts().error(window_, QStringLiteral("计算结果未保存！\n") + error.text());
    }
}

void SegmentProjectActions::Button_browseClick()
{
    const QString path =
        ChooseSaveFile(window_,
                       {QStringLiteral("结果输出"), QStringLiteral("Microsoft Excel文件(*.xlsx)"),
                        QStringLiteral("xlsx"), false},
                       projectPath_);
    if (!path.isEmpty())
        row_.fileName->setText(QDir::toNativeSeparators(path));
}

void SegmentProjectActions::Button_viewClick()
{
    const QString path = row_.fileName->text();
    if (path.isEmpty()) {
        prompts().error(window_, QStringLiteral("请输入结果输出文件名！"));
        return;
    }
    if (!exists(path)) {
        prompts().error(window_, QStringLiteral("所查看的结果文件不存在！"));
        return;
    }
    if (!OpenDocument(path))
        prompts().error(
            window_,
            QStringLiteral("没有可以打开结果文件“%1”的程序！").arg(QDir::toNativeSeparators(path)));
}
