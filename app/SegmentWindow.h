// The parts the resistance calculators' windows share, at the same places in
// each: the "管段列表" group, the segment grid and the bottom row of project,
// workbook, quit and help controls.
#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QWidget;
class TableGridModel;

struct SegmentListGroup {
    QGroupBox* box;
    QListWidget* list;                // ListBox_pipe
    QPushButton *add, *edit, *remove; // Button_add, Button_edit, Button_del
};
// At its place in the top left corner of the window.
SegmentListGroup NewSegmentListGroup(QWidget* window);

// The read-only grid below the groups, showing the model's table.
QTableView* NewSegmentGrid(QWidget* window, TableGridModel* model);

struct ProjectRow {
    QPushButton *newProject, *open, *excel; // Button_new, Button_open, Button_Excel
    QLineEdit* fileName;                    // Edit_FileName
    QPushButton *browse, *view;             // Button_browse, Button_view
    QPushButton *quit, *help;               // Button_quit, Button_help
};
// Along the window's bottom edge; SegmentProjectActions connects the project
// and workbook controls.
ProjectRow NewProjectRow(QWidget* window);

// The segment number selected in the list; with none, the error box
// "请选择管段编号！" and an empty text.
QString SelectedSegmentNumber(QWidget* window, const QListWidget* list);

// Where the groups stand in the window.
inline constexpr int SegmentGroupsTop = 4, SegmentGroupsHeight = 262;
inline constexpr int SegmentListWidth = 196;
