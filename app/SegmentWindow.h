// The parts the resistance calculators' windows share, at the same places in
// each: the "管段列表" group, the segment grid and the bottom row of project,
// workbook, quit and help controls.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QGroupBox;
class RecordTableStore;
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
    QPushButton* loops;               // Button_loops: "环路(&U)...", the loops dialog
};
// At its place in the top left corner of the window.
SegmentListGroup NewSegmentListGroup(QWidget* window);

// The read-only grid below the groups, showing the model's table. A click
// on a row makes that record of table current and calls loadCurrent.
QTableView* NewSegmentGrid(QWidget* window, TableGridModel* model, RecordTableStore& table,
                           std::function<void()> loadCurrent);

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

// How a calculator's segment table is read by segment number (its core's
// functions).
struct SegmentKeys {
    QStringList (*numbers)(RecordTableStore& table);
    bool (*find)(RecordTableStore& table, const QString& number);
    bool (*remove)(RecordTableStore& table, const QString& number);
    // Refuses (UserError) a table holding a record no calculation stores.
    void (*check)(const RecordTableStore& table) = nullptr;
};

// The segment table a resistance window edits, with the list of its segment
// numbers: the data directory's default table until a project's table is
// used. The table stays open once opened.
class SegmentTableList
{
public:
    SegmentTableList(RecordTableStore& table, QString defaultFileName, SegmentKeys keys);
    void attach(QListWidget* list) { list_ = list; }

    // Opens the table when it is closed (throws UserError, the table then
    // closed, also for a table whose records the keys' check refuses).
    void open();
    // The list filled from the table.
    void fill();
    // The table in the file at path from now on, the list filled from it;
    // throws UserError, keeping the table it had, when the file does not open
    // or its records are refused.
    void use(const QString& path);
    // "编辑(&E)": makes the selected segment current. False, after its
    // message, when none is selected or it is no longer in the table.
    bool findSelected(QWidget* window);
    // "删除(&D)": deletes the selected segment after "确实要删除该项吗？",
    // then fills the list again.
    void deleteSelected(QWidget* window);

private:
    void checkRecords();

    RecordTableStore& table_;
    QString defaultFileName_;
    SegmentKeys keys_;
    QString path_; // empty: the data directory's default table
    QListWidget* list_ = nullptr;
};

// Where the groups stand in the window.
inline constexpr int SegmentGroupsTop = 4, SegmentGroupsHeight = 262;
inline constexpr int SegmentListWidth = 196;
