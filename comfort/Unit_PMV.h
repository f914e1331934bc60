// Form_PMV: the thermal comfort calculator (PMV and PPD of a room for a person
// of given activity and clothing), with its sensation scale and text report.
#pragma once

#include "app/ReportActions.h"

#include <QDialog>

class ID_lib;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct PmvReportValues;

class Form_PMV : public QDialog
{
    Q_OBJECT
public:
    explicit Form_PMV(ID_lib& lib, QWidget* parent = nullptr);

    // Room ("室内环境").
    QLineEdit* Edit_Ta;
    QLineEdit* Edit_RH;
    QLineEdit* Edit_Va;
    QLineEdit* Edit_Tr;
    // Person ("人员").
    QComboBox* ComboBox_M;
    QLineEdit* Edit_W;
    QLineEdit* Edit_Icl;
    // Results ("计算结果").
    QLineEdit* Edit_PMV;
    QLineEdit* Edit_PPD;
    // Sensation scale ("热感觉标尺").
    QLabel* Image_marker;
    QLabel* Image_bar;

    QPushButton* Button_cal;
    QPushButton* Button_quit;
    QPushButton* Button_help;
    QPushButton* Button_new;
    QPushButton* Button_open;
    QPushButton* Button_save;
    QPushButton* Button_print;
    QPushButton* Button_font;

    const ReportActions& reports() const { return reports_; }

    void Button_calClick();
    void Button_quitClick();
    void Button_helpClick();
    void Button_newClick();
    void Button_openClick();
    void Button_saveClick();
    void Button_printClick();
    void Button_fontClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void showResults();
    void drawMarker(double pmv);
    PmvReportValues reportValues() const;

    ID_lib& lib_;
    ReportActions reports_;
    // The last calculation's values (all 0 until the first): the results stay
    // when a later calculation fails, and M is the one the report names.
    double PMV_ = 0;
    double PPD_ = 0;
    double M_ = 0;
};
