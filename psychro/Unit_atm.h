// The local-pressure dialog: holds, as the text of its one field, the
// atmospheric pressure (Pa) that every moist-air calculation reads.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class ID_lib;

class Form_atm : public QDialog
{
    Q_OBJECT
public:
    explicit Form_atm(QWidget* parent = nullptr);

    // The pressure text exactly as typed ("101325" at start).
    QString pressureText() const;
    // Sets AtmPressure from the field's text and PsychroCoefficient to
    // 0.0006725, as every calculation does first. Throws ConversionError for a
    // text that is not a number and UserError("大气压力必须大于0！") for a
    // pressure of zero or below.
    void applyTo(ID_lib& lib) const;

    QLineEdit* Edit1;
    QPushButton* Button_OK;

private:
    void Button_OKClick();
};
