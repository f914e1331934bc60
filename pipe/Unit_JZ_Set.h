// The local-resistance coefficient editor: the fittings of JZ_pipe.DB with
// their coefficients ξ for DN15 … DN40 and for every other size. The right
// group is enabled only while a fitting is being added or edited.
#pragma once

#include "app/RecordTableStore.h"

#include <QDialog>
#include <array>
#include <optional>
#include <vector>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class Form_JZSet_pipe : public QDialog
{
    Q_OBJECT
public:
    explicit Form_JZSet_pipe(QWidget* parent = nullptr);

    QGroupBox* GroupBox_type; // "局部阻力类型"
    QListWidget* ListBox_Valve;
    QPushButton *Button_add, *Button_edit, *Button_del;
    QGroupBox* GroupBox_xi; // "局部阻力系数"
    QLineEdit* Edit_name;
    QLineEdit *Edit_DN15, *Edit_DN20, *Edit_DN25, *Edit_DN32, *Edit_DN40, *Edit_DN50;
    QPushButton *Button_OK, *Button_Cancel;
    QPushButton *Button_quit, *Button_help;

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class Mode { None, Add, Edit };

    void FormShow();
    void Button_addClick();
    void Button_editClick();
    void Button_delClick();
    void Button_OKClick();
    void Button_CancelClick();
    void Button_quitClick();
    void Button_helpClick();

    void listNames();
    // The identity of the record listed at the selected row; none when
    // nothing is selected.
    std::optional<qint64> selectedRecord() const;
    void setEditing(Mode mode);
    std::array<QLineEdit*, 6> coefficientEdits() const;

    RecordTableStore table_;
    Mode mode_ = Mode::None;
    // Each list row's record (its rowid): records are chosen by identity,
    // since names in an older table may repeat.
    std::vector<qint64> listed_;
    // The record "确定" writes in edit mode: the one chosen at "编辑",
    // wherever the list's selection goes meanwhile.
    std::optional<qint64> edited_;
};
