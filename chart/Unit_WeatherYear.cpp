#include "chart/Unit_WeatherYear.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/Numbers.h"
#include "app/Prompts.h"

#include <QLineEdit>
#include <QPushButton>

namespace
{
constexpr int kWidth = 420;
constexpr int kCaptionWidth = 96;
constexpr int kButtonWidth = 80;
} // namespace

Form_WeatherYear::Form_WeatherYear(double csvPressure, QWidget* parent)
    : QDialog(parent), csvPressure_(csvPressure)
{
    setObjectName(QStringLiteral("Form_WeatherYear"));
    setWindowTitle(QStringLiteral("气象年"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, 176);

    const int field = 12 + kCaptionWidth, fieldWidth = kWidth - field - 12;
    NewLabel(this, "Label_file", QStringLiteral("气象年文件:"), {12, 14, kCaptionWidth, 22});
    Edit_file = NewEdit(this, "Edit_file", {field, 14, fieldWidth - kButtonWidth - 6, 22});
    ShowWholeTextInTip(Edit_file);
    Button_open = NewButton(this, "Button_open", QStringLiteral("打开..."),
                            {kWidth - 12 - kButtonWidth, 12, kButtonWidth, 26});
    NewLabel(this, "Label_months", QStringLiteral("月份:"), {12, 48, kCaptionWidth, 22});
    Edit_months = NewEdit(this, "Edit_months", {field, 48, 120, 22});
    Edit_months->setText(QStringLiteral("1-12"));
    Edit_months->setToolTip(QStringLiteral("如 1-12、6-8、11-2 或 1,2,12"));
    NewLabel(this, "Label_hours", QStringLiteral("时刻 (1～24时):"), {12, 80, kCaptionWidth, 22});
    Edit_hours = NewEdit(this, "Edit_hours", {field, 80, 120, 22});
    Edit_hours->setText(QStringLiteral("1-24"));
    Edit_hours->setToolTip(QStringLiteral("如 1-24 或 8-18（第8时至第18时）"));

    const int top = 176 - 12 - 28;
    Button_OK = NewButton(this, "Button_OK", QStringLiteral("确定"),
                          {kWidth - 12 - 3 * kButtonWidth - 2 * 8, top, kButtonWidth, 28});
    Button_remove = NewButton(this, "Button_remove", QStringLiteral("移去"),
                              {kWidth - 12 - 2 * kButtonWidth - 8, top, kButtonWidth, 28});
    Button_cancel = NewButton(this, "Button_cancel", QStringLiteral("取消"),
                              {kWidth - 12 - kButtonWidth, top, kButtonWidth, 28});
    Button_remove->setEnabled(false);

    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_WeatherYear::Button_openClick);
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_WeatherYear::Button_OKClick);
    ConnectGuarded(Button_remove, &QPushButton::clicked, this,
                   &Form_WeatherYear::Button_removeClick);
    connect(Button_cancel, &QPushButton::clicked, this, &QDialog::reject);
    SetUpKeyboard(this, Button_OK);
}

void Form_WeatherYear::setFields(const QString& path, const QString& months, const QString& hours,
                                 bool layerShown)
{
    Edit_file->setText(path);
    if (!months.isEmpty())
        Edit_months->setText(months);
    if (!hours.isEmpty())
        Edit_hours->setText(hours);
    Button_remove->setEnabled(layerShown);
}

QString Form_WeatherYear::path() const
{
    return Edit_file->text().trimmed();
}

QString Form_WeatherYear::monthsText() const
{
    return Edit_months->text().trimmed();
}

QString Form_WeatherYear::hoursText() const
{
    return Edit_hours->text().trimmed();
}

void Form_WeatherYear::Button_openClick()
{
    const QString chosen = ChooseOpenFile(
        this, {QStringLiteral("打开气象年文件"),
               QStringLiteral("气象年文件(*.epw *.csv);;EPW文件(*.epw);;CSV文件(*.csv)"),
               QStringLiteral("epw")});
    if (!chosen.isEmpty())
        Edit_file->setText(chosen);
}

// Everything is read and checked before anything is kept: a failure leaves
// the dialog open and the chart as it was.
void Form_WeatherYear::Button_OKClick()
{
    if (path().isEmpty())
        throw UserError(QStringLiteral("请选择气象年文件！"));
    WeatherFilter filter;
    filter.months = WeatherFilter::ParseMonths(monthsText());
    filter.hours = WeatherFilter::ParseHours(hoursText());
    WeatherYear year = ReadWeatherYearFile(path(), csvPressure_);
    if (year.hours.empty())
        throw UserError(QStringLiteral("气象年文件中没有可用的逐时数据！"));
    year_ = std::move(year);
    filter_ = filter;
    choice_ = Choice::Lay;
    accept();
}

void Form_WeatherYear::Button_removeClick()
{
    choice_ = Choice::Remove;
    accept();
}
