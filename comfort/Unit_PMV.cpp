#include "comfort/Unit_PMV.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "comfort/Pmv.h"
#include "comfort/PmvScale.h"
#include "psychro/ID_lib.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

namespace
{

constexpr int kHelpTopic = 12;
const QString kResultPattern = QStringLiteral("0.00");

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    if (text.contains(QLatin1Char('<')))
        label->setTextFormat(Qt::RichText);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* addEdit(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    return edit;
}

QPushButton* namedButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

Form_PMV::Form_PMV(ID_lib& lib, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      Button_save(namedButton("Button_save", QStringLiteral("保存(&S)"), this)), lib_(lib),
      reports_(this, Button_save, QStringLiteral("新建"), QStringLiteral("打开文件"))
{
    setWindowTitle(QStringLiteral("热舒适指标PMV计算"));
    setFont(SongFontPx(12));
    setFixedSize(506, 302);

    auto* room = new QGroupBox(QStringLiteral("室内环境"), this);
    room->setGeometry(8, 6, 240, 126);
    addLabel(room, QStringLiteral("干球温度(C):"), {10, 22, 118, 21});
    Edit_Ta = addEdit(room, "Edit_Ta", {}, {130, 22, 100, 21});
    addLabel(room, QStringLiteral("相对湿度(%):"), {10, 48, 118, 21});
    Edit_RH = addEdit(room, "Edit_RH", {}, {130, 48, 100, 21});
    addLabel(room, QStringLiteral("空气流速(m/s):"), {10, 74, 118, 21});
    Edit_Va = addEdit(room, "Edit_Va", {}, {130, 74, 100, 21});
    addLabel(room, QStringLiteral("平均辐射温度(C):"), {10, 100, 118, 21});
    Edit_Tr = addEdit(room, "Edit_Tr", {}, {130, 100, 100, 21});

    auto* person = new QGroupBox(QStringLiteral("人员"), this);
    person->setGeometry(256, 6, 242, 126);
    addLabel(person, QStringLiteral("人体能量代谢率(W/m<sup>2</sup>):"), {8, 24, 134, 22});
    ComboBox_M = new QComboBox(person);
    ComboBox_M->setObjectName(QStringLiteral("ComboBox_M"));
    KeepTypedText(ComboBox_M);
    for (const PmvActivity& a : PmvActivities())
        ComboBox_M->addItem(a.text);
    ComboBox_M->setCurrentText(QStringLiteral("坐着活动"));
    ComboBox_M->setGeometry(142, 24, 92, 22);
    addLabel(person, QStringLiteral("人体所作机械功(W):"), {8, 58, 134, 21});
    Edit_W = addEdit(person, "Edit_W", QStringLiteral("0"), {142, 58, 92, 21});
    addLabel(person, QStringLiteral("衣服热阻(m<sup>2</sup>.K/W):"), {8, 92, 134, 22});
    Edit_Icl = addEdit(person, "Edit_Icl", QStringLiteral("0.093"), {142, 92, 92, 21});

    auto* results = new QGroupBox(QStringLiteral("计算结果"), this);
    results->setGeometry(8, 138, 240, 76);
    addLabel(results, QStringLiteral("预测平均投票值PMV："), {8, 20, 132, 21});
    Edit_PMV = addEdit(results, "Edit_PMV", {}, {142, 20, 90, 21});
    addLabel(results, QStringLiteral("预测不满意百分数PPD:"), {8, 46, 132, 21});
    Edit_PPD = addEdit(results, "Edit_PPD", {}, {142, 46, 90, 21});
    Edit_PMV->setReadOnly(true);
    Edit_PPD->setReadOnly(true);

    // The scale: labels and ticks over the marker strip, the strip over the
    // colour bar; each vote's label stands over its pixel column.
    auto* scale = new QGroupBox(QStringLiteral("热感觉标尺"), this);
    scale->setGeometry(256, 138, 242, 92);
    const int scaleLeft = (242 - kScaleWidth) / 2;
    const QStringList votes{QStringLiteral("+3"), QStringLiteral("+2"), QStringLiteral("+1"),
                            QStringLiteral("0"),  QStringLiteral("-1"), QStringLiteral("-2"),
                            QStringLiteral("-3")};
    for (int k = 0; k < votes.size(); ++k) {
        const int centre = scaleLeft + PmvMarkerX(3 - k);
        addLabel(scale, votes[k], {centre - 10, 16, 20, 14})->setAlignment(Qt::AlignCenter);
        addLabel(scale, QStringLiteral("|"), {centre - 10, 28, 20, 12})
            ->setAlignment(Qt::AlignCenter);
    }
    Image_marker = new QLabel(scale);
    Image_marker->setObjectName(QStringLiteral("Image_marker"));
    Image_marker->setGeometry(scaleLeft, 42, kScaleWidth, kMarkerStripHeight);
    Image_bar = new QLabel(scale);
    Image_bar->setObjectName(QStringLiteral("Image_bar"));
    Image_bar->setGeometry(scaleLeft, 60, kScaleWidth, kColourBarHeight);
    Image_bar->setPixmap(QPixmap::fromImage(ComfortColourBar()));
    addLabel(scale, QStringLiteral("热"), {2, 60, 18, 16})->setAlignment(Qt::AlignCenter);
    addLabel(scale, QStringLiteral("冷"), {scaleLeft + kScaleWidth + 2, 60, 18, 16})
        ->setAlignment(Qt::AlignCenter);

    Button_cal = namedButton("Button_cal", QStringLiteral("计算(&T)"), this);
    Button_cal->setGeometry(8, 224, 76, 26);
    Button_quit = namedButton("Button_quit", QStringLiteral("退出(&Q)"), this);
    Button_quit->setGeometry(90, 224, 76, 26);
    Button_help = namedButton("Button_help", QStringLiteral("帮助(&H)"), this);
    Button_help->setGeometry(172, 224, 76, 26);
    Button_new = namedButton("Button_new", QStringLiteral("新建(&N)"), this);
    Button_new->setGeometry(8, 264, 94, 26);
    Button_open = namedButton("Button_open", QStringLiteral("打开(&O)"), this);
    Button_open->setGeometry(107, 264, 94, 26);
    Button_save->setGeometry(206, 264, 94, 26);
    Button_print = namedButton("Button_print", QStringLiteral("打印(&P)"), this);
    Button_print->setGeometry(305, 264, 94, 26);
    Button_font = namedButton("Button_font", QStringLiteral("字体设置(&F)"), this);
    Button_font->setGeometry(404, 264, 94, 26);

    ConnectGuarded(Button_cal, &QPushButton::clicked, this, &Form_PMV::Button_calClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_PMV::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_PMV::Button_helpClick);
    ConnectGuarded(Button_new, &QPushButton::clicked, this, &Form_PMV::Button_newClick);
    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_PMV::Button_openClick);
    ConnectGuarded(Button_save, &QPushButton::clicked, this, &Form_PMV::Button_saveClick);
    ConnectGuarded(Button_print, &QPushButton::clicked, this, &Form_PMV::Button_printClick);
    ConnectGuarded(Button_font, &QPushButton::clicked, this, &Form_PMV::Button_fontClick);

    drawMarker(0);
    SetUpKeyboard(this, Button_cal);
}

void Form_PMV::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guarded(this, [this] { FormShow(); });
}

void Form_PMV::FormShow()
{
    reports_.windowShown();
    drawMarker(0);
}

void Form_PMV::Button_calClick()
{
    // Fields are read in the order of the heat balance's inputs; the first
    // text that is not a number ends the calculation.
    PmvInput in;
    in.ta = ReadField(Edit_Ta);
    in.RH = ReadField(Edit_RH);
    in.va = ReadField(Edit_Va);
    in.tr = ReadField(Edit_Tr);
    in.W = ReadField(Edit_W);
    in.Icl = ReadField(Edit_Icl);
    in.M = MetabolicRateOf(ComboBox_M->currentText());
    if (const auto error = PmvInputError(in)) {
        prompts().error(this, *error);
        return;
    }
    M_ = in.M;
    const int failures = lib_.FailureCount();
    // The whole room state: the library is the program's, and the state-point
    // window's report shows whatever state it holds last.
    if (const auto result = CalculatePmv(lib_, in, PmvRoomAir::WholeState)) {
        PMV_ = result->PMV;
        PPD_ = result->PPD;
    } else if (lib_.FailureCount() == failures) {
        prompts().error(this, PmvFailedText); // the library has shown its own message otherwise
    }
    showResults();
}

void Form_PMV::showResults()
{
    Edit_PPD->setText(FormatNumber(PPD_, kResultPattern));
    Edit_PMV->setText(FormatNumber(PMV_, kResultPattern));
    drawMarker(PMV_);
}

void Form_PMV::drawMarker(double pmv)
{
    Image_marker->setPixmap(QPixmap::fromImage(PmvMarkerStrip(pmv)));
}

void Form_PMV::Button_quitClick()
{
    close();
}

void Form_PMV::Button_helpClick()
{
    ShowHelp(this, kHelpTopic);
}

void Form_PMV::Button_newClick()
{
    reports_.chooseNew();
}

void Form_PMV::Button_openClick()
{
    reports_.chooseExisting();
}

void Form_PMV::Button_saveClick()
{
    reports_.save(PmvSaveLines(reportValues()));
}

void Form_PMV::Button_printClick()
{
    reports_.print(PmvPrintLines(reportValues()));
}

void Form_PMV::Button_fontClick()
{
    reports_.chooseFont();
}

PmvReportValues Form_PMV::reportValues() const
{
    PmvReportValues v;
    v.ta = Edit_Ta->text();
    v.RH = Edit_RH->text();
    v.va = Edit_Va->text();
    v.tr = Edit_Tr->text();
    v.M = M_;
    v.W = Edit_W->text();
    v.Icl = Edit_Icl->text();
    v.PMV = Edit_PMV->text();
    v.PPD = Edit_PPD->text();
    return v;
}
