#include "duct/Unit_ZL_Duct.h"

#include "app/Clock.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "app/SegmentProjectActions.h"
#include "app/SegmentWindow.h"
#include "app/TableGridModel.h"
#include "app/Unit_Loops.h"
#include "duct/DuctProject.h"
#include "duct/Unit_Adv.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableView>

namespace
{

constexpr int kHelpContext = 11;
// The sizes the boxes offer, mm: the usual round and rectangular duct sizes.
const QStringList kDiameters{"100", "120",  "140",  "160",  "180",  "200",  "220",  "250", "280",
                             "320", "360",  "400",  "450",  "500",  "560",  "630",  "700", "800",
                             "900", "1000", "1120", "1250", "1400", "1600", "1800", "2000"};
const QStringList kSides{"120", "160", "200",  "250",  "320",  "400", "500",
                         "630", "800", "1000", "1250", "1600", "2000"};
const QStringList kFittings{"弯头",        "Y形合流三通", "Y形分流三通",   "T形合流三通",
                            "T形分流三通", "变径管",      "天圆地方",      "风口",
                            "蝶阀",        "插板阀",      "对开多叶调节阀"};

constexpr int kWidth = 800, kHeight = 570;
constexpr int kFieldHeight = 22, kButtonHeight = 26;

} // namespace

Form_ZL_Duct::Form_ZL_Duct(Form_Advanced& advanced, QWidget* parent)
    : QDialog(parent), advanced_(advanced), segments_(DuctSegmentTableDeclaration()),
      segmentList_(
          segments_, QString::fromLatin1(DuctSegmentTableFileName),
          {&DuctSegmentNumbers, &FindDuctSegment, &DeleteDuctSegment, &CheckDuctSegmentRecords})
{
    setObjectName(QStringLiteral("Form_ZL_Duct"));
    setWindowTitle(QStringLiteral("风管阻力计算-[无名字]"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    buildListGroup();
    buildInputGroup();
    buildGrid();
    buildBottomRow();

    RadioButton_Fang->setChecked(true);
    enableShape(false);
    SetUpKeyboard(this, Button_Save);
}

// The grid's model reads the segment table's declaration, and the loops
// dialog the table: both go before the table.
Form_ZL_Duct::~Form_ZL_Duct()
{
    delete loops_;
    DBGrid1->setModel(nullptr);
    delete gridModel_;
}

void Form_ZL_Duct::buildListGroup()
{
    const SegmentListGroup g = NewSegmentListGroup(this);
    ListBox_pipe = g.list;
    segmentList_.attach(ListBox_pipe);
    Button_add = g.add, Button_edit = g.edit, Button_del = g.remove;
    Button_loops = g.loops;
    ConnectGuarded(Button_add, &QPushButton::clicked, this, &Form_ZL_Duct::Button_addClick);
    ConnectGuarded(Button_edit, &QPushButton::clicked, this, &Form_ZL_Duct::Button_editClick);
    ConnectGuarded(ListBox_pipe, &QListWidget::itemDoubleClicked, this,
                   &Form_ZL_Duct::Button_editClick);
    ConnectGuarded(Button_del, &QPushButton::clicked, this, &Form_ZL_Duct::Button_delClick);

    ConnectGuarded(Button_loops, &QPushButton::clicked, this, &Form_ZL_Duct::Button_loopsClick);
}

void Form_ZL_Duct::buildInputGroup()
{
    auto* box = new QGroupBox(QStringLiteral("数据输入"), this);
    box->setObjectName(QStringLiteral("GroupBox_input"));
    box->setGeometry(SegmentListWidth + 14, SegmentGroupsTop, kWidth - SegmentListWidth - 22,
                     SegmentGroupsHeight);

    NewLabel(box, "Label_duct_No", QStringLiteral("管段编号："), {8, 22, 66, kFieldHeight});
    Edit_duct_No = NewEdit(box, "Edit_duct_No", {76, 22, 92, kFieldHeight});
    NewLabel(box, "Label_L", QStringLiteral("管段长度(m):"), {186, 22, 84, kFieldHeight});
    Edit_L = NewEdit(box, "Edit_L", {272, 22, 90, kFieldHeight});
    NewRaisedUnitLabel(box, "Label_G", QStringLiteral("风量(m /h):"), QStringLiteral("风量(m"),
                       QStringLiteral("3"), {384, 22, 76, kFieldHeight});
    Edit_G = NewEdit(box, "Edit_G", {462, 22, 100, kFieldHeight});

    auto* shape = new QGroupBox(QStringLiteral("风管类型和管径"), box);
    shape->setObjectName(QStringLiteral("GroupBox_shape"));
    shape->setGeometry(8, 56, 386, 86);
    RadioButton_Yuan =
        NewRadio(shape, "RadioButton_Yuan", QStringLiteral("圆形管"), {8, 22, 76, 20});
    Label_DN =
        NewLabel(shape, "Label_DN", QStringLiteral("直径(mm)："), {86, 21, 72, kFieldHeight});
    ComboBox_DN = NewComboBox(shape, "ComboBox_DN", {158, 21, 76, kFieldHeight});
    SetComboItems(ComboBox_DN, kDiameters, QStringLiteral("500"));
    RadioButton_Fang =
        NewRadio(shape, "RadioButton_Fang", QStringLiteral("矩形管  "), {8, 54, 76, 20});
    Label_W = NewLabel(shape, "Label_W", QStringLiteral("宽度(mm)："), {86, 53, 72, kFieldHeight});
    ComboBox_W = NewComboBox(shape, "ComboBox_W", {158, 53, 76, kFieldHeight});
    Label_H = NewLabel(shape, "Label_H", QStringLiteral("高度(mm)："), {236, 53, 70, kFieldHeight});
    ComboBox_H = NewComboBox(shape, "ComboBox_H", {306, 53, 72, kFieldHeight});
    for (QComboBox* side : {ComboBox_W, ComboBox_H})
        SetComboItems(side, kSides, QStringLiteral("200"));
    for (QComboBox* size : {ComboBox_DN, ComboBox_W, ComboBox_H})
        size->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto* shapes = new QButtonGroup(this);
    shapes->addButton(RadioButton_Yuan);
    shapes->addButton(RadioButton_Fang);

    NewLabel(box, "Label_JZ_Ty", QStringLiteral("局部阻力类型："), {8, 156, 92, kFieldHeight});
    ComboBox_JZ_Ty = NewComboBox(box, "ComboBox_JZ_Ty", {100, 156, 150, kFieldHeight});
    SetComboItems(ComboBox_JZ_Ty, kFittings, QString());
    NewLabel(box, "Label_JZ_K", QStringLiteral("局部阻力系数："), {270, 156, 92, kFieldHeight});
    Edit_JZ_K = NewEdit(box, "Edit_JZ_K", {362, 156, 70, kFieldHeight});
    NewLabel(box, "Label_JZ_n", QStringLiteral("局部阻力数量："), {8, 188, 92, kFieldHeight});
    Edit_JZ_n = NewEdit(box, "Edit_JZ_n", {100, 188, 70, kFieldHeight});

    Button_Advanced =
        NewButton(box, "Button_Advanced", QStringLiteral("高级设置"), {8, 226, 100, kButtonHeight});
    Button_Save = NewButton(box, "Button_Save", QStringLiteral("计算和保存(&S)"),
                            {362, 226, 110, kButtonHeight});
    Button_Cancel =
        NewButton(box, "Button_Cancel", QStringLiteral("取消(&C)"), {480, 226, 84, kButtonHeight});

    // The enabling follows the selection however it is made (mouse or keys).
    connect(RadioButton_Yuan, &QRadioButton::toggled, this, [this](bool on) {
        Guarded(this, [&] { on ? RadioButton_YuanClick() : RadioButton_FangClick(); });
    });
    ConnectGuarded(Button_Advanced, &QPushButton::clicked, this,
                   &Form_ZL_Duct::Button_AdvancedClick);
    ConnectGuarded(Button_Save, &QPushButton::clicked, this, &Form_ZL_Duct::Button_SaveClick);
    ConnectGuarded(Button_Cancel, &QPushButton::clicked, this, &Form_ZL_Duct::Button_addClick);
}

void Form_ZL_Duct::buildGrid()
{
    gridModel_ = new TableGridModel(&segments_, this);
    DBGrid1 = NewSegmentGrid(this, gridModel_, segments_, [this] { DBGrid1CellClick(); });
}

void Form_ZL_Duct::buildBottomRow()
{
    const ProjectRow r = NewProjectRow(this);
    Button_new = r.newProject, Button_open = r.open, Button_Excel = r.excel;
    Edit_FileName = r.fileName;
    Button_browse = r.browse, Button_view = r.view;
    Button_quit = r.quit, Button_help = r.help;
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_ZL_Duct::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_ZL_Duct::Button_helpClick);

    SegmentProjectWindow w;
    // A new project holds the default air, whatever the window had.
    w.newProjectLines = [] { return DuctProjectLines(AirProperties{}); };
    w.readProject = [this](const QStringList& lines) -> std::function<void()> {
        const AirProperties air = DuctProjectFromLines(lines);
        return [this, air] {
            projectAir_ = air;
            setAirProperties(air);
        };
    };
    w.useSegmentTable = [this](const QString& path) { useSegmentTable(path); };
    w.workbookWriter = [this]() -> SegmentProjectWindow::WorkbookWriter {
        segmentList_.open();
        CheckDuctSegmentRecords(segments_); // nothing of a damaged table is written
        const SegmentLoops loops = ReadSegmentLoops(SegmentLoopsPath(segments_.path()));
        return [this, loops](const QString& path, const QString& projectFileName) {
            const DuctWorkbookHeading heading{TimeOfDayText(currentClock().timeOfDay()),
                                              projectFileName, air_};
            WriteDuctWorkbook(path, heading, segments_, loops);
        };
    };
    projects_ = std::make_unique<SegmentProjectActions>(
        this, r,
        SegmentProjectKind{.extension = QString::fromLatin1(DuctProjectExtension),
                           .newFilter = QStringLiteral("风管阻力(*.dzl)"),
                           .openFilter = QStringLiteral("管道阻力(*.dzl)"),
                           .captionPrefix = QStringLiteral("岚禾风管阻力计算-"),
                           .templateFileName = QString::fromLatin1(DuctProjectTemplateFileName),
                           .lineCount = DuctProjectLineCount,
                           .declaration = &DuctSegmentTableDeclaration()},
        std::move(w));
}

void Form_ZL_Duct::enableShape(bool round)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label_DN, ComboBox_DN})
        w->setEnabled(round);
    for (QWidget* w : std::initializer_list<QWidget*>{Label_W, ComboBox_W, Label_H, ComboBox_H})
        w->setEnabled(!round);
}

void Form_ZL_Duct::RadioButton_YuanClick()
{
    enableShape(true);
}

void Form_ZL_Duct::RadioButton_FangClick()
{
    enableShape(false);
}

void Form_ZL_Duct::setAirProperties(const AirProperties& air)
{
    air_ = air;
    // Exact texts, not the dialog's rounded formats: what the calculation
    // reads is what the window holds.
    advanced_.setTexts(ExactTexts(air));
}

void Form_ZL_Duct::useSegmentTable(const QString& path)
{
    segmentList_.use(path);
}

QString Form_ZL_Duct::projectPath() const
{
    return projects_->projectPath();
}

void Form_ZL_Duct::openProject(const QString& path)
{
    projects_->open(path);
}

void Form_ZL_Duct::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        FormShow();
}

void Form_ZL_Duct::FormShow()
{
    // A project's segments go on with the project's air; without one the
    // defaults stand.
    setAirProperties(projectPath().isEmpty() ? AirProperties{} : projectAir_);
    Guarded(this, [this] {
        segmentList_.open();
        segmentList_.fill();
    });
}

void Form_ZL_Duct::Button_AdvancedClick()
{
    advanced_.showFor(air_);
    const AirProperties chosen = ReadAirProperties(advanced_.texts());
    // A project keeps the air its segments are computed with: a change is
    // in force only once the project file holds it.
    if (chosen != air_ && !projectPath().isEmpty()) {
        try {
            WriteDuctProjectFile(projectPath(), chosen);
        } catch (const UserError& failed) {
            setAirProperties(air_);
            prompts().error(this, failed.text() + QStringLiteral("\n空气参数未改变！"));
            return;
        }
        projectAir_ = chosen;
    }
    setAirProperties(chosen);
}

void Form_ZL_Duct::Button_addClick()
{
    for (QLineEdit* edit : {Edit_duct_No, Edit_G, Edit_L, Edit_JZ_K, Edit_JZ_n})
        edit->clear();
    for (QComboBox* box : {ComboBox_DN, ComboBox_W, ComboBox_H, ComboBox_JZ_Ty})
        SetComboText(box, QString());
}

void Form_ZL_Duct::Button_editClick()
{
    if (segmentList_.findSelected(this))
        DBGrid1CellClick();
}

void Form_ZL_Duct::DBGrid1CellClick()
{
    if (segments_.eof())
        return;
    const DuctSegmentTexts t = CurrentDuctSegmentTexts(segments_);
    Edit_duct_No->setText(t.segmentNo);
    Edit_G->setText(t.flow);
    if (t.round) {
        SetComboText(ComboBox_DN, t.diameter);
        SetComboText(ComboBox_W, QString());
        SetComboText(ComboBox_H, QString());
        RadioButton_Yuan->setChecked(true);
    } else if (!t.width.isEmpty()) {
        SetComboText(ComboBox_DN, QString());
        SetComboText(ComboBox_W, t.width);
        SetComboText(ComboBox_H, t.height);
        RadioButton_Fang->setChecked(true);
    }
    Edit_L->setText(t.length);
    SetComboText(ComboBox_JZ_Ty, t.fittingName);
    Edit_JZ_K->setText(t.coefficient);
    Edit_JZ_n->setText(t.count);
    ShowCurrentRecord(DBGrid1, segments_);
}

void Form_ZL_Duct::Button_delClick()
{
    segmentList_.deleteSelected(this);
}

// The dialog stays open beside the window, so that segments can be changed
// while their loops' figures are in sight.
// Made when first asked for, so that start-up makes no window it may never
// show; from then on its figures follow every change of the table: a
// segment stored or deleted, another project's table.
Form_Loops* Form_ZL_Duct::loopsDialog()
{
    if (!loops_) {
        loops_ = new Form_Loops(
            {&segments_, QStringLiteral("Duct_No"), [this] { segmentList_.open(); }, kHelpContext},
            this);
        connect(&segments_, &RecordTableStore::contentsChanged, loops_, &Form_Loops::refresh);
    }
    return loops_;
}

void Form_ZL_Duct::Button_loopsClick()
{
    loopsDialog();
    loops_->show();
    loops_->raise();
    loops_->activateWindow();
}

void Form_ZL_Duct::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && loops_) // closed, not minimised
        loops_->hide();
}

DuctSegmentInputs Form_ZL_Duct::readInputs() const
{
    DuctSegmentInputs in;
    in.air = advanced_.texts();
    in.segmentNo = Edit_duct_No->text();
    in.flow = Edit_G->text();
    in.round = RadioButton_Yuan->isChecked();
    in.diameter = ComboBox_DN->currentText();
    in.width = ComboBox_W->currentText();
    in.height = ComboBox_H->currentText();
    in.length = Edit_L->text();
    in.fittingName = ComboBox_JZ_Ty->currentText();
    in.coefficient = Edit_JZ_K->text();
    in.count = Edit_JZ_n->text();
    return in;
}

void Form_ZL_Duct::Button_SaveClick()
{
    const DuctSegmentOutcome outcome = CalculateDuctSegment(readInputs());
    if (outcome.air)
        air_ = *outcome.air;
    if (!outcome.segment) {
        prompts().error(this, outcome.refusal);
        return;
    }
    segmentList_.open();
    StoreDuctSegment(segments_, *outcome.segment);
    // The list is read from the table; the stored record is current again
    // afterwards and in sight in the grid.
    const int stored = segments_.currentIndex();
    segmentList_.fill();
    segments_.moveTo(stored);
    ShowCurrentRecord(DBGrid1, segments_);
}

void Form_ZL_Duct::Button_quitClick()
{
    close();
}

void Form_ZL_Duct::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
