// The size dialog of the pipe type editor: one size's nominal diameter, outer
// diameter and wall thickness (mm). "确定(&O)" closes it only when the three
// fields make a size; the editor then reads the fields, however the dialog
// was closed.
#pragma once

#include "pipe/PipeCatalogue.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class Form_pipe_DN : public QDialog
{
    Q_OBJECT
public:
    explicit Form_pipe_DN(QWidget* parent = nullptr);

    // The fields as the editor hands them over ("添加": all empty).
    void setTexts(const SizeDialogTexts& texts);
    // The size the fields hold (throws UserError with the field's message).
    PipeSize size() const;

    QLineEdit* Edit_DN; // "管道公称直径(mm)："
    QLineEdit* Edit_De; // "管道外径(mm)："
    QLineEdit* Edit_E;  // "管道壁厚(mm):"
    QPushButton* Button_OK;

private:
    void Button_OKClick();
};
