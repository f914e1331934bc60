// The air-flow dialog of the secondary return-air winter process: the total
// supply, fresh and primary return air (kg/h) that process takes instead of a
// supply temperature and a fresh-air entry.
#pragma once

#include "airtreat/TreatmentCalc.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class Form_G : public QDialog
{
    Q_OBJECT
public:
    explicit Form_G(QWidget* parent = nullptr);

    // The three fields as typed; they keep their text between showings.
    AirFlowTexts texts() const;

    QLineEdit* Edit1; // total supply air G
    QLineEdit* Edit2; // fresh air GW
    QLineEdit* Edit3; // primary return air G1
    QPushButton* Button1;

private:
    void Button1Click();
};
