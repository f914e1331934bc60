// The air treatment calculator: the user picks one of the four treatment
// processes, enters the outdoor and indoor design data, the room loads and the
// supply conditions, and reads the state points' figures, air quantities and
// duties. The calculation is the core's (airtreat/TreatmentCalc.h).
#pragma once

#include "airtreat/TreatmentCalc.h"
#include "app/ReportActions.h"

#include <QDialog>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Form_atm;
class Form_G;
class Form_IDTu_Treat;
class Form_wea;
struct TreatmentReportValues;

class Form_Air_treat : public QDialog
{
    Q_OBJECT
public:
    // result: the program's one record of the last calculation, which the
    // treatment chart view draws.
    Form_Air_treat(ID_lib& lib, TreatmentResult& result, QWidget* parent = nullptr);
    ~Form_Air_treat() override;
    // The local-pressure and air-flow dialogs, created after this window.
    void useDialogs(Form_atm& atm, Form_G& airFlows);
    // The city weather dialog and the treatment process view.
    void useViews(Form_wea& weather, Form_IDTu_Treat& processChart);

    // "空气处理方式": processes 1 to 4.
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
    // Outdoor: tW, tsW, φW; indoor: tN, φN, Q (kW), W (kg/h), tO, fresh-air entry.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    // How Edit9 is read: fresh-air quantity (kg/h) or ratio (%).
    QRadioButton *RadioButton6, *RadioButton7;
    // Results: tO, φO, G, m, GW, G1, G2 (kg/h and %), iC, tL, Q0, Qp, Qr, Qp + Qr (kW).
    QLineEdit *Edit10, *Edit11, *Edit12, *Edit13, *Edit14, *Edit15, *Edit16, *Edit17, *Edit18,
        *Edit19, *Edit20, *Edit21, *Edit22;
    QPushButton* Button1; // city weather
    QPushButton *Button_atm, *Button_ID, *Button_new, *Button_open, *Button_cal, *Button_save;
    QPushButton* Button2; // print
    QPushButton* Button3; // font
    QPushButton *Button_quit, *Button_help;

    const ReportActions& report() const { return *report_; }
    const TreatmentResult& result() const { return result_; }
    // The label beside a field (a greyed label goes with its field).
    QLabel* labelOf(const QLineEdit* edit) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RadioButtonClick(TreatmentProcess process);
    void Button_calClick();
    void Button1Click();
    void Button_IDClick();
    void Button_atmClick();
    void Button_newClick();
    void Button_openClick();
    void Button_saveClick();
    void Button2Click();
    void Button3Click();
    void Button_quitClick();
    void Button_helpClick();
    void FormShow();

    QGroupBox* buildProcessGroup();
    QGroupBox* buildOutdoorGroup();
    QGroupBox* buildIndoorGroup();
    QGroupBox* buildResultGroup();
    void buildButtons();
    QLineEdit* addField(QWidget* group, const char* name, const QString& caption, int top,
                        int labelWidth, int editWidth);

    TreatmentProcess selectedProcess() const;
    TreatmentInputs readInputs() const;
    void showResults(TreatmentProcess process, const TreatmentCalculation& calculation);
    // The report block, refused while the results are stale.
    TreatmentReportValues reportValues() const;

    ID_lib& lib_;
    TreatmentResult& result_;
    Form_atm* atm_ = nullptr;
    Form_G* airFlows_ = nullptr;
    Form_wea* weather_ = nullptr;
    Form_IDTu_Treat* processChart_ = nullptr;
    std::array<QRadioButton*, 4> processes_{};
    std::array<QLineEdit*, kShownResultCount> results_{};
    std::unique_ptr<ReportActions> report_;
    // The last press of "计算(&C)" did not complete: the result fields show
    // an earlier calculation, not the inputs' one.
    bool resultsStale_ = false;
};
