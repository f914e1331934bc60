// The psychrometric chart window: the i–d chart with the state under the
// mouse, named state points placed by click or by typed values, lines between
// points, mixing points, heat-moisture-ratio lines, the point table under the
// chart and its files, reports and printouts.
#pragma once

#include "app/RecordTableStore.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTableView;
class QToolButton;
class Form_atm;
class ID_lib;
class TableGridModel;
struct ChartReadout;

// The chart picture: shows an image at its logical size and reports the
// mouse in the image's pixels.
class ChartImage : public QWidget
{
    Q_OBJECT
public:
    explicit ChartImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    QImage& picture() { return picture_; }
    const QImage& picture() const { return picture_; }

signals:
    void mouseMoved(int x, int y);
    void mousePressed(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

// What the chart window and the treatment process view share besides the
// picture.

// The point grid under a chart: read-only, whole rows selected, cells in
// "宋体" 15 px and titles in 12 px, each column as wide as declared.
void SetUpPointGrid(QTableView* grid, TableGridModel* model);
// The state under the mouse in the read-out fields i, d, t, RH and ts ("0.00").
void ShowReadout(const ChartReadout& readout, QLineEdit* i, QLineEdit* d, QLineEdit* t,
                 QLineEdit* RH, QLineEdit* ts);
// Applies the local pressure to lib before a showing draws. A text that is no
// number, or a pressure of zero or below or outside the chart's range
// (CheckChartPressure), is reported in the general error box over window and
// gives false: nothing is then drawn or stored at a
// pressure other than the one typed.
bool ChartPressureUsable(QWidget* window, const Form_atm& atm, ID_lib& lib);
// The point report to a text file: the save dialog ("保存文件", *.TXT), then
// the lines, made once the file is chosen, written whole under the chosen
// path. Nothing happens on cancel.
void OutputPointReport(QWidget* parent, const std::function<QStringList()>& lines);
// The point report on the printer: the print dialog, then the lines in
// "宋体" 12 pt.
void PrintPointReport(QWidget* parent, const std::function<QStringList()>& lines);
// The chart on the printer: the print dialog, then the drawn part of the
// picture (ChartPictureCrop) on one page, placed by PlaceChartOnPage
// (centred on the paper within margins of at least 10 mm).
void PrintChartPicture(QWidget* parent, const QImage& picture);
// The chart to a file: the save dialog ("导出图片", PNG, SVG or PDF), for PNG
// the scale (1×–4×, 2× offered first), then the picture drawn from list into
// the file. Nothing happens on cancel; another extension is refused.
void ExportChartPicture(QWidget* parent, const ChartDisplayList& list);
// The chart on the clipboard: its exported part at twice its size
// (ChartImageAt).
void CopyChartPicture(const ChartDisplayList& list);
// Ctrl+C in window copies the chart drawn by list, unless the focus is in a
// text field with selected text, which then copies its text. Called once
// window's text fields exist.
void AddChartCopyShortcut(QWidget* window, const ChartDisplayList& list);

class Form_IDTu : public QDialog
{
    Q_OBJECT
public:
    Form_IDTu(ID_lib& lib, Form_atm& atm, QWidget* parent = nullptr);
    ~Form_IDTu() override;

    ChartImage* Image1;
    QTableView* DBGrid1;
    // Read-out: i, d, t, RH, ts.
    QGroupBox* GroupBox1;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    QToolButton *SpeedButton_point, *SpeedButton_point_N, *SpeedButton_point_two,
        *SpeedButton_point_C, *SpeedButton_point_del;
    QLabel *Label_1, *Label_2, *Label_T, *Label_RH;
    QLineEdit *Edit_C, *Edit_name, *Edit_T, *Edit_RH, *Edit_G;
    QPushButton* Button_OK;
    QPushButton *Button_open, *Button_Save_point, *Button_output_point, *Button_print_point,
        *Button_Printing, *Button_printer_Setup, *Button_export, *Button_quit, *Button_help;
    // A weather year's hours under the points (Form_WeatherYear).
    QPushButton* Button_weather;
    // The comfort zones over the grid; never stored with the points.
    QCheckBox* CheckBox_zones;

    // The point tools' state, for inspection.
    int toolStep() const { return ToolStep; }
    bool awaitingClick() const { return AwaitingClick; }
    QPoint lineStart() const { return LineStart; }
    QPoint lineEnd() const { return LineEnd; }
    QString currentPointFile() const { return CurrentPointFile; }
    RecordTableStore& pointTable() { return table_; }
    const QImage& picture() const { return Image1->picture(); }
    // Everything the picture shows, in the order it was drawn.
    const ChartDisplayList& displayList() const { return display_; }

    // An arrangement of the entry panel under the tool bar.
    struct PanelLayout;

    // Showing reads the local pressure first: a text that is no number (or
    // a pressure outside the chart's range) is reported and the window is not shown,
    // so nothing is drawn or stored at a pressure other than the one typed.
    // exec() then returns Rejected at once.
    void setVisible(bool visible) override;
    int exec() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Image1MouseMove(int x, int y);
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void SpeedButton_pointClick();
    void SpeedButton_point_NClick();
    void SpeedButton_point_twoClick();
    void SpeedButton_point_CClick();
    void SpeedButton_point_delClick();
    void Button_OKClick();
    void Button_Save_pointClick();
    void Button_openClick();
    void Button_output_pointClick();
    void Button_print_pointClick();
    void Button_PrintingClick();
    void Button_printer_SetupClick();
    void Button_exportClick();
    void CheckBox_zonesClick();
    void Button_weatherClick();
    void layWeatherYear();
    void Button_quitClick();
    void Button_helpClick();
    bool pressureUsable();
    void FormShow();
    void TU();

    // Sections of "确定"; each returns false when a message ended the press.
    bool PointFirstStep();
    bool PointTypedValues();
    bool TwoPointFirst();
    bool TwoPointSecond();
    void JoinTwoPoints();
    bool MixFirst();
    bool MixSecond();
    bool MixPoints();
    bool RatioLine();
    bool DeletePointByName();

    enum class NameField { Kept, Emptied };
    void arrangePanel(const PanelLayout& layout, NameField name);
    void completePoint();
    void resetPointPanel();
    bool toolSelected(QToolButton* tool);
    bool takeText(QLineEdit* field, const QString& emptyMessage, QString& into);
    bool takeNumber(QLineEdit* field, const QString& emptyMessage, double& into);
    std::optional<ChartState> findPending();
    void storePoint(const QString& name, double T, double RH, ChartState state);
    void paint(ChartDisplayList::Step draw);
    void openPointTable(const QString& path);
    QStringList reportLines();
    void error(const QString& text);

    ID_lib& lib_;
    Form_atm& atm_;
    RecordTableStore table_;
    TableGridModel* gridModel_;
    QButtonGroup* tools_;
    // What the picture shows: every drawing goes through it (paint, TU).
    ChartDisplayList display_;
    // The weather year last laid and the dialog's fields; laid while shown.
    struct WeatherYearChoice;
    std::unique_ptr<WeatherYearChoice> weather_;

    int ToolStep = 1;
    bool AwaitingClick = false;
    QString PendingName;
    QString MixName;
    QPoint LineStart;    // (0, 0): unset
    QPoint LineEnd;      // (0, 0): unset
    double MixFlow1 = 0; // m³/h; the ratio tool keeps its ratio here too
    double MixFlow2 = 0; // m³/h
    ChartState FirstMixState;
    ChartState SecondMixState;
    // The point file chosen by the last save or open; empty while the
    // scratch table is in use.
    QString CurrentPointFile;
};
