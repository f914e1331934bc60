// The treatment process view: the last air treatment calculation drawn on the
// i–d chart (its state points marked and labelled, joined by the process
// lines) with each point's state listed under the chart, the state under the
// mouse, and the point list written to a file or printed, the chart printed.
#pragma once

#include "app/RecordTableStore.h"
#include "chart/ChartDisplayList.h"

#include <QDialog>
#include <QStringList>

class ChartImage;
class Form_atm;
class ID_lib;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TableGridModel;
struct TreatmentResult;
enum class ReportTarget;

class Form_IDTu_Treat : public QDialog
{
    Q_OBJECT
public:
    // result: the program's record of the last air treatment calculation.
    Form_IDTu_Treat(ID_lib& lib, Form_atm& atm, const TreatmentResult& result,
                    QWidget* parent = nullptr);
    ~Form_IDTu_Treat() override;

    ChartImage* Image1;
    QTableView* DBGrid1;
    // Read-out: i, d, t, RH, ts.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    QPushButton *Button_G_Treat, *Button_output, *Button_Print_Set, *Button_G_Print, *Button_export,
        *Button_P_Print, *Button_quit, *Button_help;

    RecordTableStore& pointTable() { return table_; }
    const QImage& picture() const;
    // Everything the picture shows, in the order it was drawn.
    const ChartDisplayList& displayList() const { return display_; }

    // Showing reads the local pressure first, as the chart window does: a
    // text that is no number is reported and the window is not shown.
    void setVisible(bool visible) override;
    int exec() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Image1MouseMove(int x, int y);
    void Button_G_TreatClick();
    void Button_outputClick();
    void Button_P_PrintClick();
    void Button_G_PrintClick();
    void Button_exportClick();
    void Button_Print_SetClick();
    void Button_quitClick();
    void Button_helpClick();
    QStringList reportLines(ReportTarget target);

    ID_lib& lib_;
    Form_atm& atm_;
    const TreatmentResult& result_;
    RecordTableStore table_;
    TableGridModel* gridModel_;
    // What the picture shows: the showing starts it, the process adds to it.
    ChartDisplayList display_;
};
