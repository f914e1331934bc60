// The advanced settings of the duct calculator: the air's density and
// kinematic viscosity and the ducts' wall roughness.
#pragma once

#include "duct/DuctSegment.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class Form_Advanced : public QDialog
{
    Q_OBJECT
public:
    explicit Form_Advanced(QWidget* parent = nullptr);

    // Shows the dialog modally with its fields holding exactly the current
    // properties. It closes (by "确定", Esc or its close box) only on fields
    // the calculation accepts: a refused field shows its message and keeps
    // the dialog open with that field selected, so that what the fields hold
    // is always what computes.
    void showFor(const AirProperties& current);
    AirPropertyTexts texts() const;
    void setTexts(const AirPropertyTexts& texts);

    QLineEdit *Edit_Ruo, *Edit_miu, *Edit_K;
    QPushButton* Button_OK;

protected:
    void done(int result) override;

private:
    AirProperties inForce_;
};
