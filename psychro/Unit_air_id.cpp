#include "psychro/Unit_air_id.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "psychro/Unit_atm.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>

namespace
{

constexpr int kHelpContext = 5;
constexpr Quantity kQuantities[5] = {Quantity::DryBulb, Quantity::WetBulb, Quantity::RH,
                                     Quantity::D, Quantity::I};
// Radio captions; d and i are completed by the small labels "干空气" and ")".
const char* const kRadioCaptions[5] = {"干球温度(℃)", "湿球温度(℃)", "相对湿度(%)",
                                       "含湿量(g/kg    ", "焓(kj/kg  "};
const char* const kCaptionStems[5] = {"", "", "", "含湿量(g/kg", "焓(kj/kg"};

} // namespace

Form_id::Form_id(ID_lib& lib, Form_atm& atm, QWidget* parent)
    : QDialog(parent), lib_(lib), atm_(atm)
{
    setObjectName(QStringLiteral("Form_id"));
    setWindowTitle(QStringLiteral("湿空气参数计算器 Moiraxa "));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(546, 266);

    QGroupBox* first = buildGroup(0, QStringLiteral("第一参数"), Edit1);
    first->setGeometry(8, 4, 130, 190);
    QGroupBox* second = buildGroup(1, QStringLiteral("第二参数"), Edit2);
    second->setGeometry(144, 4, 130, 190);
    RadioButton1 = radios_[0][0], RadioButton2 = radios_[0][1], RadioButton3 = radios_[0][2];
    RadioButton4 = radios_[0][3], RadioButton5 = radios_[0][4];
    RadioButton6 = radios_[1][0], RadioButton7 = radios_[1][1], RadioButton8 = radios_[1][2];
    RadioButton9 = radios_[1][3], RadioButton10 = radios_[1][4];

    auto* results = new QGroupBox(QStringLiteral("计算结果"), this);
    results->setGeometry(282, 4, 256, 222);
    const QStringList labels{
        QStringLiteral("干球温度(℃):"),
        QStringLiteral("湿球温度(℃)："),
        QStringLiteral("相对湿度(%):"),
        QStringLiteral("含湿量(g/kg<span style=\"font-size:9px\">干空气</span>):"),
        QStringLiteral("焓(kj/kg<span style=\"font-size:9px\">干空气</span>):"),
        QStringLiteral("露点温度(℃):"),
        QStringLiteral("密度(kg/m<sup>3</sup>):"),
        QStringLiteral("水蒸汽分压力(Pa):")};
    QLineEdit** resultEdits[8] = {&Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9, &Edit10};
    for (int row = 0; row < 8; ++row) {
        auto* label = new QLabel(labels[row], results);
        label->setTextFormat(Qt::RichText);
        label->setGeometry(10, 20 + row * 25, 140, 22);
        auto* edit = NewEdit(results, "", {150, 20 + row * 25, 96, 22});
        edit->setObjectName(QStringLiteral("Edit%1").arg(row + 3));
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *resultEdits[row] = edit;
    }

    Button_atm = NewButton(this, "Button_atm", QStringLiteral("大气压设置"), {8, 200, 130, 26});
    Button_help = NewButton(this, "Button_help", QStringLiteral("帮助(&H)"), {144, 200, 130, 26});
    const int row = 234, w = 72, step = 76;
    Button_new = NewButton(this, "Button_new", QStringLiteral("新建(&N)"), {8, row, w, 26});
    Button_open =
        NewButton(this, "Button_open", QStringLiteral("打开(&O)"), {8 + step, row, w, 26});
    Button_cal =
        NewButton(this, "Button_cal", QStringLiteral("计算(&C)"), {8 + 2 * step, row, w, 26});
    Button_save =
        NewButton(this, "Button_save", QStringLiteral("保存(&S)"), {8 + 3 * step, row, w, 26});
    Button_print =
        NewButton(this, "Button_print", QStringLiteral("打印(&P)"), {8 + 4 * step, row, w, 26});
    Button_font =
        NewButton(this, "Button_font", QStringLiteral("字体设置(&F)"), {8 + 5 * step, row, w, 26});
    Button_quit =
        NewButton(this, "Button_quit", QStringLiteral("退出(&Q)"), {8 + 6 * step, row, w, 26});
    report_ = std::make_unique<ReportActions>(this, Button_save, QStringLiteral("新建"),
                                              QStringLiteral("打开文件"));

    ConnectGuarded(Button_cal, &QPushButton::clicked, this, &Form_id::Button_calClick);
    ConnectGuarded(Button_atm, &QPushButton::clicked, this, &Form_id::Button_atmClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_id::Button_helpClick);
    ConnectGuarded(Button_new, &QPushButton::clicked, this, &Form_id::Button_newClick);
    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_id::Button_openClick);
    ConnectGuarded(Button_save, &QPushButton::clicked, this, &Form_id::Button_saveClick);
    ConnectGuarded(Button_print, &QPushButton::clicked, this, &Form_id::Button_printClick);
    ConnectGuarded(Button_font, &QPushButton::clicked, this, &Form_id::Button_fontClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_id::Button_quitClick);

    // Dry bulb first, wet bulb second, and the second group's dry bulb off.
    RadioButton1->setChecked(true);
    RadioButton7->setChecked(true);
    RadioButton6->setEnabled(false);
    SetUpKeyboard(this, Button_cal);
}

Form_id::~Form_id() = default;

QGroupBox* Form_id::buildGroup(int group, const QString& title, QLineEdit*& edit)
{
    auto* box = new QGroupBox(title, this);
    edit = NewEdit(box, group == 0 ? "Edit1" : "Edit2", {10, 22, 110, 24});
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (int k = 0; k < 5; ++k) {
        auto* radio = new QRadioButton(QString::fromUtf8(kRadioCaptions[k]), box);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(group * 5 + k + 1));
        radio->setGeometry(8, 56 + k * 26, 118, 22);
        radios_[group][k] = radio;
        const Quantity quantity = kQuantities[k];
        QObject::connect(radio, &QRadioButton::clicked, this, [this, group, quantity] {
            Guarded(this, [&] { RadioButtonClick(group, quantity); });
        });
        if (*kCaptionStems[k] == '\0')
            continue;
        // The small "干空气" and the closing ")" sit where the caption's
        // trailing blanks leave room.
        const int x = 8 + indicator +
                      radio->fontMetrics().horizontalAdvance(QString::fromUtf8(kCaptionStems[k]));
        auto* air = new QLabel(QStringLiteral("干空气"), box);
        air->setFont(SongFontPx(9));
        air->setGeometry(x, 56 + k * 26 + 6, 28, 14);
        auto* close = new QLabel(QStringLiteral(")"), box);
        close->setGeometry(x + 28, 56 + k * 26, 8, 22);
        captionParts_[group][k] = {air, close};
    }
    return box;
}

std::optional<Quantity> Form_id::selected(int group) const
{
    for (int k = 0; k < 5; ++k)
        if (radios_[group][k]->isChecked())
            return kQuantities[k];
    return std::nullopt;
}

void Form_id::RadioButtonClick(int group, Quantity quantity)
{
    const int other = 1 - group;
    for (int k = 0; k < 5; ++k) {
        const bool enabled = PairOffered(quantity, kQuantities[k]);
        radios_[other][k]->setEnabled(enabled);
        for (QLabel* part : captionParts_[other][k])
            part->setEnabled(enabled);
    }
}

void Form_id::Button_calClick()
{
    atm_.applyTo(lib_);
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
        prompts().error(this, QStringLiteral("请输入计算参数！"));
        return;
    }
    const double first = ReadField(Edit1);
    const double second = ReadField(Edit2);
    const auto q1 = selected(0), q2 = selected(1);
    if (!q1 || !q2) {
        prompts().error(this, QStringLiteral("请输入计算参数！"));
        return;
    }
    // After a library failure its message has been shown; the fields then
    // show what the operation left, as after any other calculation.
    const StateCalcResult result = CalculateState(lib_, {*q1, first}, {*q2, second});
    if (result.refusal) {
        prompts().error(this, *result.refusal);
        return;
    }
    QLineEdit* const fields[8] = {Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10};
    const auto rows = StateResults(lib_.CurrentState);
    for (int k = 0; k < 8; ++k)
        fields[k]->setText(FormatNumber(rows[k].value, QStringLiteral("0.00")));
}

void Form_id::Button_atmClick()
{
    atm_.exec();
}

void Form_id::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}

void Form_id::Button_newClick()
{
    report_->chooseNew();
}

void Form_id::Button_openClick()
{
    report_->chooseExisting();
}

void Form_id::Button_saveClick()
{
    report_->save(StateReportLines(lib_.CurrentState));
}

void Form_id::Button_printClick()
{
    report_->print(StatePrintHeading() + StateReportLines(lib_.CurrentState));
}

void Form_id::Button_fontClick()
{
    report_->chooseFont();
}

void Form_id::Button_quitClick()
{
    close();
}

void Form_id::FormShow()
{
    report_->windowShown();
}

void Form_id::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}
