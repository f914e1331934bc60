// Form_unit: the unit converter. One value in a chosen unit is converted into
// every unit of its quantity, on six tabbed pages.
#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class Form_unit : public QDialog
{
    Q_OBJECT
public:
    explicit Form_unit(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    // Input fields (Edit18, Edit24, Edit0, Edit10, Edit29, Edit39) and result
    // fields of the six pages.
    QLineEdit *Edit0, *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QLineEdit *Edit8, *Edit9, *Edit10, *Edit11, *Edit12, *Edit13, *Edit14, *Edit15;
    QLineEdit *Edit16, *Edit17, *Edit18, *Edit19, *Edit20, *Edit21, *Edit22, *Edit23;
    QLineEdit *Edit24, *Edit25, *Edit26, *Edit27, *Edit28, *Edit29, *Edit30, *Edit31;
    QLineEdit *Edit32, *Edit33, *Edit34, *Edit35, *Edit36, *Edit39, *Edit40, *Edit41;
    QLineEdit* Edit42;
    // One per unit: the selected one is the unit of the input.
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5,
        *RadioButton6, *RadioButton7, *RadioButton8;
    QRadioButton *RadioButton9, *RadioButton10, *RadioButton11, *RadioButton12, *RadioButton13,
        *RadioButton14, *RadioButton15, *RadioButton16;
    QRadioButton *RadioButton17, *RadioButton18, *RadioButton19, *RadioButton20, *RadioButton21,
        *RadioButton22, *RadioButton23, *RadioButton24;
    QRadioButton *RadioButton25, *RadioButton26, *RadioButton27, *RadioButton28, *RadioButton29,
        *RadioButton30, *RadioButton31, *RadioButton32;
    QRadioButton *RadioButton35, *RadioButton36, *RadioButton37;
    // Per page: calculate, clear, quit; and the "=" button beside the results,
    // which calculates too.
    QPushButton *Button_L_c, *Button_L_clear, *Button_L_quit, *Button_M_c, *Button_M_clear,
        *Button_M_quit;
    QPushButton *Button_p_cal, *Button_p_clear, *Button_p_quit, *Button_N_c, *Button_N_clear,
        *Button_N_quit;
    QPushButton *Button1, *Button2, *Button3, *Button_MD_cal, *Button_MD_clear, *Button_MD_quit;
    QPushButton *Button_L_eq, *Button_M_eq, *Button_p_eq, *Button_N_eq, *Button_E_eq, *Button_MD_eq;

    void Button_L_cClick();
    void Button_L_clearClick();
    void Button_L_quitClick();
    void Button_M_cClick();
    void Button_M_clearClick();
    void Button_M_quitClick();
    void Button_p_calClick();
    void Button_p_clearClick();
    void Button_p_quitClick();
    void Button_N_cClick();
    void Button_N_clearClick();
    void Button_N_quitClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button_MD_calClick();
    void Button_MD_clearClick();
    void Button_MD_quitClick();

private:
    struct PageControls;
    static const PageControls& controlsOf(int page);
    void calculatePage(int page);
    void clearPage(int page);
    int selectedUnit(int page) const;

    QButtonGroup* unitGroups_[6];
};
