// The chart window's weather year as a user lays it: the dialog, the year's
// cells under the points, the zone hours in the report, removing the year,
// refused files and a change of pressure.
#include "app/DataDir.h"
#include "chart/ChartDrawing.h"
#include "chart/Unit_ID_Graphics.h"
#include "chart/Unit_WeatherYear.h"
#include "chart/WeatherYearLayer.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"
#include "shell/DataSeeds.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/WeatherYearFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace
{

using namespace WeatherYearFiles;

// One July day whose hours fall in the zones by construction: hours 1–4 in
// 冬季Ⅰ级 (23 ℃, 50 %), 5–8 in 冬季Ⅱ级 (20 ℃), 9–14 in 夏季Ⅰ级 (25 ℃, 50 %),
// 15–17 in 夏季Ⅱ级 (27 ℃, 65 %), 18–24 in none (32 ℃, 40 %).
std::vector<Hour> ZoneDay()
{
    std::vector<Hour> hours;
    for (int h = 1; h <= 24; ++h) {
        Hour hour;
        hour.month = 7, hour.day = 1, hour.hour = h;
        hour.dryBulb = h <= 4 ? 23 : h <= 8 ? 20 : h <= 14 ? 25 : h <= 17 ? 27 : 32;
        hour.relativeHumidity = h >= 15 && h <= 17 ? 65 : h >= 18 ? 40 : 50;
        hour.dewPoint = MagnusDewPoint(hour.dryBulb, hour.relativeHumidity);
        hours.push_back(hour);
    }
    return hours;
}

QImage Replayed(const Form_IDTu& form)
{
    return form.displayList().render(form.picture().devicePixelRatio());
}

} // namespace

class TestFormWeatherYear : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void laysTheYearUnderThePointsAndRemovesIt();
    void zoneHoursGoBesideTheChartAndIntoTheReport();
    void refusedInputChangesNothing_data();
    void refusedInputChangesNothing();
    void aNewPressureRecomputesTheCells();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    // Opens the dialog from the window and runs act on it; a dialog act
    // leaves open is cancelled.
    void inDialog(const std::function<void(Form_WeatherYear&)>& act);
    void lay(const QString& path, const QString& months, const QString& hours);
    void placeTyped(const QString& name, const QString& t, const QString& rh);
    QStringList report();

    QTemporaryDir dir;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<ID_lib> lib;
    std::unique_ptr<Form_atm> atm;
    std::unique_ptr<Form_IDTu> form;
};

void TestFormWeatherYear::initTestCase()
{
    QVERIFY(dir.isValid());
    DataDir::setOverride(dir.filePath(QStringLiteral("data")));
    RegisterDataSeeds();
    DataDir::ensure();
}

void TestFormWeatherYear::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    lib = std::make_unique<ID_lib>([](const std::string& text, ID_lib::MessageKind) {
        ::prompts().error(nullptr, QString::fromStdString(text));
    });
    atm = std::make_unique<Form_atm>();
    form = std::make_unique<Form_IDTu>(*lib, *atm);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(prompts->errors, QStringList());
}

void TestFormWeatherYear::cleanup()
{
    form.reset();
    atm.reset();
    lib.reset();
    prompts.reset();
}

QString TestFormWeatherYear::writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test's weather file");
    return path;
}

void TestFormWeatherYear::inDialog(const std::function<void(Form_WeatherYear&)>& act)
{
    QObject context;
    bool seen = false;
    std::function<void()> poll = [&] {
        auto* dialog = qobject_cast<Form_WeatherYear*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, &context, poll);
            return;
        }
        seen = true;
        act(*dialog);
        if (dialog->isVisible())
            QTest::mouseClick(dialog->Button_cancel, Qt::LeftButton);
    };
    QTimer::singleShot(0, &context, poll);
    QTest::mouseClick(form->Button_weather, Qt::LeftButton);
    QVERIFY(seen);
}

void TestFormWeatherYear::lay(const QString& path, const QString& months, const QString& hours)
{
    inDialog([&](Form_WeatherYear& d) {
        d.Edit_file->setText(path);
        d.Edit_months->setText(months);
        d.Edit_hours->setText(hours);
        QTest::mouseClick(d.Button_OK, Qt::LeftButton);
    });
}

void TestFormWeatherYear::placeTyped(const QString& name, const QString& t, const QString& rh)
{
    form->Edit_name->setText(name);
    QTest::mouseClick(form->Button_OK, Qt::LeftButton);
    form->Edit_T->setText(t);
    form->Edit_RH->setText(rh);
    QTest::mouseClick(form->Button_OK, Qt::LeftButton);
}

QStringList TestFormWeatherYear::report()
{
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_output_point, Qt::LeftButton);
    return ReadGbkLines(path);
}

// Opened through 打开..., the year's cells go under the point already drawn;
// the picture is its display list's; 移去 gives back the picture exactly.
void TestFormWeatherYear::laysTheYearUnderThePointsAndRemovesIt()
{
    QCOMPARE(form->Button_weather->text(), QStringLiteral("气象年(&Y)..."));
    placeTyped(QStringLiteral("A"), QStringLiteral("25"), QStringLiteral("50"));
    QCOMPARE(prompts->errors, QStringList());
    const QImage before = form->picture().copy();
    const QString path = writeFile(QStringLiteral("july.epw"), EpwText(Days(2001, 7, 1, 3)));

    prompts->openAnswers << path;
    inDialog([&](Form_WeatherYear& d) {
        QCOMPARE(d.Edit_months->text(), QStringLiteral("1-12"));
        QCOMPARE(d.Edit_hours->text(), QStringLiteral("1-24"));
        QVERIFY(!d.Button_remove->isEnabled());
        QTest::mouseClick(d.Button_open, Qt::LeftButton);
        QCOMPARE(d.Edit_file->text(), path);
        QTest::mouseClick(d.Button_OK, Qt::LeftButton);
    });
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(prompts->openDialogs.size(), 1);
    QVERIFY(prompts->openDialogs[0].filter.contains(QStringLiteral("*.epw *.csv")));
    const WeatherYearLayer* layer = form->displayList().weatherYear();
    QVERIFY(layer);
    QCOMPARE(layer->hoursDrawn(), 72LL);
    QCOMPARE(layer->hoursOutside(), 0LL);
    QCOMPARE(layer->bins().pressure, 101325.0);
    QVERIFY(form->picture() != before);
    QVERIFY(Replayed(*form) == form->picture());
    // The point's mark stays on top of the cells.
    ID_lib reference;
    reference.AtmPressure = 101325;
    reference.PsychroCoefficient = kPsychroCoefficient;
    reference.StateFromRH_T(25, 50);
    const QPoint a =
        ChartGeometry::StateToPixel(reference.CurrentState.d * 1000, reference.CurrentState.i);
    QCOMPARE(form->picture().pixel(a + QPoint(-2, 0)), ChartColors::Red);
    QCOMPARE(form->picture().pixel(a), ChartColors::White);

    const QStringList lines = report();
    QVERIFY(lines.contains(QStringLiteral(" 气象年：Testville, Hebei, CHN")));
    QVERIFY(lines.contains(QStringLiteral(" 图中小时数：72")));
    QVERIFY(lines.contains(QStringLiteral(" 图外小时数：0")));
    QVERIFY(!lines.contains(QStringLiteral(" 舒适区小时数（GB 50736-2012）：")));

    inDialog([&](Form_WeatherYear& d) {
        QCOMPARE(d.Edit_file->text(), path); // the last year's fields
        QVERIFY(d.Button_remove->isEnabled());
        QTest::mouseClick(d.Button_remove, Qt::LeftButton);
    });
    QCOMPARE(form->displayList().weatherYear(), nullptr);
    QVERIFY(form->picture() == before);
    QCOMPARE(report().size(), 12); // the point report alone
}

// With 舒适区 ticked the filtered hours of each zone are written beside the
// chart and in the report; the hours of the day filter them.
void TestFormWeatherYear::zoneHoursGoBesideTheChartAndIntoTheReport()
{
    const QString path = writeFile(QStringLiteral("zones.epw"), EpwText(ZoneDay()));
    lay(path, QStringLiteral("1-12"), QStringLiteral("1-24"));
    QCOMPARE(prompts->errors, QStringList());
    const QImage noZones = form->picture().copy();
    QTest::mouseClick(form->CheckBox_zones, Qt::LeftButton);
    const QImage zones = form->picture().copy();
    QVERIFY(Replayed(*form) == zones);
    bool besideChanged = false;
    for (int y = 200; y < 434; ++y)
        for (int x = ChartGeometry::FrameRight + 2; x < 825; ++x)
            besideChanged |= zones.pixel(x, y) != noZones.pixel(x, y);
    QVERIFY(besideChanged);

    QStringList lines = report();
    int at = int(lines.indexOf(QStringLiteral(" 舒适区小时数（GB 50736-2012）：")));
    QVERIFY(at > 0);
    QCOMPARE(lines.mid(at + 1, 4),
             QStringList(
                 {QStringLiteral("   冬季Ⅰ级 4时 16.7%"), QStringLiteral("   冬季Ⅱ级 4时 16.7%"),
                  QStringLiteral("   夏季Ⅰ级 6时 25.0%"), QStringLiteral("   夏季Ⅱ级 3时 12.5%")}));
    // The design values of the one day: July's mean humidity; too few
    // days for the heating value.
    QVERIFY(lines.contains(QStringLiteral("   冬季空调室外计算相对湿度：49.0%")));
    QVERIFY(lines.contains(QStringLiteral("   冬季供暖室外计算温度：数据不足，无法求得")));

    // Hours 8–18: hour 8 in 冬季Ⅱ级, 9–14 in 夏季Ⅰ级, 15–17 in 夏季Ⅱ级.
    lay(path, QStringLiteral("1-12"), QStringLiteral("8-18"));
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(form->displayList().weatherYear()->hoursDrawn(), 11LL);
    lines = report();
    at = int(lines.indexOf(QStringLiteral(" 舒适区小时数（GB 50736-2012）：")));
    QCOMPARE(lines.mid(at + 1, 4),
             QStringList(
                 {QStringLiteral("   冬季Ⅰ级 0时 0.0%"), QStringLiteral("   冬季Ⅱ级 1时 9.1%"),
                  QStringLiteral("   夏季Ⅰ级 6时 54.5%"), QStringLiteral("   夏季Ⅱ级 3时 27.3%")}));
    QCOMPARE(lines.contains(QStringLiteral(" 图中小时数：11")), true);
}

void TestFormWeatherYear::refusedInputChangesNothing_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("months");
    QTest::addColumn<QString>("errorPart");
    const QByteArray good = EpwText(Days(2001, 7, 1, 1));
    QTest::newRow("no such file") << QStringLiteral("missing.epw") << QByteArray() << "1-12"
                                  << QStringLiteral("无法读取气象年文件");
    QTest::newRow("not an EPW") << QStringLiteral("garbage.epw")
                                << QByteArray("hello,world\n1,2,3\n") << "1-12"
                                << QStringLiteral("第1行");
    QTest::newRow("bad months") << QStringLiteral("good.epw") << good << "13-14"
                                << QStringLiteral("13-14");
    QTest::newRow("no file chosen")
        << QString() << QByteArray() << "1-12" << QStringLiteral("请选择气象年文件");
}

// A file that cannot be read or a filter that is no filter: one error box,
// the dialog stays open, and the year shown before stays as it was.
void TestFormWeatherYear::refusedInputChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QFETCH(QString, months);
    QFETCH(QString, errorPart);
    const QString first = writeFile(QStringLiteral("first.epw"), EpwText(ZoneDay()));
    lay(first, QStringLiteral("1-12"), QStringLiteral("1-24"));
    QCOMPARE(prompts->errors, QStringList());
    const WeatherYearLayer* shown = form->displayList().weatherYear();
    QVERIFY(shown);
    const QImage before = form->picture().copy();

    const QString path = file.isEmpty()   ? QString()
                         : text.isEmpty() ? dir.filePath(file)
                                          : writeFile(file, text);
    bool stayedOpen = false;
    inDialog([&](Form_WeatherYear& d) {
        d.Edit_file->setText(path);
        d.Edit_months->setText(months);
        QTest::mouseClick(d.Button_OK, Qt::LeftButton);
        stayedOpen = d.isVisible();
    });
    QVERIFY(stayedOpen);
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY2(prompts->errors[0].contains(errorPart), qPrintable(prompts->errors[0]));
    QCOMPARE(form->displayList().weatherYear(), shown);
    QVERIFY(form->picture() == before);
}

// Shown again at another local pressure, the window bins the year afresh
// at it.
void TestFormWeatherYear::aNewPressureRecomputesTheCells()
{
    const QString path = writeFile(QStringLiteral("july.epw"), EpwText(Days(2001, 7, 1, 3)));
    lay(path, QStringLiteral("1-12"), QStringLiteral("1-24"));
    QCOMPARE(prompts->errors, QStringList());
    const auto cellsAt101 = form->displayList().weatherYear()->bins().cells;
    atm->Edit1->setText(QStringLiteral("70000"));
    form->hide();
    form->show();
    QCOMPARE(prompts->errors, QStringList());
    const WeatherYearLayer* layer = form->displayList().weatherYear();
    QVERIFY(layer);
    QCOMPARE(layer->bins().pressure, 70000.0);
    QCOMPARE(layer->hoursDrawn(), 72LL);
    // Thinner air holds more vapour at the same humidity.
    QVERIFY(layer->bins().cells.back().d > cellsAt101.back().d);
    QVERIFY(Replayed(*form) == form->picture());
}

QTEST_MAIN(TestFormWeatherYear)
#include "tst_form_weather_year.moc"
