#include "psychro/Unit_wea.h"

#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "psychro/ID_lib.h"
#include "psychro/WeatherTable.h"
#include "weather/WeatherDesignTexts.h"
#include "weather/WeatherYear.h"
#include "weather/WeatherYearFigures.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace
{

// The city list is wide enough for the longest station name of the table,
// "克孜勒苏柯尔克孜自治州(乌恰)" (15 characters), beside a scroll bar.
constexpr int kProvinceListWidth = 110;
constexpr int kCityListWidth = 260;
constexpr int kListHeight = 300;

void writeField(QLineEdit* field, const QString& text)
{
    if (field)
        field->setText(text);
}

} // namespace

Form_wea::Form_wea(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_wea"));
    setWindowTitle(QStringLiteral("城市气象参数"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    const int cityLeft = 12 + kProvinceListWidth + 12;
    const int width = cityLeft + kCityListWidth + 12;
    setFixedSize(width, 12 + 20 + kListHeight + 12 + 28 + 12);

    Label_Pro =
        NewLabel(this, "Label_Pro", QStringLiteral("省市名称:"), {12, 12, kProvinceListWidth, 18});
    Label_City = NewLabel(this, "Label_City", QStringLiteral("城市名称:"),
                          {cityLeft, 12, kCityListWidth, 18});
    ListBox_Pro = new QListWidget(this);
    ListBox_Pro->setObjectName(QStringLiteral("ListBox_Pro"));
    ListBox_Pro->setGeometry(12, 32, kProvinceListWidth, kListHeight);
    ListBox_City = new QListWidget(this);
    ListBox_City->setObjectName(QStringLiteral("ListBox_City"));
    ListBox_City->setGeometry(cityLeft, 32, kCityListWidth, kListHeight);
    ListBox_City->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QListWidget* list : {ListBox_Pro, ListBox_City})
        list->setSelectionMode(QAbstractItemView::SingleSelection);

    const int buttonsTop = 32 + kListHeight + 12;
    Button_year =
        NewButton(this, "Button_year", QStringLiteral("气象年(&Y)..."), {12, buttonsTop, 100, 28});
    Button_select = NewButton(this, "Button_select", QStringLiteral("选取(&S)"),
                              {width - 12 - 2 * 88 - 8, buttonsTop, 88, 28});
    Button_quit = NewButton(this, "Button_quit", QStringLiteral("退出(&Q)"),
                            {width - 12 - 88, buttonsTop, 88, 28});

    // A province chosen by mouse or keyboard shows its cities.
    ConnectGuarded(ListBox_Pro, &QListWidget::itemSelectionChanged, this,
                   &Form_wea::ListBox_ProClick);
    ConnectGuarded(ListBox_City, &QListWidget::itemDoubleClicked, this,
                   &Form_wea::Button_selectClick);
    ConnectGuarded(Button_select, &QPushButton::clicked, this, &Form_wea::Button_selectClick);
    ConnectGuarded(Button_year, &QPushButton::clicked, this, &Form_wea::Button_yearClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_wea::Button_quitClick);
    SetUpKeyboard(this, Button_select);
}

void Form_wea::setTargets(const WeatherTargets& targets)
{
    summer_ = targets.summerProcess;
    dryBulb_ = targets.dryBulb;
    wetBulb_ = targets.wetBulb;
    relativeHumidity_ = targets.relativeHumidity;
}

int Form_wea::pick(const WeatherTargets& targets)
{
    setTargets(targets);
    return exec();
}

QString Form_wea::tablePath() const
{
    return DataDir::file(QString::fromLatin1(WeatherTableFileName));
}

void Form_wea::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}

// The lists are rebuilt from the table at every showing: the provinces in
// the order they first occur, and the first province's cities, with no
// province selected yet.
void Form_wea::FormShow()
{
    {
        const QSignalBlocker quiet(ListBox_Pro);
        ListBox_Pro->clear();
    }
    ListBox_City->clear();
    CitiesProvince.clear();
    const QStringList provinces = WeatherProvinces(tablePath());
    {
        const QSignalBlocker quiet(ListBox_Pro);
        ListBox_Pro->addItems(provinces);
    }
    // The list starts at its top again, not where the last showing left it.
    ListBox_Pro->scrollToTop();
    if (!provinces.isEmpty())
        fillCities(provinces.first());
}

void Form_wea::ListBox_ProClick()
{
    const QList<QListWidgetItem*> selected = ListBox_Pro->selectedItems();
    if (selected.isEmpty())
        return;
    fillCities(selected.first()->text());
}

void Form_wea::fillCities(const QString& province)
{
    ListBox_City->clear();
    CitiesProvince = province;
    ListBox_City->addItems(WeatherCities(tablePath(), province));
    ListBox_City->scrollToTop();
}

// The station is the selected city of the province whose cities are listed.
void Form_wea::Button_selectClick()
{
    const QList<QListWidgetItem*> selected = ListBox_City->selectedItems();
    if (selected.isEmpty()) {
        prompts().error(this, QStringLiteral("请选择城市名称！"));
        return;
    }
    const QString city = selected.first()->text();
    const std::optional<WeatherStation> station =
        FindWeatherStation(tablePath(), CitiesProvince, city);
    if (!station) { // the table changed since the list was filled
        prompts().error(
            this, QStringLiteral("气象参数表中已没有“%1”，请重新选择！").arg(QuotedInput(city)));
        return;
    }
    const OutdoorDesignTexts texts = OutdoorDesignFor(*station, summer_);
    writeField(dryBulb_, texts.dryBulb);
    writeField(wetBulb_, texts.wetBulb);
    writeField(relativeHumidity_, texts.relativeHumidity);
    // A few stations have no summer wet bulb: the summer processes need one,
    // so the user is told to type it rather than left with an empty field.
    if (summer_ && texts.wetBulb.isEmpty()) {
        prompts().error(
            this, QStringLiteral("%1没有夏季空调室外计算湿球温度数据，请输入湿球温度！").arg(city));
        if (wetBulb_)
            wetBulb_->setFocus();
    }
    accept();
}

// The design values of GB 50736-2012 computed from every hour of the file
// (the wet bulb at its mean station pressure, 101325 Pa for a CSV without
// one), written as a picked station's are. The values this pick writes must
// all come from the year: a file too short for one of them fills nothing.
void Form_wea::Button_yearClick()
{
    const QString path = ChooseOpenFile(
        this,
        {QStringLiteral("打开气象年文件"),
         QStringLiteral("气象年文件(*.epw *.csv);;EPW文件(*.epw);;CSV文件(*.csv)"), QString()});
    if (path.isEmpty())
        return;
    WeatherYear year;
    try {
        year = ReadWeatherYearFile(path);
    } catch (const UserError& e) {
        prompts().error(this, e.text());
        return;
    }
    const WeatherStation station =
        WeatherStationOf(ComputeDesignValues(year, ID_lib()), year.stationText());
    const OutdoorDesignTexts texts = OutdoorDesignFor(station, summer_);
    QStringList missing;
    if (texts.dryBulb.isEmpty())
        missing << (summer_ ? QStringLiteral("夏季空调室外计算干球温度")
                            : QStringLiteral("冬季空调室外计算温度"));
    if (texts.wetBulb.isEmpty())
        missing << QStringLiteral("夏季空调室外计算湿球温度");
    if (texts.relativeHumidity.isEmpty())
        missing << QStringLiteral("冬季空调室外计算相对湿度");
    if (!missing.isEmpty()) {
        prompts().error(this,
                        QStringLiteral("气象年“%1”的小时数不足，无法求出%2，未填入数值！")
                            .arg(QuotedInput(station.city), missing.join(QStringLiteral("、"))));
        return;
    }
    writeField(dryBulb_, texts.dryBulb);
    writeField(wetBulb_, texts.wetBulb);
    writeField(relativeHumidity_, texts.relativeHumidity);
    accept();
}

void Form_wea::Button_quitClick()
{
    reject();
}
