// The pipe type editor: the types of the catalogue pipe.dat, each a name, a
// wall roughness and up to 40 sizes. The right-hand box edits one type's
// working copy and is enabled only while a type is being added or edited;
// "确定" writes it over the type chosen at "编辑" or, after "添加", as a new
// last type. A name another type holds is refused either way: a type's name
// is its identity.
#pragma once

#include "pipe/PipeCatalogue.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class Form_pipe_DN;

class Form_Pipe_Set : public QDialog
{
    Q_OBJECT
public:
    // sizeDialog: the size dialog "管径编辑", created before this window.
    explicit Form_Pipe_Set(Form_pipe_DN& sizeDialog, QWidget* parent = nullptr);

    // The working copy of the type being added or edited.
    const PipeSizeList& workingSizes() const { return sizes_; }

    QGroupBox* GroupBox_type; // "管道类型"
    QListWidget* ListBox_pipe_ty;
    QPushButton *Button_add, *Button_edit, *Button_del;
    QGroupBox* GroupBox_edit; // "管道参数设置": the editing box
    QLineEdit *Edit_name, *Edit_K;
    QGroupBox* GroupBox_DN; // "管径设置"
    QListWidget* ListBox_Pipe;
    QPushButton *Button_DN_add, *Button_DN_del, *Button_DN_edit, *Button_DN_help;
    QPushButton *Button_OK, *Button_Cancel;
    QPushButton *Button_quit, *Button_help;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button_addClick();
    void Button_editClick();
    void Button_delClick();
    void Button_DN_addClick();
    void Button_DN_editClick();
    void Button_DN_delClick();
    void Button_OKClick();
    void Button_CancelClick();
    void Button_quitClick();
    void Button_helpClick();

    QString cataloguePath() const;
    void listTypes();
    void listSizes();
    // Shows the size dialog and takes the size its fields hold.
    void editSize(const SizeDialogTexts& texts);
    void setEditing(bool on);

    Form_pipe_DN& sizeDialog_;
    PipeSizeList sizes_;
    // The record "确定" writes: the one chosen at "编辑" (followed when a
    // type before it is deleted meanwhile), -1 after "添加".
    int editedRecord_ = -1;
};
