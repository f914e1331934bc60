#include "pipe/Unit_ZL_pipe.h"

#include "app/Clock.h"
#include "app/DataDir.h"
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
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeProject.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHideEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace
{

constexpr int kHelpContext = 9;
const QString kDefaultDN = QStringLiteral("25");
// The sizes the nominal-size box offers before a pipe type is chosen, mm.
const QStringList kStartSizes{"8",   "10",  "15",  "20",  "25",  "32",  "40",
                              "50",  "70",  "80",  "100", "125", "150", "175",
                              "200", "225", "250", "275", "300", "325", "350"};

constexpr int kWidth = 800, kHeight = 570;
constexpr int kGroupsTop = 4, kGroupsHeight = 262;
constexpr int kFieldHeight = 22, kButtonHeight = 26;
constexpr QSize kPictureSize(86, 56);

} // namespace

Form_ZL_pipe::Form_ZL_pipe(Form_BZL_Set& sizeSetting, Form_JZSet_pipe& coefficientEditor,
                           Form_Pipe_Set& pipeTypeEditor, QWidget* parent)
    : QDialog(parent), sizeSetting_(sizeSetting), coefficientEditor_(coefficientEditor),
      pipeTypeEditor_(pipeTypeEditor), segments_(PipeSegmentTableDeclaration()),
      coefficients_(LocalResistanceTableDeclaration()),
      segmentList_(segments_, QString::fromLatin1(PipeSegmentTableFileName),
                   {&SegmentNumbers, &FindSegment, &DeleteSegment, &CheckPipeSegmentRecords})
{
    setObjectName(QStringLiteral("Form_ZL_pipe"));
    setWindowTitle(QStringLiteral("水管道阻力计算-[无名字]"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    buildListGroup();
    buildInputGroup()->setGeometry(210, kGroupsTop, 372, kGroupsHeight);
    buildPipeGroup()->setGeometry(588, kGroupsTop, 204, kGroupsHeight);
    buildGrid();
    buildBottomRow();

    RadioButton_G->setChecked(true);
    RadioButton_Z->setChecked(true);
    enableSizeEntry(SizeEntry::Automatic);
    SetUpKeyboard(this, Button_Save);
}

// The grid's model reads the segment table's declaration, and the loops
// dialog the table: both go before the table.
Form_ZL_pipe::~Form_ZL_pipe()
{
    delete loops_;
    DBGrid1->setModel(nullptr);
    delete gridModel_;
}

void Form_ZL_pipe::buildListGroup()
{
    const SegmentListGroup g = NewSegmentListGroup(this);
    ListBox_pipe = g.list;
    segmentList_.attach(ListBox_pipe);
    Button_add = g.add, Button_edit = g.edit, Button_del = g.remove;
    Button_loops = g.loops;
    ConnectGuarded(Button_add, &QPushButton::clicked, this, &Form_ZL_pipe::Button_addClick);
    ConnectGuarded(Button_edit, &QPushButton::clicked, this, &Form_ZL_pipe::Button_editClick);
    ConnectGuarded(ListBox_pipe, &QListWidget::itemDoubleClicked, this,
                   &Form_ZL_pipe::Button_editClick);
    ConnectGuarded(Button_del, &QPushButton::clicked, this, &Form_ZL_pipe::Button_delClick);

    ConnectGuarded(Button_loops, &QPushButton::clicked, this, &Form_ZL_pipe::Button_loopsClick);
}

QGroupBox* Form_ZL_pipe::buildInputGroup()
{
    auto* box = new QGroupBox(QStringLiteral("数据输入"), this);
    box->setObjectName(QStringLiteral("GroupBox_input"));

    NewLabel(box, "Label_pipe_No", QStringLiteral("管段编号："), {8, 22, 66, kFieldHeight});
    Edit_pipe_No = NewEdit(box, "Edit_pipe_No", {76, 22, 92, kFieldHeight});
    NewLabel(box, "Label_L", QStringLiteral("管段长度(m):"), {186, 22, 84, kFieldHeight});
    Edit_L = NewEdit(box, "Edit_L", {276, 22, 86, kFieldHeight});

    // What Edit_G holds. "m³" reads as the unit m³/h.
    RadioButton_G = NewRadio(box, "RadioButton_G", QStringLiteral("流量(m³/h):"), {8, 54, 98, 20});
    RadioButton_Q = NewRadio(box, "RadioButton_Q", QStringLiteral("热负荷(W)："), {8, 82, 98, 20});
    Edit_G = NewEdit(box, "Edit_G", {106, 67, 62, kFieldHeight});
    flowGroup_ = new QButtonGroup(this);
    flowGroup_->addButton(RadioButton_G);
    flowGroup_->addButton(RadioButton_Q);

    // How the size is found.
    RadioButton_V =
        NewRadio(box, "RadioButton_V", QStringLiteral("流速(m/s)："), {186, 54, 90, 20});
    Edit_V = NewEdit(box, "Edit_V", {276, 53, 86, kFieldHeight});
    RadioButton_DN =
        NewRadio(box, "RadioButton_DN", QStringLiteral("管径(mm)："), {186, 82, 90, 20});
    ComboBox_DN = NewComboBox(box, "ComboBox_DN", {276, 81, 86, kFieldHeight});
    ComboBox_DN->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    SetComboItems(ComboBox_DN, kStartSizes, kDefaultDN);
    RadioButton_Z =
        NewRadio(box, "RadioButton_Z", QStringLiteral("自动选取管径"), {186, 110, 100, 20});
    Button_Set = NewButton(box, "Button_Set", QStringLiteral("比摩阻设置"),
                           {286, 107, 76, kButtonHeight - 2});
    sizeGroup_ = new QButtonGroup(this);
    for (QRadioButton* radio : {RadioButton_V, RadioButton_DN, RadioButton_Z})
        sizeGroup_->addButton(radio);

    NewLabel(box, "Label_JZ_Ty", QStringLiteral("局部阻力类型："), {8, 150, 92, kFieldHeight});
    ComboBox_JZ_Ty = NewComboBox(box, "ComboBox_JZ_Ty", {100, 150, 150, kFieldHeight});
    Image_JZ = new QLabel(box);
    Image_JZ->setObjectName(QStringLiteral("Image_JZ"));
    Image_JZ->setGeometry(QRect(QPoint(270, 143), kPictureSize));
    Image_JZ->setFrameShape(QFrame::Box);
    Image_JZ->setAlignment(Qt::AlignCenter);
    NewLabel(box, "Label_JZ_n", QStringLiteral("局部阻力数量："), {8, 182, 92, kFieldHeight});
    Edit_JZ_n = NewEdit(box, "Edit_JZ_n", {100, 182, 62, kFieldHeight});

    Button_Edit_JZ = NewButton(box, "Button_Edit_JZ", QStringLiteral("编辑局部阻力系数(&Z)"),
                               {8, 226, 144, kButtonHeight});
    Button_Save = NewButton(box, "Button_Save", QStringLiteral("计算和保存(&S)"),
                            {160, 226, 110, kButtonHeight});
    Button_Cancel =
        NewButton(box, "Button_Cancel", QStringLiteral("取消(&C)"), {278, 226, 84, kButtonHeight});

    // The enabling follows the selection however it is made (mouse or keys).
    const auto onSelected = [this](QRadioButton* radio, void (Form_ZL_pipe::*handler)()) {
        connect(radio, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                Guarded(this, [&] { (this->*handler)(); });
        });
    };
    onSelected(RadioButton_V, &Form_ZL_pipe::RadioButton_VClick);
    onSelected(RadioButton_DN, &Form_ZL_pipe::RadioButton_DNClick);
    onSelected(RadioButton_Z, &Form_ZL_pipe::RadioButton_ZClick);
    ConnectGuarded(Button_Set, &QPushButton::clicked, this, &Form_ZL_pipe::Button_SetClick);
    ConnectGuarded(ComboBox_JZ_Ty, &QComboBox::currentTextChanged, this,
                   &Form_ZL_pipe::ComboBox_JZ_TyChange);
    ConnectGuarded(Button_Edit_JZ, &QPushButton::clicked, this, &Form_ZL_pipe::Button_Edit_JZClick);
    ConnectGuarded(Button_Save, &QPushButton::clicked, this, &Form_ZL_pipe::Button_SaveClick);
    ConnectGuarded(Button_Cancel, &QPushButton::clicked, this, &Form_ZL_pipe::Button_addClick);
    return box;
}

QGroupBox* Form_ZL_pipe::buildPipeGroup()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox_pipe"));
    NewLabel(box, "Label_pipe", QStringLiteral("管道类型:"), {8, 16, 100, kFieldHeight});
    ComboBox_pipe = NewComboBox(box, "ComboBox_pipe", {8, 40, 188, kFieldHeight});
    NewLabel(box, "Label_T1", QStringLiteral("供水温度(℃):"), {8, 82, 96, kFieldHeight});
    Edit_T1 = NewEdit(box, "Edit_T1", {106, 82, 90, kFieldHeight});
    Edit_T1->setText(QStringLiteral("95"));
    NewLabel(box, "Label_T2", QStringLiteral("回水温度(℃):"), {8, 114, 96, kFieldHeight});
    Edit_T2 = NewEdit(box, "Edit_T2", {106, 114, 90, kFieldHeight});
    Edit_T2->setText(QStringLiteral("70"));
    Button_Edit_pipe = NewButton(box, "Button_Edit_pipe", QStringLiteral("编辑管道类型(&P)"),
                                 {8, 226, 188, kButtonHeight});

    ConnectGuarded(ComboBox_pipe, &QComboBox::currentTextChanged, this,
                   &Form_ZL_pipe::ComboBox_pipeChange);
    ConnectGuarded(Button_Edit_pipe, &QPushButton::clicked, this,
                   &Form_ZL_pipe::Button_Edit_pipeClick);
    return box;
}

void Form_ZL_pipe::buildGrid()
{
    gridModel_ = new TableGridModel(&segments_, this);
    DBGrid1 = NewSegmentGrid(this, gridModel_, segments_, [this] { DBGrid1CellClick(); });
}

void Form_ZL_pipe::buildBottomRow()
{
    const ProjectRow r = NewProjectRow(this);
    Button_new = r.newProject, Button_open = r.open, Button_Excel = r.excel;
    Edit_FileName = r.fileName;
    Button_browse = r.browse, Button_view = r.view;
    Button_quit = r.quit, Button_help = r.help;
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_ZL_pipe::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_ZL_pipe::Button_helpClick);

    SegmentProjectWindow w;
    w.newProjectLines = [this] {
        return PipeProjectLines({ComboBox_pipe->currentText(), Edit_T1->text(), Edit_T2->text()});
    };
    // The size box keeps what it holds.
    w.readProject = [this](const QStringList& lines) -> std::function<void()> {
        const PipeProjectSettings settings = PipeProjectFromLines(lines);
        return [this, settings] {
            SetComboText(ComboBox_pipe, settings.pipeType);
            Edit_T1->setText(settings.supplyTemp);
            Edit_T2->setText(settings.returnTemp);
        };
    };
    w.useSegmentTable = [this](const QString& path) { useSegmentTable(path); };
    // The heading's water is that of the pipe type and temperatures the
    // window shows, which it prints beside them.
    w.workbookWriter = [this]() -> SegmentProjectWindow::WorkbookWriter {
        if (!coefficients_.isOpen())
            coefficients_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
        PipeWorkbookHeading heading;
        heading.settings = {ComboBox_pipe->currentText(), Edit_T1->text(), Edit_T2->text()};
        const PipeWaterOutcome water = PipeWater(
            heading.settings.pipeType, heading.settings.supplyTemp, heading.settings.returnTemp,
            FileSegmentData(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)),
                            coefficients_));
        if (!water.water)
            throw UserError(water.refusal);
        heading.water = *water.water;
        heading.meanTemperature = water.meanTemperature;
        segmentList_.open();
        CheckPipeSegmentRecords(segments_); // nothing of a damaged table is written
        const SegmentLoops loops = ReadSegmentLoops(SegmentLoopsPath(segments_.path()));
        return [this, heading, loops](const QString& path, const QString& projectFileName) mutable {
            heading.time = TimeOfDayText(currentClock().timeOfDay());
            heading.projectFileName = projectFileName;
            WritePipeWorkbook(path, heading, segments_, loops);
        };
    };
    projects_ = std::make_unique<SegmentProjectActions>(
        this, r,
        SegmentProjectKind{.extension = QString::fromLatin1(PipeProjectExtension),
                           .newFilter = QStringLiteral("水管道阻力(*.gzl)"),
                           .openFilter = QStringLiteral("管道阻力(*.gzl)"),
                           .captionPrefix = QStringLiteral("水管道阻力计算-"),
                           .templateFileName = QString::fromLatin1(PipeProjectTemplateFileName),
                           .lineCount = PipeProjectLineCount,
                           .declaration = &PipeSegmentTableDeclaration()},
        std::move(w));
}

QString Form_ZL_pipe::projectPath() const
{
    return projects_->projectPath();
}

void Form_ZL_pipe::openProject(const QString& path)
{
    projects_->open(path);
}

void Form_ZL_pipe::useSegmentTable(const QString& path)
{
    segmentList_.use(path);
}

void Form_ZL_pipe::enableSizeEntry(SizeEntry entry)
{
    Edit_V->setEnabled(entry == SizeEntry::Velocity);
    ComboBox_DN->setEnabled(entry == SizeEntry::Nominal);
    Button_Set->setEnabled(entry == SizeEntry::Automatic);
}

void Form_ZL_pipe::RadioButton_VClick()
{
    enableSizeEntry(SizeEntry::Velocity);
}

void Form_ZL_pipe::RadioButton_DNClick()
{
    enableSizeEntry(SizeEntry::Nominal);
}

void Form_ZL_pipe::RadioButton_ZClick()
{
    enableSizeEntry(SizeEntry::Automatic);
}

void Form_ZL_pipe::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        FormShow();
}

// Each list is filled on its own: a damaged catalogue leaves the segment
// list and the coefficient names usable, with its message.
void Form_ZL_pipe::FormShow()
{
    const bool firstShowing = !std::exchange(shownBefore_, true);
    Guarded(this, [this, firstShowing] {
        const std::vector<PipeTypeRecord> catalogue = fillPipeTypes();
        // The first showing offers the catalogue's first type, so that a
        // first calculation has one; later showings keep what the box holds.
        if (firstShowing && ComboBox_pipe->currentText().isEmpty() && ComboBox_pipe->count() > 0) {
            const QSignalBlocker quiet(ComboBox_pipe);
            ComboBox_pipe->setCurrentIndex(0);
        }
        if (!ComboBox_pipe->currentText().isEmpty()) {
            if (const PipeTypeRecord* type = FindPipeType(catalogue, ComboBox_pipe->currentText()))
                fillNominalDiameters(*type);
        }
    });
    // Read afresh at every showing; the picture follows the box's text.
    Guarded(this, [this] {
        coefficients_.close();
        fillFittingNames();
        ComboBox_JZ_TyChange();
    });
    Guarded(this, [this] {
        segmentList_.open();
        segmentList_.fill();
    });
}

// The box keeps its text: a type typed or chosen before stays chosen. A
// catalogue that cannot be read leaves the box without items.
std::vector<PipeTypeRecord> Form_ZL_pipe::fillPipeTypes()
{
    const QString text = ComboBox_pipe->currentText();
    SetComboItems(ComboBox_pipe, {}, text);
    std::vector<PipeTypeRecord> catalogue = readCatalogue();
    SetComboItems(ComboBox_pipe, PipeTypeNames(catalogue), text);
    return catalogue;
}

std::vector<PipeTypeRecord> Form_ZL_pipe::readCatalogue() const
{
    return ReadPipeCatalogue(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)));
}

void Form_ZL_pipe::fillNominalDiameters(const PipeTypeRecord& type)
{
    SetComboItems(ComboBox_DN, NominalDiameterTexts(type), kDefaultDN);
}

void Form_ZL_pipe::fillFittingNames()
{
    const QString text = ComboBox_JZ_Ty->currentText();
    SetComboItems(ComboBox_JZ_Ty, {}, text);
    if (!coefficients_.isOpen())
        coefficients_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    SetComboItems(ComboBox_JZ_Ty, LocalResistanceNames(coefficients_), text);
}

void Form_ZL_pipe::showFittingPicture(bool found)
{
    const QImage image = found ? coefficients_.picture(QStringLiteral("Map")) : QImage();
    if (image.isNull()) {
        Image_JZ->clear(); // the empty frame
        return;
    }
    Image_JZ->setPixmap(QPixmap::fromImage(image).scaled(
        Image_JZ->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Form_ZL_pipe::ComboBox_pipeChange()
{
    const QString name = ComboBox_pipe->currentText();
    // Only a listed name can be a catalogue type; a name being typed is not
    // looked up at every key.
    if (ComboBox_pipe->findText(name, Qt::MatchExactly) < 0)
        return;
    const std::vector<PipeTypeRecord> catalogue = readCatalogue();
    if (const PipeTypeRecord* type = FindPipeType(catalogue, name))
        fillNominalDiameters(*type);
}

// The table stays open on the record shown, as the calculation reads it.
void Form_ZL_pipe::ComboBox_JZ_TyChange()
{
    if (!coefficients_.isOpen())
        coefficients_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    showFittingPicture(FindLocalResistance(coefficients_, ComboBox_JZ_Ty->currentText()));
}

void Form_ZL_pipe::Button_SetClick()
{
    sizeSetting_.exec();
}

void Form_ZL_pipe::Button_Edit_pipeClick()
{
    pipeTypeEditor_.exec();
    fillPipeTypes();
}

// The editor has its own connection to the coefficient table: this window's
// copy is read again, so the box, the picture and the next calculation see
// the edited coefficients.
void Form_ZL_pipe::Button_Edit_JZClick()
{
    coefficientEditor_.exec();
    coefficients_.close();
    fillFittingNames();
    ComboBox_JZ_TyChange();
}

void Form_ZL_pipe::Button_addClick()
{
    Edit_pipe_No->clear();
    Edit_G->clear();
    SetComboText(ComboBox_DN, QString());
    Edit_L->clear();
    SetComboText(ComboBox_JZ_Ty, QString());
    showFittingPicture(false);
    Edit_JZ_n->clear();
    RadioButton_G->setChecked(true);
    RadioButton_DN->setChecked(true);
    enableSizeEntry(SizeEntry::Nominal);
}

void Form_ZL_pipe::Button_editClick()
{
    if (segmentList_.findSelected(this))
        DBGrid1CellClick();
}

// Loads the current segment into the fields for changing and saving again;
// its size is then found automatically unless the user picks another way.
void Form_ZL_pipe::DBGrid1CellClick()
{
    if (segments_.eof())
        return;
    const SegmentFieldTexts texts = CurrentSegmentTexts(segments_);
    Edit_pipe_No->setText(texts.segmentNo);
    Edit_G->setText(texts.flow);
    SetComboText(ComboBox_DN, texts.nominal);
    Edit_L->setText(texts.length);
    SetComboText(ComboBox_JZ_Ty, texts.fittingName);
    Edit_JZ_n->setText(texts.fittingCount);
    RadioButton_G->setChecked(true);
    RadioButton_Z->setChecked(true);
    enableSizeEntry(SizeEntry::Automatic);
    ShowCurrentRecord(DBGrid1, segments_);
    ComboBox_JZ_TyChange();
}

void Form_ZL_pipe::Button_delClick()
{
    segmentList_.deleteSelected(this);
}

// The dialog stays open beside the window, so that segments can be changed
// while their loops' figures are in sight.
// Made when first asked for, so that start-up makes no window it may never
// show; from then on its figures follow every change of the table: a
// segment stored or deleted, another project's table.
Form_Loops* Form_ZL_pipe::loopsDialog()
{
    if (!loops_) {
        loops_ = new Form_Loops(
            {&segments_, QStringLiteral("Pipe_No"), [this] { segmentList_.open(); }, kHelpContext},
            this);
        connect(&segments_, &RecordTableStore::contentsChanged, loops_, &Form_Loops::refresh);
    }
    return loops_;
}

void Form_ZL_pipe::Button_loopsClick()
{
    loopsDialog();
    loops_->show();
    loops_->raise();
    loops_->activateWindow();
}

void Form_ZL_pipe::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous() && loops_) // closed, not minimised
        loops_->hide();
}

PipeSegmentInputs Form_ZL_pipe::readInputs() const
{
    PipeSegmentInputs in;
    in.pipeType = ComboBox_pipe->currentText();
    in.supplyTemp = Edit_T1->text();
    in.returnTemp = Edit_T2->text();
    in.segmentNo = Edit_pipe_No->text();
    in.flowEntry = RadioButton_Q->isChecked() ? FlowEntry::HeatLoad : FlowEntry::Flow;
    in.flow = Edit_G->text();
    in.sizeEntry = RadioButton_V->isChecked()    ? SizeEntry::Velocity
                   : RadioButton_DN->isChecked() ? SizeEntry::Nominal
                                                 : SizeEntry::Automatic;
    in.velocity = Edit_V->text();
    in.nominal = ComboBox_DN->currentText();
    in.maxFriction = sizeSetting_.Edit1->text();
    in.length = Edit_L->text();
    in.fittingName = ComboBox_JZ_Ty->currentText();
    in.fittingCount = Edit_JZ_n->text();
    return in;
}

void Form_ZL_pipe::Button_SaveClick()
{
    if (!coefficients_.isOpen())
        coefficients_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    const PipeSegmentOutcome outcome = CalculatePipeSegment(
        readInputs(),
        FileSegmentData(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)), coefficients_));
    if (outcome.water)
        lastWater_ = *outcome.water;
    if (!outcome.segment) {
        prompts().error(this, outcome.refusal);
        return;
    }
    segmentList_.open();
    StorePipeSegment(segments_, *outcome.segment);
    // The list is read from the table; the stored record is current again
    // afterwards and in sight in the grid.
    const int stored = segments_.currentIndex();
    segmentList_.fill();
    segments_.moveTo(stored);
    ShowCurrentRecord(DBGrid1, segments_);
}

void Form_ZL_pipe::Button_quitClick()
{
    close();
}

void Form_ZL_pipe::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
