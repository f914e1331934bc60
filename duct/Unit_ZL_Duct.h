// The duct resistance calculator: one round or rectangular segment at a time,
// computed (duct/DuctSegment.h) with the current air properties and stored
// under its segment number in the segment table, which the list and the grid
// show.
#pragma once

#include "app/RecordTableStore.h"
#include "app/SegmentWindow.h"
#include "duct/DuctSegment.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class Form_Advanced;
class Form_Loops;
class SegmentProjectActions;
class TableGridModel;

class Form_ZL_Duct : public QDialog
{
    Q_OBJECT
public:
    // The advanced settings dialog, created before this window.
    explicit Form_ZL_Duct(Form_Advanced& advanced, QWidget* parent = nullptr);
    ~Form_ZL_Duct() override;

    // The air properties the next segment is computed with (the workbook
    // prints them): the open project's, or the defaults without a project.
    // Setting them also writes them into the advanced dialog's fields, which
    // the calculation reads.
    const AirProperties& airProperties() const { return air_; }
    void setAirProperties(const AirProperties& air);
    // Shows and edits the segment table in the file at path from now on (a
    // project's table); the list is filled from it. Throws UserError, keeping
    // the table it had, when the file does not open.
    void useSegmentTable(const QString& path);
    // The project file, empty until a project is created or opened.
    QString projectPath() const;
    // Opens the project file at path as "打开(&O)" does once the file is
    // chosen (a project given on the command line). Throws UserError, keeping
    // the project the window had, when it cannot be opened.
    void openProject(const QString& path);
    const RecordTableStore& segmentTable() const { return segments_; }

    // "管段列表"
    QListWidget* ListBox_pipe;
    QPushButton *Button_add, *Button_edit, *Button_del;
    QPushButton* Button_loops; // "环路(&U)..."
    // "数据输入"
    QLineEdit *Edit_duct_No, *Edit_L, *Edit_G;
    QRadioButton *RadioButton_Yuan, *RadioButton_Fang;
    QLabel *Label_DN, *Label_W, *Label_H;
    QComboBox *ComboBox_DN, *ComboBox_W, *ComboBox_H;
    QComboBox* ComboBox_JZ_Ty;
    QLineEdit *Edit_JZ_K, *Edit_JZ_n;
    QPushButton *Button_Advanced, *Button_Save, *Button_Cancel;
    QTableView* DBGrid1;
    // The bottom row: projects and the results workbook, then quit and help.
    QPushButton *Button_new, *Button_open, *Button_Excel;
    QLineEdit* Edit_FileName;
    QPushButton *Button_browse, *Button_view;
    QPushButton *Button_quit, *Button_help;

    // The loops dialog of this window's segment table.
    // The loops dialog, made on first use.
    Form_Loops* loopsDialog();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void RadioButton_YuanClick();
    void RadioButton_FangClick();
    void Button_AdvancedClick();
    void Button_addClick(); // "添加(&A)" and "取消(&C)"
    void Button_editClick();
    void DBGrid1CellClick();
    void Button_delClick();
    void Button_loopsClick();
    void Button_SaveClick();
    void Button_quitClick();
    void Button_helpClick();

    void buildListGroup();
    void buildInputGroup();
    void buildGrid();
    void buildBottomRow();
    void enableShape(bool round);
    DuctSegmentInputs readInputs() const;

    Form_Advanced& advanced_;
    AirProperties air_;
    AirProperties projectAir_; // what the open project's file holds
    RecordTableStore segments_;
    SegmentTableList segmentList_;
    TableGridModel* gridModel_;
    std::unique_ptr<SegmentProjectActions> projects_;
    Form_Loops* loops_ = nullptr; // a child window, beside this one while it is shown
};
