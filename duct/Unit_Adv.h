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

    // Shows the dialog modally with its fields filled from the current
    // properties in the dialog's formats.
    void showFor(const AirProperties& current);
    AirPropertyTexts texts() const;
    void setTexts(const AirPropertyTexts& texts);

    QLineEdit *Edit_Ruo, *Edit_miu, *Edit_K;
    QPushButton* Button_OK;
};
