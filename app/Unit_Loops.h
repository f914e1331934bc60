// The loops of a resistance calculator's segment table, opened by "环路(&U)..."
// in the water pipe and the air duct windows: loops (a name and an ordered
// list of segment numbers) and parallel groups of them are added, edited and
// deleted here, and the figures of app/SegmentLoops.h are shown beside them,
// read afresh whenever the calculator's segment table changes. The loops are
// kept beside the table (SegmentLoopsPath): every change is written at once,
// and a change that cannot be written is not made. The figures are a text
// report like the other calculators' ("新建(&N)", "打开(&O)", "保存(&S)",
// "打印(&P)", "字体设置(&F)").
#pragma once

#include "app/SegmentLoops.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class RecordTableStore;
class ReportActions;

// What the dialog reads of its calculator.
struct LoopsSegmentTable {
    RecordTableStore* table = nullptr; // the window's segment table
    QString numberField;               // the segment number's field: "Pipe_No", "Duct_No"
    // Opens the table when it is closed; throws UserError.
    std::function<void()> open;
    int helpContext = 0; // the calculator's help topic, which describes loops
};

class Form_Loops : public QDialog
{
    Q_OBJECT
public:
    Form_Loops(LoopsSegmentTable source, QWidget* parent);
    ~Form_Loops() override;

    // Reads the segment table again and shows the figures; the loops are
    // read again too when the table is another one (another project). Does
    // nothing while the dialog is hidden or the table closed (a table being
    // switched): showing the dialog reads everything. The calculator calls
    // it whenever its table's contents change.
    void refresh();

    const SegmentLoops& loops() const { return loops_; }
    const LoopsFigures& figures() const { return figures_; }
    // The loops file of the table shown; empty before the first showing.
    QString loopsPath() const { return loopsPath_; }

    // "环路"
    QListWidget* ListBox_loops;
    QLineEdit *Edit_loop_name, *Edit_loop_segments;
    QListWidget* ListBox_segments; // the table's segments, to pick from
    QPushButton *Button_pick, *Button_loop_add, *Button_loop_edit, *Button_loop_del,
        *Button_loop_save;
    // "并联环路组"
    QListWidget *ListBox_groups, *ListBox_group_loops; // the latter's items checkable
    QPushButton *Button_group_add, *Button_group_edit, *Button_group_del, *Button_group_save;
    QLineEdit* Edit_limit; // percent
    QPushButton* Button_limit;
    // The figures.
    QTableWidget *DBGrid_loops, *DBGrid_groups;
    // The report row, then quit and help.
    QPushButton *Button_new, *Button_open, *Button_save, *Button_print, *Button_font;
    QPushButton *Button_quit, *Button_help;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button_pickClick();
    void Button_loop_addClick();
    void Button_loop_editClick();
    void Button_loop_delClick();
    void Button_loop_saveClick();
    void Button_group_addClick();
    void Button_group_editClick();
    void Button_group_delClick();
    void Button_group_saveClick();
    void Button_limitClick();
    void Button_newClick();
    void Button_openClick();
    void Button_saveClick();
    void Button_printClick();
    void Button_fontClick();
    void Button_quitClick();
    void Button_helpClick();

    void buildLoopGroup();
    void buildParallelGroup();
    void buildFigureGrids();
    void buildBottomRow();

    void readTable(bool readLoopsAgain);
    // Writes `changed` as the loops file and shows it; false, after the error
    // box, when the file could not be written (the loops stay as they were).
    bool store(const SegmentLoops& changed);
    void showLoops();
    void showFigures();
    int selectedGroup() const;

    LoopsSegmentTable source_;
    SegmentLoops loops_;
    LoopsFigures figures_;
    QStringList numbers_;
    SegmentResistances resistances_;
    QString loopsPath_;
    QString readFailure_;   // why the loops file shown could not be read; empty when it could
    int editingGroup_ = -1; // the group "编辑组" loaded, -1: a new one
    std::unique_ptr<ReportActions> report_;
};
