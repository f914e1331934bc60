#include "chart/Unit_ID_Graphics.h"

#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "app/ReportPrinter.h"
#include "app/TableGridModel.h"
#include "app/TextReport.h"
#include "chart/ChartConstructions.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ChartReadout.h"
#include "chart/PointTable.h"
#include "chart/Unit_WeatherYear.h"
#include "chart/WeatherYearLayer.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"
#include "weather/WeatherYearFigures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTableView>
#include <QToolButton>
#include <cmath>
#include <optional>
#include <utility>

namespace
{

using G = ChartGeometry;

constexpr int kHelpContext = 8;
const QString kNoSuchPoint = QStringLiteral("图上没有该状态点，请先画上！");
const QString kEnterPointName = QStringLiteral("请输入状态点名！");
const QString kEnterFlow = QStringLiteral("请输入风量！");

bool BothSet(QPoint a, QPoint b)
{
    return a.x() != 0 && a.y() != 0 && b.x() != 0 && b.y() != 0;
}

// Names are typed in upper case, whatever the keyboard gives.
void UpperCaseEntry(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

// The tool bar's glyphs, drawn in the chart's own marks and colours.
enum class ToolGlyph { Point, Ratio, TwoPoints, Mixing, Delete };

QIcon ToolIcon(ToolGlyph glyph)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen red(QColor::fromRgb(ChartColors::Red), 2);
    const QPen black(QColor(Qt::black), 1.5);
    const auto mark = [&](QPointF at) {
        p.setPen(red);
        p.setBrush(Qt::white);
        p.drawEllipse(at, 3, 3);
    };
    switch (glyph) {
    case ToolGlyph::Point:
        mark({12, 12});
        break;
    case ToolGlyph::Ratio:
        p.setPen(black);
        p.drawLine(QPointF(5, 20), QPointF(17, 7));
        p.drawLine(QPointF(17, 7), QPointF(12, 8));
        p.drawLine(QPointF(17, 7), QPointF(16, 12));
        mark({19, 5});
        break;
    case ToolGlyph::TwoPoints:
        p.setPen(black);
        p.drawLine(QPointF(5, 18), QPointF(19, 6));
        mark({5, 18});
        mark({19, 6});
        break;
    case ToolGlyph::Mixing:
        p.setPen(black);
        p.drawLine(QPointF(4, 19), QPointF(20, 5));
        mark({4, 19});
        mark({20, 5});
        mark({14, 10});
        break;
    case ToolGlyph::Delete:
        mark({12, 12});
        p.setPen(QPen(QColor(Qt::black), 2));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

void SetUpPointGrid(QTableView* grid, TableGridModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setStyleSheet(QStringLiteral("QTableView { background: white; }"));
    grid->setFont(SongFontPx(15));
    grid->horizontalHeader()->setFont(SongFontPx(12));
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->setFixedWidth(14);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int charWidth = QFontMetrics(SongFontPx(15)).horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < model->columnCount(); ++column)
        grid->setColumnWidth(column, model->columnWidthChars(column) * charWidth + 14);
}

void ShowReadout(const ChartReadout& readout, QLineEdit* i, QLineEdit* d, QLineEdit* t,
                 QLineEdit* RH, QLineEdit* ts)
{
    const QString pattern = QStringLiteral("0.00");
    i->setText(FormatNumber(readout.state.i, pattern));
    d->setText(FormatNumber(readout.state.d, pattern));
    t->setText(FormatNumber(readout.t, pattern));
    RH->setText(FormatNumber(readout.RH, pattern));
    ts->setText(FormatNumber(readout.ts, pattern));
}

bool ChartPressureUsable(QWidget* window, const Form_atm& atm, ID_lib& lib)
{
    bool usable = false;
    Guarded(window, [&] {
        atm.applyTo(lib);
        CheckChartPressure(lib.AtmPressure);
        usable = true;
    });
    return usable;
}

void OutputPointReport(QWidget* parent, const std::function<QStringList()>& lines)
{
    const QString path =
        ChooseSaveFile(parent, {QStringLiteral("保存文件"), QStringLiteral("文本文件(*.TXT)"),
                                QStringLiteral("txt")});
    if (path.isEmpty())
        return;
    WriteTextFile(path, lines());
}

void PrintPointReport(QWidget* parent, const std::function<QStringList()>& lines)
{
    QPrinter& printer = AppPrinter();
    if (!prompts().print(parent, printer))
        return;
    PrintLines(printer, DefaultReportFont(), lines());
}

void PrintChartPicture(QWidget* parent, const QImage& picture)
{
    QPrinter& printer = AppPrinter();
    if (!prompts().print(parent, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        throw UserError(QStringLiteral("打印机无法开始打印，请检查打印机设置！"));
    // The chart is flat colours and one-pixel lines; the PDF engine
    // would store it as JPEG, whose artefacts the enlargement blows up into
    // smudged, off-colour lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // The drawn part of the picture, centred on the paper; the painter's
    // origin is the printable part's corner unless the printer draws on the
    // whole paper.
    const QRect part = ChartPictureCrop(picture);
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    // The factor counts the picture's logical pixels, whatever the screen's
    // pixel ratio it was drawn at.
    const QSize logical = (QSizeF(part.size()) / picture.devicePixelRatio()).toSize();
    const QRect target = PlaceChartOnPage(paper, printable, printer.resolution(), logical);
    if (!target.isEmpty())
        painter.drawImage(target.translated(-(printer.fullPage() ? paper : printable).topLeft()),
                          picture, part);
    if (!painter.end())
        throw UserError(QStringLiteral("打印作业未能完成！"));
}

void ExportChartPicture(QWidget* parent, const ChartDisplayList& list)
{
    const QString title = QStringLiteral("导出图片");
    const QString path = ChooseSaveFile(
        parent, {title, QStringLiteral("PNG图片(*.png);;SVG图形(*.svg);;PDF文档(*.pdf)"),
                 QStringLiteral("png")});
    if (path.isEmpty())
        return;
    const std::optional<ChartFileFormat> format = ChartFileFormatOf(path);
    if (!format)
        throw UserError(
            QStringLiteral("图片只能导出为PNG、SVG或PDF文件（扩展名 .png、.svg 或 .pdf）！"));
    int scale = kDefaultPngScale;
    if (*format == ChartFileFormat::Png) {
        QStringList scales;
        for (int k = kLeastPngScale; k <= kGreatestPngScale; ++k)
            scales << QStringLiteral("%1×").arg(k);
        const int chosen = prompts().chooseItem(parent, title, QStringLiteral("PNG图片放大倍数:"),
                                                scales, kDefaultPngScale - kLeastPngScale);
        if (chosen < 0)
            return;
        scale = kLeastPngScale + chosen;
    }
    WriteChartFile(path, list, *format, scale);
}

void CopyChartPicture(const ChartDisplayList& list)
{
    QImage image = ChartImageAt(list, kDefaultPngScale);
    // The clipboard's readers count pixels, not logical pixels.
    image.setDevicePixelRatio(1);
    QGuiApplication::clipboard()->setImage(image);
}

namespace
{
// A text field claims Ctrl+C for itself whether or not it has anything to
// copy; the name field has the focus most of the time, so the chart could
// hardly be copied. A field with no selected text lets Ctrl+C go on to the
// window.
class CopyWithoutSelection : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit || edit->hasSelectedText() ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return false;
        event->ignore();
        return true;
    }
};
} // namespace

void AddChartCopyShortcut(QWidget* window, const ChartDisplayList& list)
{
    auto* copy = new QShortcut(QKeySequence::Copy, window);
    QObject::connect(copy, &QShortcut::activated, window,
                     [window, &list] { Guarded(window, [&] { CopyChartPicture(list); }); });
    auto* filter = new CopyWithoutSelection(copy);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        edit->installEventFilter(filter);
}

struct Form_IDTu::WeatherYearChoice {
    WeatherYear year;
    WeatherFilter filter;
    QString path, months, hours;
    WeatherDesignValues design;
    bool laid = false;
};

ChartImage::ChartImage(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void ChartImage::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void ChartImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPoint(0, 0), picture_);
}

void ChartImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit mouseMoved(int(std::floor(at.x())), int(std::floor(at.y())));
}

void ChartImage::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit mousePressed(event->button(), int(std::floor(at.x())), int(std::floor(at.y())));
}

Form_IDTu::Form_IDTu(ID_lib& lib, Form_atm& atm, QWidget* parent)
    : QDialog(parent), lib_(lib), atm_(atm), table_(PointTableDeclaration())
{
    setObjectName(QStringLiteral("Form_IDTu"));
    setWindowTitle(QStringLiteral("湿空气焓湿图"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(1040, 681);

    Image1 = new ChartImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(4, 4), G::ImageSize));

    // The point grid: read-only, cells in 15 px, titles in 12 px.
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(4, 4 + G::ImageSize.height() + 4, 825, 89);
    gridModel_ = new TableGridModel(&table_, this);
    SetUpPointGrid(DBGrid1, gridModel_);

    const int right = 4 + G::ImageSize.width() + 8; // 837
    const int panelWidth = 1040 - right - 6;

    GroupBox1 = new QGroupBox(QStringLiteral("状态点参数"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(right, 4, panelWidth, 172);
    struct ReadoutRow {
        const char* caption;
        const char* hint;
        const char* name;
        QLineEdit** edit;
    };
    const ReadoutRow readouts[] = {{"T(℃)：", "干球温度", "Edit3", &Edit3},
                                   {"Ts(℃):", "湿球温度", "Edit5", &Edit5},
                                   {"ψ(%):", "相对湿度", "Edit4", &Edit4},
                                   {"d(g/kg):", "含湿量", "Edit2", &Edit2},
                                   {"i(kj/kg):", "焓", "Edit1", &Edit1}};
    for (int row = 0; row < 5; ++row) {
        const ReadoutRow& r = readouts[row];
        NewLabel(GroupBox1, "", QString::fromUtf8(r.caption), {10, 24 + 29 * row, 72, 22});
        *r.edit = NewEdit(GroupBox1, r.name, {84, 24 + 29 * row, panelWidth - 96, 22});
        (*r.edit)->setReadOnly(true);
        (*r.edit)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (*r.edit)->setToolTip(QString::fromUtf8(r.hint));
    }

    // The five tools: exactly one is down.
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    struct Tool {
        const char* name;
        const char* hint;
        ToolGlyph glyph;
        QToolButton** button;
        void (Form_IDTu::*handler)();
    };
    const Tool tools[] = {
        {"SpeedButton_point", "画状态点", ToolGlyph::Point, &SpeedButton_point,
         &Form_IDTu::SpeedButton_pointClick},
        {"SpeedButton_point_N", "热湿比线", ToolGlyph::Ratio, &SpeedButton_point_N,
         &Form_IDTu::SpeedButton_point_NClick},
        {"SpeedButton_point_two", "两点连线", ToolGlyph::TwoPoints, &SpeedButton_point_two,
         &Form_IDTu::SpeedButton_point_twoClick},
        {"SpeedButton_point_C", "混合点", ToolGlyph::Mixing, &SpeedButton_point_C,
         &Form_IDTu::SpeedButton_point_CClick},
        {"SpeedButton_point_del", "删除点", ToolGlyph::Delete, &SpeedButton_point_del,
         &Form_IDTu::SpeedButton_point_delClick},
    };
    const int toolWidth = panelWidth / 5;
    for (int k = 0; k < 5; ++k) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(tools[k].name));
        button->setToolTip(QString::fromUtf8(tools[k].hint));
        button->setIcon(ToolIcon(tools[k].glyph));
        button->setIconSize(QSize(24, 24));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setGeometry(right + k * toolWidth, 184, toolWidth - 2, 32);
        tools_->addButton(button);
        *tools[k].button = button;
        ConnectGuarded(button, &QToolButton::clicked, this, tools[k].handler);
    }
    SpeedButton_point->setChecked(true);

    // The entry panel; captions and visible fields change with tool and step.
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(right, 222, panelWidth, 196);
    const int fieldWidth = panelWidth - 16;
    Label_1 = NewLabel(panel, "Label_1", QStringLiteral("混合点名称："), {8, 8, fieldWidth, 18});
    Edit_C = NewEdit(panel, "Edit_C", {8, 28, fieldWidth, 22});
    Edit_C->hide();
    Label_2 = NewLabel(panel, "Label_2", QStringLiteral("状态点名称："), {8, 56, fieldWidth, 18});
    Edit_name = NewEdit(panel, "Edit_name", {8, 76, fieldWidth, 22});
    UpperCaseEntry(Edit_C);
    UpperCaseEntry(Edit_name);
    Label_T = NewLabel(panel, "Label_T", QStringLiteral("干球温度(C):"), {8, 106, 92, 22});
    Edit_T = NewEdit(panel, "Edit_T", {100, 106, fieldWidth - 92, 22});
    Label_RH = NewLabel(panel, "Label_RH", QStringLiteral("相对湿度(%):"), {8, 134, 92, 22});
    Edit_RH = NewEdit(panel, "Edit_RH", {100, 134, fieldWidth - 92, 22});
    // Air volume or ratio: under Label_T, across the panel, over the RH row.
    Edit_G = NewEdit(panel, "Edit_G", {8, 132, fieldWidth, 22});
    Edit_G->hide();
    Button_OK =
        NewButton(panel, "Button_OK", QStringLiteral("确定"), {(panelWidth - 80) / 2, 162, 80, 26});

    const int buttonsTop = 428, halfWidth = (panelWidth - 6) / 2;
    const auto at = [&](int index) {
        return QRect(right + (index % 2) * (halfWidth + 6), buttonsTop + (index / 2) * 34,
                     halfWidth, 28);
    };
    Button_open = NewButton(this, "Button_open", QStringLiteral("打开"), at(0));
    Button_Save_point = NewButton(this, "Button_Save_point", QStringLiteral("保存状态点"), at(1));
    Button_output_point =
        NewButton(this, "Button_output_point", QStringLiteral("输出状态点"), at(2));
    Button_print_point = NewButton(this, "Button_print_point", QStringLiteral("打印状态点"), at(3));
    Button_Printing = NewButton(this, "Button_Printing", QStringLiteral("打印焓湿图"), at(4));
    Button_printer_Setup =
        NewButton(this, "Button_printer_Setup", QStringLiteral("打印机设置"), at(5));
    Button_export = NewButton(this, "Button_export", QStringLiteral("导出图片(&X)..."), at(6));
    CheckBox_zones = new QCheckBox(QStringLiteral("舒适区"), this);
    CheckBox_zones->setObjectName(QStringLiteral("CheckBox_zones"));
    CheckBox_zones->setToolTip(QStringLiteral("GB 50736-2012 舒适性空调室内设计参数"));
    CheckBox_zones->setGeometry(at(7).adjusted(8, 0, 0, 0));
    Button_weather = NewButton(this, "Button_weather", QStringLiteral("气象年(&Y)..."), at(8));
    Button_quit = NewButton(this, "Button_quit", QStringLiteral("退出"), at(10));
    Button_help = NewButton(this, "Button_help", QStringLiteral("帮助"), at(11));

    QObject::connect(Image1, &ChartImage::mouseMoved, this,
                     [this](int x, int y) { Guarded(this, [&] { Image1MouseMove(x, y); }); });
    QObject::connect(Image1, &ChartImage::mousePressed, this,
                     [this](Qt::MouseButton button, int x, int y) {
                         Guarded(this, [&] { Image1MouseDown(button, x, y); });
                     });
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_IDTu::Button_OKClick);
    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_IDTu::Button_openClick);
    ConnectGuarded(Button_Save_point, &QPushButton::clicked, this,
                   &Form_IDTu::Button_Save_pointClick);
    ConnectGuarded(Button_output_point, &QPushButton::clicked, this,
                   &Form_IDTu::Button_output_pointClick);
    ConnectGuarded(Button_print_point, &QPushButton::clicked, this,
                   &Form_IDTu::Button_print_pointClick);
    ConnectGuarded(Button_Printing, &QPushButton::clicked, this, &Form_IDTu::Button_PrintingClick);
    ConnectGuarded(Button_printer_Setup, &QPushButton::clicked, this,
                   &Form_IDTu::Button_printer_SetupClick);
    ConnectGuarded(Button_export, &QPushButton::clicked, this, &Form_IDTu::Button_exportClick);
    ConnectGuarded(CheckBox_zones, &QCheckBox::clicked, this, &Form_IDTu::CheckBox_zonesClick);
    ConnectGuarded(Button_weather, &QPushButton::clicked, this, &Form_IDTu::Button_weatherClick);
    AddChartCopyShortcut(this, display_);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_IDTu::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_IDTu::Button_helpClick);

    // An empty picture until the first showing draws the chart.
    QImage blank(G::ImageSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    Image1->setPicture(blank);
    SetUpKeyboard(this, Button_OK);
}

// The grid's model reads the table's declaration: it goes before the table.
Form_IDTu::~Form_IDTu()
{
    DBGrid1->setModel(nullptr);
    delete gridModel_;
}

void Form_IDTu::error(const QString& text)
{
    prompts().error(this, text);
}

// The one way onto the picture after TU: the step is kept in the display
// list and drawn on the picture at once.
void Form_IDTu::paint(ChartDisplayList::Step draw)
{
    {
        QPainter painter(&Image1->picture());
        draw(painter);
    }
    display_.append(std::move(draw));
    Image1->update();
}

// ---- Showing -------------------------------------------------------------

// Applies the local pressure as the drawing does; a pressure that cannot be
// used is reported in the general error box.
bool Form_IDTu::pressureUsable()
{
    return ChartPressureUsable(this, atm_, lib_);
}

void Form_IDTu::setVisible(bool visible)
{
    if (visible && !isVisible() && !pressureUsable())
        return;
    QDialog::setVisible(visible);
}

// QDialog::exec() would wait for a window that a refused showing never shows.
int Form_IDTu::exec()
{
    if (!isVisible() && !pressureUsable())
        return Rejected;
    return QDialog::exec();
}

void Form_IDTu::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}

// The chart is drawn afresh and the scratch table emptied, so the picture
// and the table start out bare together. A saved or opened point file is
// left as it is: the window goes back to the scratch table. When the scratch
// table cannot be opened the user's file stays in use, and stays named, so
// that "保存状态点" goes on treating it as the table in use.
void Form_IDTu::FormShow()
{
    TU();
    openPointTable(DataDir::file(QString::fromLatin1(PointTableFileName)));
    CurrentPointFile.clear();
    DeleteAllPoints(table_);
}

void Form_IDTu::TU()
{
    atm_.applyTo(lib_);
    display_.reset(lib_, atm_.pressureText());
    if (weather_ && weather_->laid)
        layWeatherYear(); // its cells at the pressure drawn
    QStringList messages;
    Image1->setPicture(display_.render(devicePixelRatio(), &messages));
    resetPointPanel();
    for (const QString& message : messages)
        error(message);
}

// Closes whatever table is in use and opens path; when that fails the table
// in use before stays in use.
void Form_IDTu::openPointTable(const QString& path)
{
    const QString previous = table_.path();
    if (table_.isOpen() && previous == path)
        return;
    SuspendedUpdates suspended(table_);
    table_.close();
    table_.setPath(path);
    try {
        table_.open();
    } catch (...) {
        if (!previous.isEmpty() && previous != path) {
            table_.setPath(previous);
            try {
                table_.open();
            } catch (...) {
                // The earlier file is gone too; the first failure is the one to show.
            }
        }
        throw;
    }
}

// ---- The entry panel -----------------------------------------------------

// One arrangement of the panel under the tool bar. Rows not named are hidden;
// a shown mixing-name or volume/ratio field starts empty.
struct Form_IDTu::PanelLayout {
    bool mixName = false;        // Label_1 "混合点名称:" with Edit_C
    const char16_t* nameCaption; // Label_2; Edit_name is shown unless TypedValues
    enum Values { None, TypedValues, FlowOrRatio } values = None;
    const char16_t* valueCaption = nullptr; // Label_T, over Edit_T/Edit_RH or Edit_G
};

namespace
{
using Layout = Form_IDTu::PanelLayout;
const Layout kPointName{.nameCaption = u"状态点名称:"};
const Layout kPointValues{.nameCaption = u"点击或输入状态点:",
                          .values = Layout::TypedValues,
                          .valueCaption = u"干球温度(C):"};
const Layout kRoomPoint{
    .nameCaption = u"室内点名称:", .values = Layout::FlowOrRatio, .valueCaption = u"热湿比:"};
const Layout kFirstPoint{.nameCaption = u"第一状态点名称:"};
const Layout kSecondPoint{.nameCaption = u"第二状态点名称:"};
const Layout kFirstStream{.mixName = true,
                          .nameCaption = u"第一状态点名称:",
                          .values = Layout::FlowOrRatio,
                          .valueCaption = u"风量(m3/h):"};
const Layout kSecondStream{.nameCaption = u"第二状态点名称:",
                           .values = Layout::FlowOrRatio,
                           .valueCaption = u"风量(m3/h):"};
const Layout kDeletedPoint{.nameCaption = u"被删除状态点名称:"};
} // namespace

void Form_IDTu::arrangePanel(const PanelLayout& layout, NameField name)
{
    Label_1->setVisible(layout.mixName);
    Edit_C->setVisible(layout.mixName);
    if (layout.mixName) {
        Label_1->setText(QStringLiteral("混合点名称:"));
        Edit_C->clear();
    }
    Label_2->show();
    Label_2->setText(QString::fromUtf16(layout.nameCaption));
    const bool typed = layout.values == PanelLayout::TypedValues;
    Edit_name->setVisible(!typed);
    if (name == NameField::Emptied)
        Edit_name->clear();
    Label_T->setVisible(layout.values != PanelLayout::None);
    if (layout.valueCaption)
        Label_T->setText(QString::fromUtf16(layout.valueCaption));
    Label_RH->setVisible(typed);
    Edit_T->setVisible(typed);
    Edit_RH->setVisible(typed);
    const bool flowOrRatio = layout.values == PanelLayout::FlowOrRatio;
    Edit_G->setVisible(flowOrRatio);
    if (flowOrRatio)
        Edit_G->clear();
}

// A point is placed: the point tool's first step again, for the next name.
void Form_IDTu::completePoint()
{
    arrangePanel(kPointName, NameField::Emptied);
    AwaitingClick = false;
    ToolStep = 1;
}

// The showing's reset to the point tool's first step. Edit_C and Edit_G keep
// their visibility, whichever tool is down.
void Form_IDTu::resetPointPanel()
{
    const bool mixNameShown = !Edit_C->isHidden(), flowShown = !Edit_G->isHidden();
    arrangePanel(kPointName, NameField::Kept);
    Edit_C->setVisible(mixNameShown);
    Edit_G->setVisible(flowShown);
    AwaitingClick = false;
    ToolStep = 1;
}

// ---- The mouse -----------------------------------------------------------

void Form_IDTu::Image1MouseMove(int x, int y)
{
    Image1->setCursor(Qt::CrossCursor);
    const ChartReadout r = ReadOutAt(lib_, QPoint(x, y));
    ShowReadout(r, Edit1, Edit2, Edit3, Edit4, Edit5);
    if (table_.isOpen() && PlacedPointAt(table_, r.state))
        Image1->setCursor(Qt::SizeAllCursor);
}

void Form_IDTu::Image1MouseDown(Qt::MouseButton, int x, int y)
{
    if (!AwaitingClick)
        return;
    const ChartState s = G::PixelToState(x, y);
    lib_.StateFromI_D(s.d / 1000, s.i);
    storePoint(PendingName, lib_.CurrentState.t, lib_.CurrentState.RH, s);
    paint([at = QPoint(x, y), name = PendingName](QPainter& p) { DrawPointMark(p, at, name); });
    if (SpeedButton_point->isChecked() && ToolStep == 2)
        completePoint();
}

// Stores name with T and RH as given and the rest of CurrentState, at s.
void Form_IDTu::storePoint(const QString& name, double T, double RH, ChartState s)
{
    StatePoint point;
    point.No = name.toStdString();
    point.T = T;
    point.RH = RH;
    point.Ts = lib_.CurrentState.ts;
    point.D = s.d;
    point.I = s.i;
    point.Ruo = lib_.CurrentState.rho;
    point.Tv = lib_.CurrentState.tdew;
    point.P = lib_.CurrentState.pv;
    StorePoint(table_, point);
    ShowCurrentRecord(DBGrid1, table_);
}

// The text of a field, or its message when it is empty.
bool Form_IDTu::takeText(QLineEdit* field, const QString& emptyMessage, QString& into)
{
    if (field->text().isEmpty()) {
        error(emptyMessage);
        return false;
    }
    into = field->text();
    return true;
}

// The number in a field, or its message when it is empty (a text that is no
// number throws ConversionError).
bool Form_IDTu::takeNumber(QLineEdit* field, const QString& emptyMessage, double& into)
{
    if (field->text().isEmpty()) {
        error(emptyMessage);
        return false;
    }
    into = ReadField(field);
    return true;
}

// PendingName's point, or the message that it is not on the chart.
std::optional<ChartState> Form_IDTu::findPending()
{
    if (!FindPoint(table_, PendingName)) {
        error(kNoSuchPoint);
        return std::nullopt;
    }
    const StatePoint point = CurrentPoint(table_);
    return ChartState{point.D, point.I};
}

// ---- Tools ---------------------------------------------------------------

// A tool acts only when its button is down after the click. Selecting any
// tool ends a pending click placement: a click then never stores a point
// under a name given for another tool.
bool Form_IDTu::toolSelected(QToolButton* tool)
{
    if (!tool->isChecked())
        return false;
    AwaitingClick = false;
    return true;
}

void Form_IDTu::SpeedButton_pointClick()
{
    if (!toolSelected(SpeedButton_point))
        return;
    arrangePanel(kPointName, NameField::Kept);
    ToolStep = 1;
}

void Form_IDTu::SpeedButton_point_NClick()
{
    if (toolSelected(SpeedButton_point_N))
        arrangePanel(kRoomPoint, NameField::Kept);
}

void Form_IDTu::SpeedButton_point_twoClick()
{
    if (!toolSelected(SpeedButton_point_two))
        return;
    arrangePanel(kFirstPoint, NameField::Kept);
    ToolStep = 1;
}

void Form_IDTu::SpeedButton_point_CClick()
{
    if (!toolSelected(SpeedButton_point_C))
        return;
    arrangePanel(kFirstStream, NameField::Emptied);
    ToolStep = 1;
}

void Form_IDTu::SpeedButton_point_delClick()
{
    if (toolSelected(SpeedButton_point_del))
        arrangePanel(kDeletedPoint, NameField::Kept);
}

// ---- "确定" ---------------------------------------------------------------

// The sections run in this order, each when its tool and step call for it; a
// message ends the press, keeping what the sections before it did. A first
// step that succeeds is not followed by its second step in the same press.
void Form_IDTu::Button_OKClick()
{
    if (SpeedButton_point->isChecked()) {
        if (ToolStep == 1 && !Edit_name->isHidden()) {
            if (!PointFirstStep())
                return;
        } else if (ToolStep == 2 && AwaitingClick && !PointTypedValues()) {
            return;
        }
    }
    if (SpeedButton_point_two->isChecked() && !(ToolStep == 1 ? TwoPointFirst() : TwoPointSecond()))
        return;
    if (BothSet(LineStart, LineEnd))
        JoinTwoPoints();

    if (SpeedButton_point_C->isChecked() && !(ToolStep == 1 ? MixFirst() : MixSecond()))
        return;
    if (BothSet(LineStart, LineEnd) && !MixPoints())
        return;

    if (SpeedButton_point_N->isChecked() && !RatioLine())
        return;
    if (SpeedButton_point_del->isChecked())
        DeletePointByName();
}

// A: the name of the point to place; then a click or typed values place it.
bool Form_IDTu::PointFirstStep()
{
    if (!takeText(Edit_name, kEnterPointName, PendingName))
        return false;
    AwaitingClick = true;
    arrangePanel(kPointValues, NameField::Kept);
    ToolStep = 2;
    return true;
}

// B: the point from its dry bulb and relative humidity.
bool Form_IDTu::PointTypedValues()
{
    if (Edit_T->text().isEmpty() || Edit_RH->text().isEmpty()) {
        error(QStringLiteral("请输入状态点参数！"));
        return false;
    }
    const double t = ReadField(Edit_T);
    const double RH = ReadField(Edit_RH);
    lib_.CurrentState.t = t;
    lib_.CurrentState.RH = RH;
    lib_.StateFromRH_T(t, RH);
    const ChartState s{lib_.CurrentState.d * 1000, lib_.CurrentState.i};
    storePoint(PendingName, t, RH, s);
    paint(
        [at = G::StateToPixel(s), name = PendingName](QPainter& p) { DrawPointMark(p, at, name); });
    completePoint();
    return true;
}

// C: the first point of a line.
bool Form_IDTu::TwoPointFirst()
{
    LineStart = QPoint();
    if (!takeText(Edit_name, kEnterPointName, PendingName))
        return false;
    const std::optional<ChartState> first = findPending();
    if (!first)
        return false;
    LineStart = G::StateToPixel(*first);
    arrangePanel(kSecondPoint, NameField::Emptied);
    AwaitingClick = false;
    ToolStep = 2;
    return true;
}

// D: the second point of a line.
bool Form_IDTu::TwoPointSecond()
{
    LineEnd = QPoint();
    if (!takeText(Edit_name, kEnterPointName, PendingName))
        return false;
    const std::optional<ChartState> second = findPending();
    if (!second)
        return false;
    LineEnd = G::StateToPixel(*second);
    arrangePanel(kFirstPoint, NameField::Emptied);
    ToolStep = 1;
    return true;
}

// E
void Form_IDTu::JoinTwoPoints()
{
    paint([from = LineStart, to = LineEnd](QPainter& p) { DrawChartLine(p, from, to); });
    LineStart = LineEnd = QPoint();
}

// F: the mixing point's name and the first stream.
bool Form_IDTu::MixFirst()
{
    LineStart = QPoint();
    if (!takeText(Edit_C, QStringLiteral("请输入混合点名！"), MixName) ||
        !takeText(Edit_name, kEnterPointName, PendingName) ||
        !takeNumber(Edit_G, kEnterFlow, MixFlow1))
        return false;
    const std::optional<ChartState> first = findPending();
    if (!first)
        return false;
    FirstMixState = *first;
    LineStart = G::StateToPixel(*first);
    arrangePanel(kSecondStream, NameField::Emptied);
    AwaitingClick = false;
    ToolStep = 2;
    return true;
}

// G: the second stream.
bool Form_IDTu::MixSecond()
{
    LineEnd = QPoint();
    if (!takeText(Edit_name, kEnterPointName, PendingName) ||
        !takeNumber(Edit_G, kEnterFlow, MixFlow2))
        return false;
    const std::optional<ChartState> second = findPending();
    if (!second)
        return false;
    SecondMixState = *second;
    LineEnd = G::StateToPixel(*second);
    arrangePanel(kFirstStream, NameField::Emptied);
    ToolStep = 1;
    return true;
}

// H: the mixing point, on the line between the two streams.
bool Form_IDTu::MixPoints()
{
    const std::optional<ChartState> mix =
        MixingPoint(FirstMixState, MixFlow1, SecondMixState, MixFlow2);
    // The two ends serve this mixing only, whatever becomes of it: a failed
    // one leaves no line for the next press to draw.
    const QPoint first = std::exchange(LineStart, QPoint());
    const QPoint second = std::exchange(LineEnd, QPoint());
    if (!mix) {
        error(QStringLiteral("风量之和不能为0！"));
        return false;
    }
    lib_.StateFromI_D(mix->d / 1000, mix->i);
    // Stored before it is drawn: a point the table refuses (volumes so large
    // that their sum overflows) leaves no mark.
    storePoint(MixName, lib_.CurrentState.t, lib_.CurrentState.RH, *mix);
    paint([first, second, at = G::StateToPixel(*mix), name = MixName](QPainter& p) {
        DrawChartLine(p, first, second);
        DrawPointMark(p, at, name);
    });
    return true;
}

// I: the heat-moisture-ratio line through a room point; the panel stays, so
// that several ratios can be drawn through one point.
bool Form_IDTu::RatioLine()
{
    LineStart = QPoint();
    if (!takeText(Edit_name, QStringLiteral("请输入室内状态点名！"), PendingName) ||
        !takeNumber(Edit_G, QStringLiteral("请输入热湿比！"), MixFlow1))
        return false;
    const std::optional<ChartState> room = findPending();
    if (!room)
        return false;
    LineStart = G::StateToPixel(RatioLineEnd(*room, MixFlow1));
    paint([from = G::StateToPixel(*room), to = LineStart](QPainter& p) {
        DrawChartLine(p, from, to);
    });
    return true;
}

// J: a name that is not in the table is passed over without a message.
bool Form_IDTu::DeletePointByName()
{
    if (Edit_name->text().isEmpty()) {
        error(QStringLiteral("请输入被删除状态点名称！"));
        return false;
    }
    if (FindPoint(table_, Edit_name->text())) {
        const StatePoint point = CurrentPoint(table_);
        PendingName = QString::fromStdString(point.No);
        const QPoint at = G::StateToPixel(point.D, point.I);
        // Deleted before it is erased: a point the table keeps keeps its mark.
        table_.remove();
        paint([at, name = PendingName](QPainter& p) { ErasePointMark(p, at, name); });
    }
    arrangePanel(kDeletedPoint, NameField::Emptied);
    return true;
}

// ---- The point table's files, reports and printing ------------------------

// The first save makes a copy of the scratch table the table in use; every
// change after it goes straight into the user's file, so later saves have
// nothing to do.
void Form_IDTu::Button_Save_pointClick()
{
    if (!CurrentPointFile.isEmpty())
        return;
    const QString path =
        ChooseSaveFile(this, {QString(), QStringLiteral("(*.DB)"), QStringLiteral("DB")});
    if (path.isEmpty())
        return;
    const QString scratch = DataDir::file(QString::fromLatin1(PointTableFileName));
    {
        SuspendedUpdates suspended(table_);
        table_.close();
        try {
            CopyTableFile(scratch, path);
        } catch (...) {
            table_.open(); // the scratch table stays in use
            throw;
        }
    }
    openPointTable(path);
    CurrentPointFile = path;
}

void Form_IDTu::Button_openClick()
{
    const QString path =
        ChooseOpenFile(this, {QString(), QStringLiteral("(*.DB)"), QStringLiteral("DB")});
    if (path.isEmpty())
        return;
    openPointTable(path);
    CurrentPointFile = path;
    ShowCurrentRecord(DBGrid1, table_);
    // The file's points join whatever the picture shows; lines are not kept
    // in the table and do not come back.
    const std::vector<StatePoint> points = ReadPoints(table_);
    paint([points](QPainter& p) {
        for (const StatePoint& point : points)
            DrawPointMark(p, G::StateToPixel(point.D, point.I), QString::fromStdString(point.No));
    });
}

QStringList Form_IDTu::reportLines()
{
    QStringList lines = PointReportLines(ReadPoints(table_), atm_.pressureText());
    if (const WeatherYearLayer* year = display_.weatherYear())
        lines << WeatherYearReportLines(*year, display_.zonesShown(), &weather_->design);
    return lines;
}

void Form_IDTu::Button_output_pointClick()
{
    OutputPointReport(this, [this] { return reportLines(); });
}

void Form_IDTu::Button_print_pointClick()
{
    PrintPointReport(this, [this] { return reportLines(); });
}

void Form_IDTu::Button_PrintingClick()
{
    PrintChartPicture(this, picture());
}

void Form_IDTu::Button_exportClick()
{
    ExportChartPicture(this, display_);
}

// The zones go beneath everything drawn so far: the picture is drawn again
// from its display list, with them or without.
void Form_IDTu::CheckBox_zonesClick()
{
    display_.setZonesShown(CheckBox_zones->isChecked());
    Image1->setPicture(display_.render(devicePixelRatio()));
}

// The year goes beneath everything drawn so far, its cells at the chart's
// pressure; the picture is drawn again from its display list.
void Form_IDTu::Button_weatherClick()
{
    Form_WeatherYear dialog(display_.library().AtmPressure, this);
    if (weather_)
        dialog.setFields(weather_->path, weather_->months, weather_->hours, weather_->laid);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.choice() == Form_WeatherYear::Choice::Lay) {
        auto chosen = std::make_unique<WeatherYearChoice>();
        chosen->year = dialog.year();
        chosen->filter = dialog.filter();
        chosen->path = dialog.path();
        chosen->months = dialog.monthsText();
        chosen->hours = dialog.hoursText();
        chosen->design =
            ComputeDesignValues(chosen->year, display_.library(), display_.library().AtmPressure);
        chosen->laid = true;
        weather_ = std::move(chosen);
        layWeatherYear();
    } else if (dialog.choice() == Form_WeatherYear::Choice::Remove && weather_) {
        weather_->laid = false;
        display_.clearWeatherYear();
    }
    Image1->setPicture(display_.render(devicePixelRatio()));
}

void Form_IDTu::layWeatherYear()
{
    const ID_lib& chart = display_.library();
    display_.setWeatherYear(std::make_shared<const WeatherYearLayer>(
        ComputeBinTables(weather_->year, weather_->filter, chart),
        CountZoneHours(weather_->year, weather_->filter)));
}

void Form_IDTu::Button_printer_SetupClick()
{
    prompts().printerSetup(this, AppPrinter());
}

void Form_IDTu::Button_quitClick()
{
    close();
}

void Form_IDTu::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
