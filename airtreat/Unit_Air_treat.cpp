#include "airtreat/Unit_Air_treat.h"

#include "airtreat/TreatmentReport.h"
#include "airtreat/Unit_G.h"
#include "airtreat/Unit_IDTu_Treat.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "psychro/Unit_atm.h"
#include "psychro/Unit_wea.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <stdexcept>

namespace
{

constexpr int kHelpContext = 6;
const QString kResultPattern = QStringLiteral("0.00");
constexpr TreatmentProcess kProcesses[4] = {
    TreatmentProcess::PrimarySummer, TreatmentProcess::PrimaryWinter,
    TreatmentProcess::SecondarySummer, TreatmentProcess::SecondaryWinter};

// Design geometry in pixels: three columns of groups over two rows of buttons.
constexpr int kLeftX = 8, kLeftW = 236;
constexpr int kMiddleX = 249, kMiddleW = 172;
constexpr int kRightX = 426, kRightW = 195;
constexpr int kGroupsBottom = 312;
constexpr int kFieldHeight = 22;

void enableWithLabel(QLineEdit* edit, QLabel* label, bool enabled)
{
    edit->setEnabled(enabled);
    if (label)
        label->setEnabled(enabled);
}

} // namespace

Form_Air_treat::Form_Air_treat(ID_lib& lib, TreatmentResult& result, QWidget* parent)
    : QDialog(parent), lib_(lib), result_(result)
{
    setObjectName(QStringLiteral("Form_Air_treat"));
    setWindowTitle(QStringLiteral("空气处理过程计算器 Vendaro 3.0"));
    setFont(SongFontPx(12)); // 9 pt
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(629, 384);

    buildProcessGroup()->setGeometry(kLeftX, 4, kLeftW, 108);
    buildOutdoorGroup()->setGeometry(kLeftX, 116, kLeftW, kGroupsBottom - 116);
    buildIndoorGroup()->setGeometry(kMiddleX, 4, kMiddleW, kGroupsBottom - 4);
    buildResultGroup()->setGeometry(kRightX, 4, kRightW, 338);
    buildButtons();

    RadioButton1->setChecked(true);
    RadioButton7->setChecked(true);
    RadioButtonClick(TreatmentProcess::PrimarySummer);
    for (int k = 0; k < 4; ++k) {
        const TreatmentProcess process = kProcesses[k];
        // The enabling follows the selection however it is made (mouse or arrow keys).
        QObject::connect(processes_[k], &QRadioButton::toggled, this, [this, process](bool on) {
            if (on)
                Guarded(this, [&] { RadioButtonClick(process); });
        });
    }
    SetUpKeyboard(this, Button_cal);
}

Form_Air_treat::~Form_Air_treat() = default;

void Form_Air_treat::useDialogs(Form_atm& atm, Form_G& airFlows)
{
    atm_ = &atm;
    airFlows_ = &airFlows;
}

void Form_Air_treat::useViews(Form_wea& weather, Form_IDTu_Treat& processChart)
{
    weather_ = &weather;
    processChart_ = &processChart;
}

QLineEdit* Form_Air_treat::addField(QWidget* group, const char* name, const QString& caption,
                                    int top, int labelWidth, int editWidth)
{
    auto* label = NewLabel(group, "", caption, {8, top, labelWidth, kFieldHeight});
    auto* edit = NewEdit(group, name, {8 + labelWidth, top, editWidth, kFieldHeight});
    label->setBuddy(edit);
    return edit;
}

QLabel* Form_Air_treat::labelOf(const QLineEdit* edit) const
{
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == edit)
            return label;
    return nullptr;
}

QGroupBox* Form_Air_treat::buildProcessGroup()
{
    auto* box = new QGroupBox(QStringLiteral("空气处理方式"), this);
    for (int k = 0; k < 4; ++k) {
        auto* radio = new QRadioButton(ProcessCaption(kProcesses[k]), box);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(k + 1));
        radio->setGeometry(12, 20 + k * 21, 210, 20);
        processes_[k] = radio;
    }
    RadioButton1 = processes_[0], RadioButton2 = processes_[1];
    RadioButton3 = processes_[2], RadioButton4 = processes_[3];
    return box;
}

QGroupBox* Form_Air_treat::buildOutdoorGroup()
{
    auto* box = new QGroupBox(QStringLiteral("室外空气参数"), this);
    // The longest caption takes 169 px; a gap keeps it off its field.
    constexpr int labelW = 176, editW = 48, pitch = 34;
    Edit1 = addField(box, "Edit1", QStringLiteral("室外计算干球温度(℃):"), 26, labelW, editW);
    Edit2 = addField(box, "Edit2", QStringLiteral("夏季室外计算湿球温度(℃):"), 26 + pitch, labelW,
                     editW);
    Edit3 = addField(box, "Edit3", QStringLiteral("冬季空调室外计算相对湿度(％):"), 26 + 2 * pitch,
                     labelW, editW);
    Button1 = NewButton(box, "Button1", QStringLiteral("城市气象参数(&W)"), {50, 140, 132, 26});
    ConnectGuarded(Button1, &QPushButton::clicked, this, &Form_Air_treat::Button1Click);
    return box;
}

QGroupBox* Form_Air_treat::buildIndoorGroup()
{
    auto* box = new QGroupBox(QStringLiteral("室内设计参数"), this);
    constexpr int labelW = 104, editW = 56, pitch = 36;
    Edit4 = addField(box, "Edit4", QStringLiteral("设计干球温度(℃):"), 24, labelW, editW);
    Edit5 = addField(box, "Edit5", QStringLiteral("设计相对湿度(％):"), 24 + pitch, labelW, editW);
    Edit6 = addField(box, "Edit6", QStringLiteral("余热量(kw):"), 24 + 2 * pitch, labelW, editW);
    Edit7 = addField(box, "Edit7", QStringLiteral("余湿量(kg/h):"), 24 + 3 * pitch, labelW, editW);
    Edit8 = addField(box, "Edit8", QStringLiteral("送风温度(℃):"), 24 + 4 * pitch, labelW, editW);
    // The fresh-air entry's label is the choice of how to read it.
    const int top = 24 + 5 * pitch;
    RadioButton6 = new QRadioButton(QStringLiteral("新风量(kg/h)"), box);
    RadioButton6->setObjectName(QStringLiteral("RadioButton6"));
    RadioButton6->setGeometry(8, top, labelW, 20);
    RadioButton7 = new QRadioButton(QStringLiteral("新风比(％):"), box);
    RadioButton7->setObjectName(QStringLiteral("RadioButton7"));
    RadioButton7->setGeometry(8, top + 24, labelW, 20);
    Edit9 = NewEdit(box, "Edit9", {8 + labelW, top + 12, editW, kFieldHeight});
    Edit9->setText(QStringLiteral("25"));
    return box;
}

QGroupBox* Form_Air_treat::buildResultGroup()
{
    auto* box = new QGroupBox(QStringLiteral("计算结果"), this);
    // The core names each result as the window labels it.
    const auto rows = ShownResults(TreatmentCalculation{});
    for (int row = 0; row < kShownResultCount; ++row) {
        const QByteArray name = "Edit" + QByteArray::number(row + 10);
        QLineEdit* edit = addField(box, name.constData(), QString::fromUtf8(rows[row].label),
                                   20 + row * 24, 112, 70);
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        results_[row] = edit;
    }
    Edit10 = results_[0], Edit11 = results_[1], Edit12 = results_[2], Edit13 = results_[3];
    Edit14 = results_[4], Edit15 = results_[5], Edit16 = results_[6], Edit17 = results_[7];
    Edit18 = results_[8], Edit19 = results_[9], Edit20 = results_[10], Edit21 = results_[11];
    Edit22 = results_[12];
    return box;
}

void Form_Air_treat::buildButtons()
{
    Button_atm =
        NewButton(this, "Button_atm", QStringLiteral("当地大气压(&A)"), {kLeftX, 318, 120, 26});
    Button_ID = NewButton(this, "Button_ID", QStringLiteral("焓湿图(&G)"), {134, 318, 120, 26});

    struct Row {
        QPushButton** button;
        const char* name;
        const char* caption;
    };
    const Row row[] = {
        {&Button_new, "Button_new", "新建(&N)"},   {&Button_open, "Button_open", "打开(&O)"},
        {&Button_cal, "Button_cal", "计算(&C)"},   {&Button_save, "Button_save", "保存(&S)"},
        {&Button2, "Button2", "打印(&P)"},         {&Button3, "Button3", "字体设置(&F)"},
        {&Button_quit, "Button_quit", "退出(&Q)"}, {&Button_help, "Button_help", "帮助(&H)"}};
    for (int k = 0; k < 8; ++k)
        *row[k].button = NewButton(this, row[k].name, QString::fromUtf8(row[k].caption),
                                   {kLeftX + k * 77, 350, 72, 26});
    // The system's own dialog titles.
    report_ = std::make_unique<ReportActions>(this, Button_save, QString(), QString());

    ConnectGuarded(Button_cal, &QPushButton::clicked, this, &Form_Air_treat::Button_calClick);
    ConnectGuarded(Button_atm, &QPushButton::clicked, this, &Form_Air_treat::Button_atmClick);
    ConnectGuarded(Button_ID, &QPushButton::clicked, this, &Form_Air_treat::Button_IDClick);
    ConnectGuarded(Button_new, &QPushButton::clicked, this, &Form_Air_treat::Button_newClick);
    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_Air_treat::Button_openClick);
    ConnectGuarded(Button_save, &QPushButton::clicked, this, &Form_Air_treat::Button_saveClick);
    ConnectGuarded(Button2, &QPushButton::clicked, this, &Form_Air_treat::Button2Click);
    ConnectGuarded(Button3, &QPushButton::clicked, this, &Form_Air_treat::Button3Click);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_Air_treat::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_Air_treat::Button_helpClick);
}

TreatmentProcess Form_Air_treat::selectedProcess() const
{
    for (int k = 0; k < 4; ++k)
        if (processes_[k]->isChecked())
            return kProcesses[k];
    return TreatmentProcess::PrimarySummer; // one is always selected
}

void Form_Air_treat::RadioButtonClick(TreatmentProcess process)
{
    const ProcessFields fields = FieldsOf(process);
    enableWithLabel(Edit2, labelOf(Edit2), fields.wetBulb);
    enableWithLabel(Edit3, labelOf(Edit3), fields.outdoorRH);
    enableWithLabel(Edit8, labelOf(Edit8), fields.supply);
    Edit9->setEnabled(fields.supply);
    RadioButton6->setEnabled(fields.supply);
    RadioButton7->setEnabled(fields.supply);
}

TreatmentInputs Form_Air_treat::readInputs() const
{
    if (!atm_ || !airFlows_)
        throw std::logic_error("air treatment window used before its dialogs were given");
    TreatmentInputs in;
    in.process = selectedProcess();
    in.freshAirEntry = RadioButton6->isChecked() ? FreshAirEntry::Quantity : FreshAirEntry::Ratio;
    ReadTreatmentFields({atm_->pressureText(), Edit1->text(), Edit2->text(), Edit3->text(),
                         Edit4->text(), Edit5->text(), Edit6->text(), Edit7->text(), Edit8->text(),
                         Edit9->text()},
                        in);
    if (FieldsOf(in.process).airFlows) {
        // Read however the dialog was closed: closing it unchanged keeps the last values.
        airFlows_->exec();
        ReadAirFlows(airFlows_->texts(), in);
    }
    return in;
}

void Form_Air_treat::Button_calClick()
{
    // Until this press completes, the results shown are not the inputs' own.
    resultsStale_ = true;
    // An empty or non-numeric field ends here with its message (Guarded).
    const TreatmentInputs in = readInputs();
    const TreatmentOutcome outcome = CalculateTreatment(lib_, in);
    if (!outcome.calculation) {
        // Without a refusal the library has shown its own message.
        if (!outcome.refusal.isEmpty())
            prompts().error(this, outcome.refusal);
        return;
    }
    // Only a complete calculation becomes the result the chart view draws.
    result_ = outcome.calculation->points;
    showResults(in.process, *outcome.calculation);
    resultsStale_ = false;
}

void Form_Air_treat::showResults(TreatmentProcess process, const TreatmentCalculation& calculation)
{
    const auto rows = ShownResults(calculation);
    for (int row = 0; row < kShownResultCount; ++row) {
        QLineEdit* edit = results_[row];
        enableWithLabel(edit, labelOf(edit), ResultShownFor(process, row));
        edit->setText(FormatNumber(rows[row].value, kResultPattern));
    }
}

TreatmentReportValues Form_Air_treat::reportValues() const
{
    if (resultsStale_)
        throw UserError(QString::fromUtf8(TreatmentReportStaleText));
    TreatmentReportValues v;
    v.process = selectedProcess();
    v.tW = Edit1->text();
    v.tsW = Edit2->text();
    v.phiW = Edit3->text();
    v.tN = Edit4->text();
    v.phiN = Edit5->text();
    v.Q = Edit6->text();
    v.W = Edit7->text();
    for (int row = 0; row < kShownResultCount; ++row)
        v.results[row] = results_[row]->text();
    return v;
}

// The station's dry bulb is its summer or its winter value as the selected
// process is a summer or a winter one.
void Form_Air_treat::Button1Click()
{
    if (!weather_)
        return;
    const TreatmentProcess process = selectedProcess();
    const bool summer =
        process == TreatmentProcess::PrimarySummer || process == TreatmentProcess::SecondarySummer;
    weather_->pick({summer, Edit1, Edit2, Edit3});
}

void Form_Air_treat::Button_IDClick()
{
    if (processChart_)
        processChart_->exec();
}

void Form_Air_treat::Button_atmClick()
{
    if (atm_)
        atm_->exec();
}

void Form_Air_treat::Button_newClick()
{
    report_->chooseNew();
}

void Form_Air_treat::Button_openClick()
{
    report_->chooseExisting();
}

void Form_Air_treat::Button_saveClick()
{
    report_->save(TreatmentSaveLines(reportValues()));
}

void Form_Air_treat::Button2Click()
{
    report_->print(TreatmentPrintLines(reportValues()));
}

void Form_Air_treat::Button3Click()
{
    report_->chooseFont();
}

void Form_Air_treat::Button_quitClick()
{
    close();
}

void Form_Air_treat::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}

void Form_Air_treat::FormShow()
{
    result_.Calculated = false;
    report_->windowShown();
}

void Form_Air_treat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}
