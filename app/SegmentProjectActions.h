// The project and results workbook controls of a resistance calculator's
// bottom row: "新建(&N)", "打开(&O)", "输出到Excel(&E)", Edit_FileName with
// "浏览(&R)..." and "查看结果(&L)". The window gives what differs (the
// project file's extension, filters, caption and template, what its project
// file holds and how its workbook is written); the steps are the same.
//
// A project switches only when it is ready: the template is copied (through
// a temporary file) or the project file read and its table opened first, and
// only then do the caption, Edit_FileName, the window's settings and its
// segment table change; a failure leaves the old project as it was. An
// existing project file, segment table or workbook is replaced only after
// the question.
#pragma once

#include "app/SegmentWindow.h"

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
struct TableDeclaration;

struct SegmentProjectKind {
    QString extension;        // "gzl", without the dot
    QString newFilter;        // the new-project dialog's filter, Qt form
    QString openFilter;       // the open dialog's filter
    QString captionPrefix;    // the caption before "[name.gzl]"
    QString templateFileName; // the empty segment table in the data directory
    int lineCount = 0;        // lines of the project file
    const TableDeclaration* declaration = nullptr;
};

// What the window does for its projects.
struct SegmentProjectWindow {
    // The project file of a new project (from the window's current settings
    // or the defaults).
    std::function<QStringList()> newProjectLines;
    // Checks a project file's lines and returns what puts them into the
    // window; throws UserError (a ConversionError) for lines it cannot use,
    // before anything changed.
    std::function<std::function<void()>(const QStringList& lines)> readProject;
    // Shows and edits the segment table at path from now on; throws UserError
    // and keeps the table it had when the new one does not open.
    std::function<void(const QString& tablePath)> useSegmentTable;
    // Reads what the workbook's heading needs from the window and returns
    // what writes the workbook; throws UserError, with the reason, for
    // settings it cannot use. The writer throws UserError when the file
    // cannot be written. projectFileName is the project's file name without
    // its directory, empty without a project.
    using WorkbookWriter = std::function<void(const QString& path, const QString& projectFileName)>;
    std::function<WorkbookWriter()> workbookWriter;
};

class SegmentProjectActions
{
public:
    // Connects the row's project and workbook buttons and enables them.
    SegmentProjectActions(QDialog* window, const ProjectRow& row, SegmentProjectKind kind,
                          SegmentProjectWindow hooks);

    // The current project file; empty until one is created or opened.
    QString projectPath() const { return projectPath_; }

    void Button_newClick();
    void Button_openClick();
    // Opens the project file at path as "打开(&O)" does once the file is
    // chosen. Throws UserError, keeping the project the window had, when the
    // file or its segment table cannot be used.
    void open(const QString& path);
    void Button_ExcelClick();
    void Button_browseClick();
    void Button_viewClick();

private:
    void switchTo(const QString& projectPath, const std::function<void()>& applySettings);
    void openTable(const QString& tablePath) const;

    QDialog* window_;
    ProjectRow row_;
    SegmentProjectKind kind_;
    SegmentProjectWindow hooks_;
    QString projectPath_;
};
