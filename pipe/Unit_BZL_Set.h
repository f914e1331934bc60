// The automatic size dialog: the largest specific friction (Pa/m) a size
// chosen automatically may have. The pipe calculator reads the field at every
// automatic sizing; it is not saved and starts at 200 with every program start.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class Form_BZL_Set : public QDialog
{
    Q_OBJECT
public:
    explicit Form_BZL_Set(QWidget* parent = nullptr);

    QLineEdit* Edit1; // "最大比摩阻(Pa/m)："
    QPushButton* Button_OK;

private:
    void Button_OKClick();
};
