// The state-point calculator: the user picks two known quantities of a
// moist-air state, types their values and gets all eight quantities.
#pragma once

#include "app/ReportActions.h"
#include "psychro/StatePointCalc.h"

#include <QDialog>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Form_atm;

class Form_id : public QDialog
{
    Q_OBJECT
public:
    Form_id(ID_lib& lib, Form_atm& atm, QWidget* parent = nullptr);
    ~Form_id() override;

    QLineEdit* Edit1; // first value
    QLineEdit* Edit2; // second value
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5;
    QRadioButton *RadioButton6, *RadioButton7, *RadioButton8, *RadioButton9, *RadioButton10;
    // Results: t, ts, RH, d (g/kg), i, tdew, rho, pv.
    QLineEdit *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;
    QPushButton *Button_new, *Button_open, *Button_cal, *Button_save, *Button_print, *Button_font,
        *Button_quit, *Button_atm, *Button_help;

    const ReportActions& report() const { return *report_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button_calClick();
    void Button_atmClick();
    void Button_helpClick();
    void Button_newClick();
    void Button_openClick();
    void Button_saveClick();
    void Button_printClick();
    void Button_fontClick();
    void Button_quitClick();
    void FormShow();
    // A quantity clicked in one group enables the other group's choices.
    void RadioButtonClick(int group, Quantity quantity);

    QGroupBox* buildGroup(int group, const QString& title, QLineEdit*& edit);
    std::optional<Quantity> selected(int group) const;

    ID_lib& lib_;
    Form_atm& atm_;
    // Per group, per quantity: the radio button and the small labels that
    // complete the d and i captions ("干空气", ")").
    std::array<std::array<QRadioButton*, 5>, 2> radios_{};
    std::array<std::array<QList<QLabel*>, 5>, 2> captionParts_{};
    std::unique_ptr<ReportActions> report_;
};
