// The water pipe resistance calculator: one segment at a time, from its flow
// or heat load, the way its size is found, its length and its local
// resistances, the velocity, specific friction and resistances are computed
// (pipe/PipeSegment.h) and stored under the segment number in the segment
// table, which the list and the grid show.
#pragma once

#include "app/RecordTableStore.h"
#include "app/SegmentWindow.h"
#include "pipe/PipeSegment.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class Form_BZL_Set;
class Form_JZSet_pipe;
class Form_Pipe_Set;
class Form_Loops;
class SegmentProjectActions;
class TableGridModel;

class Form_ZL_pipe : public QDialog
{
    Q_OBJECT
public:
    // The automatic size dialog, the coefficient editor and the pipe type
    // editor, all created before this window.
    Form_ZL_pipe(Form_BZL_Set& sizeSetting, Form_JZSet_pipe& coefficientEditor,
                 Form_Pipe_Set& pipeTypeEditor, QWidget* parent = nullptr);
    ~Form_ZL_pipe() override;

    // The water of the last calculation that passed the input checks. The
    // results workbook prints the water of the type and temperatures shown
    // instead, beside which it prints them.
    const WaterState& lastWater() const { return lastWater_; }
    const RecordTableStore& segmentTable() const { return segments_; }
    const RecordTableStore& coefficientTable() const { return coefficients_; }
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

    // "管段列表"
    QListWidget* ListBox_pipe;
    QPushButton *Button_add, *Button_edit, *Button_del;
    QPushButton* Button_loops; // "环路(&U)..."
    // "数据输入"
    QLineEdit *Edit_pipe_No, *Edit_L;
    QRadioButton *RadioButton_G, *RadioButton_Q;
    QLineEdit* Edit_G;
    QRadioButton *RadioButton_V, *RadioButton_DN, *RadioButton_Z;
    QLineEdit* Edit_V;
    QComboBox* ComboBox_DN;
    QPushButton* Button_Set;
    QComboBox* ComboBox_JZ_Ty;
    QLabel* Image_JZ; // the selected fitting's picture, an empty frame without one
    QLineEdit* Edit_JZ_n;
    QPushButton *Button_Edit_JZ, *Button_Save, *Button_Cancel;
    // The pipe and the water.
    QComboBox* ComboBox_pipe;
    QLineEdit *Edit_T1, *Edit_T2;
    QPushButton* Button_Edit_pipe;
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
    void ComboBox_pipeChange();
    void ComboBox_JZ_TyChange();
    void RadioButton_VClick();
    void RadioButton_DNClick();
    void RadioButton_ZClick();
    void Button_SetClick();
    void Button_Edit_pipeClick();
    void Button_Edit_JZClick();
    void Button_addClick(); // "添加(&A)" and "取消(&C)"
    void Button_editClick();
    void DBGrid1CellClick();
    void Button_delClick();
    void Button_loopsClick();
    void Button_SaveClick();
    void Button_quitClick();
    void Button_helpClick();

    void buildListGroup();
    QGroupBox* buildInputGroup();
    QGroupBox* buildPipeGroup();
    void buildGrid();
    void buildBottomRow();

    void enableSizeEntry(SizeEntry entry);
    std::vector<PipeTypeRecord> fillPipeTypes();
    std::vector<PipeTypeRecord> readCatalogue() const;
    void fillNominalDiameters(const PipeTypeRecord& type);
    void fillFittingNames();
    void showFittingPicture(bool found);
    void loadCurrentSegment();
    PipeSegmentInputs readInputs() const;

    Form_BZL_Set& sizeSetting_;
    Form_JZSet_pipe& coefficientEditor_;
    Form_Pipe_Set& pipeTypeEditor_;
    QButtonGroup *flowGroup_, *sizeGroup_;
    RecordTableStore segments_;
    RecordTableStore coefficients_;
    SegmentTableList segmentList_;
    TableGridModel* gridModel_;
    WaterState lastWater_;
    std::unique_ptr<SegmentProjectActions> projects_;
    Form_Loops* loops_ = nullptr; // a child window, beside this one while it is shown
    bool shownBefore_ = false;    // the pipe type box offers a first type once
};
