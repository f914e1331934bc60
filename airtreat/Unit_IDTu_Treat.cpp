#include "airtreat/Unit_IDTu_Treat.h"

#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Prompts.h"
#include "app/ReportPrinter.h"
#include "app/TableGridModel.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartReadout.h"
#include "chart/PointTable.h"
#include "chart/Unit_ID_Graphics.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <iterator>

namespace
{

using G = ChartGeometry;

constexpr int kHelpContext = 7;
constexpr QSize kClientSize{975, 693};
constexpr int kGridHeight = 100;

} // namespace

Form_IDTu_Treat::Form_IDTu_Treat(ID_lib& lib, Form_atm& atm, const TreatmentResult& result,
                                 QWidget* parent)
    : QDialog(parent), lib_(lib), atm_(atm), result_(result), table_(TreatPointTableDeclaration())
{
    setObjectName(QStringLiteral("Form_IDTu_Treat"));
    setWindowTitle(QStringLiteral("湿空气焓湿图"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientSize);

    Image1 = new ChartImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(4, 4), G::ImageSize));
    // No cursor of its own: the read-out is all the mouse does here.
    Image1->unsetCursor();

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(4, 4 + G::ImageSize.height() + 4, G::ImageSize.width(), kGridHeight);
    gridModel_ = new TableGridModel(&table_, this);
    SetUpPointGrid(DBGrid1, gridModel_);

    // The read-out to the right of the chart, each caption over its field,
    // and the buttons below it.
    const int right = 4 + G::ImageSize.width() + 8;
    const int columnWidth = kClientSize.width() - right - 8;
    struct ReadoutRow {
        const char* caption;
        const char* name;
        QLineEdit** edit;
    };
    const ReadoutRow readouts[] = {{"干球温度(℃)：", "Edit3", &Edit3},
                                   {"湿球温度(℃):", "Edit5", &Edit5},
                                   {"相对湿度(%):", "Edit4", &Edit4},
                                   {"含湿量(g/kg):", "Edit2", &Edit2},
                                   {"焓(kj/kg):", "Edit1", &Edit1}};
    for (int row = 0; row < 5; ++row) {
        const ReadoutRow& r = readouts[row];
        const int top = 8 + 46 * row;
        NewLabel(this, "", QString::fromUtf8(r.caption), {right, top, columnWidth, 18});
        *r.edit = NewEdit(this, r.name, {right, top + 18, columnWidth, 22});
        (*r.edit)->setReadOnly(true);
        (*r.edit)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    struct ButtonRow {
        const char* name;
        const char* caption;
        QPushButton** button;
        void (Form_IDTu_Treat::*handler)();
    };
    const ButtonRow buttons[] = {
        {"Button_G_Treat", "处理过程图", &Button_G_Treat, &Form_IDTu_Treat::Button_G_TreatClick},
        {"Button_output", "输出结果", &Button_output, &Form_IDTu_Treat::Button_outputClick},
        {"Button_Print_Set", "打印机设置", &Button_Print_Set,
         &Form_IDTu_Treat::Button_Print_SetClick},
        {"Button_G_Print", "打印焓湿图", &Button_G_Print, &Form_IDTu_Treat::Button_G_PrintClick},
        {"Button_export", "导出图片(&X)...", &Button_export, &Form_IDTu_Treat::Button_exportClick},
        {"Button_P_Print", "打印状态参数", &Button_P_Print, &Form_IDTu_Treat::Button_P_PrintClick},
        {"Button_quit", "退出", &Button_quit, &Form_IDTu_Treat::Button_quitClick},
        {"Button_help", "帮助", &Button_help, &Form_IDTu_Treat::Button_helpClick},
    };
    for (int k = 0; k < int(std::size(buttons)); ++k) {
        const ButtonRow& b = buttons[k];
        *b.button = NewButton(this, b.name, QString::fromUtf8(b.caption),
                              {right, 250 + 36 * k, columnWidth, 28});
        ConnectGuarded(*b.button, &QPushButton::clicked, this, b.handler);
    }

    AddChartCopyShortcut(this, display_);
    QObject::connect(Image1, &ChartImage::mouseMoved, this,
                     [this](int x, int y) { Guarded(this, [&] { Image1MouseMove(x, y); }); });

    // An empty picture until the first showing draws the chart.
    QImage blank(G::ImageSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    Image1->setPicture(blank);
    SetUpKeyboard(this, nullptr); // read-outs only: Enter presses just the focused button
}

// The grid's model reads the table's declaration: it goes before the table.
Form_IDTu_Treat::~Form_IDTu_Treat()
{
    DBGrid1->setModel(nullptr);
    delete gridModel_;
}

const QImage& Form_IDTu_Treat::picture() const
{
    return Image1->picture();
}

// ---- Showing -------------------------------------------------------------

void Form_IDTu_Treat::setVisible(bool visible)
{
    if (visible && !isVisible() && !ChartPressureUsable(this, atm_, lib_))
        return;
    QDialog::setVisible(visible);
}

// QDialog::exec() would wait for a window that a refused showing never shows.
int Form_IDTu_Treat::exec()
{
    if (!isVisible() && !ChartPressureUsable(this, atm_, lib_))
        return Rejected;
    return QDialog::exec();
}

void Form_IDTu_Treat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}

// A fresh chart at the local pressure and an empty point list: each showing
// starts bare. The list is the view's own table, so the chart window's
// points stay as they are.
void Form_IDTu_Treat::FormShow()
{
    atm_.applyTo(lib_);
    QStringList messages;
    display_.reset(lib_, atm_.pressureText());
    Image1->setPicture(display_.render(devicePixelRatio(), &messages));
    for (const QString& message : messages)
        prompts().error(this, message);
    if (!table_.isOpen()) {
        table_.setPath(DataDir::file(QString::fromLatin1(TreatPointTableFileName)));
        table_.open();
    }
    DeleteAllPoints(table_);
}

// ---- The mouse -----------------------------------------------------------

void Form_IDTu_Treat::Image1MouseMove(int x, int y)
{
    ShowReadout(ReadOutAt(lib_, QPoint(x, y)), Edit1, Edit2, Edit3, Edit4, Edit5);
}

// ---- The process -----------------------------------------------------------

// The points are stored before they are drawn: a table that refuses them
// leaves no marks without records. A point stored again replaces its record
// of the same name, so a second press leaves one set in the list (and draws
// the same marks over the first).
void Form_IDTu_Treat::Button_G_TreatClick()
{
    if (!result_.Calculated) {
        prompts().error(this, QStringLiteral("请首先进行湿空气处理过程计算！"));
        return;
    }
    const std::vector<TreatmentChartStep> steps = TreatmentChartSteps(result_);
    const std::vector<StatePoint> records = TreatmentPointRecords(lib_, steps);
    {
        SuspendedUpdates suspended(table_);
        for (const StatePoint& record : records)
            StorePoint(table_, record);
    }
    const ChartDisplayList::Step draw = [steps](QPainter& p) { DrawTreatmentChart(p, steps); };
    {
        QPainter painter(&Image1->picture());
        draw(painter);
    }
    display_.append(draw);
    Image1->update();
}

// ---- Reports and printing ----------------------------------------------------

QStringList Form_IDTu_Treat::reportLines(ReportTarget target)
{
    return PointReportLines(ReadPoints(table_), atm_.pressureText(), TreatmentReportStyle(target));
}

void Form_IDTu_Treat::Button_outputClick()
{
    OutputPointReport(this, [this] { return reportLines(ReportTarget::File); });
}

void Form_IDTu_Treat::Button_P_PrintClick()
{
    PrintPointReport(this, [this] { return reportLines(ReportTarget::Printer); });
}

void Form_IDTu_Treat::Button_G_PrintClick()
{
    PrintChartPicture(this, picture());
}

void Form_IDTu_Treat::Button_exportClick()
{
    ExportChartPicture(this, display_);
}

void Form_IDTu_Treat::Button_Print_SetClick()
{
    prompts().printerSetup(this, AppPrinter());
}

void Form_IDTu_Treat::Button_quitClick()
{
    table_.close();
    close();
}

void Form_IDTu_Treat::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
