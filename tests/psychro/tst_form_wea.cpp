// The city weather dialog driven through its lists and buttons, on the
// shipped table and on a small table built to have a province come back and
// a city name under two provinces, and with weather years opened through
// "气象年(&Y)...".
#include "app/DataDir.h"
#include "psychro/Unit_wea.h"
#include "psychro/WeatherTable.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"
#include "support/WeatherYearFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

class TestFormWea : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString shipped_, built_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_wea> form_;
    // The calculator's outdoor fields, holding text a pick must replace.
    QLineEdit dryBulb_, wetBulb_, rh_;

    static QStringList texts(const QListWidget* list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->text();
        return out;
    }
    static void click(QListWidget* list, const QString& text, bool twice = false)
    {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        list->scrollToItem(found.first());
        const QPoint at = list->visualItemRect(found.first()).center();
        // A double click is a click and then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // Shows the dialog on the table of a data directory, for a summer or a
    // winter process.
    void open(const QString& dataDir, bool summer)
    {
        DataDir::setOverride(dataDir);
        dryBulb_.setText(QStringLiteral("x"));
        wetBulb_.setText(QStringLiteral("x"));
        rh_.setText(QStringLiteral("x"));
        form_->setTargets({summer, &dryBulb_, &wetBulb_, &rh_});
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    QStringList fields() const { return {dryBulb_.text(), wetBulb_.text(), rh_.text()}; }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        shipped_ = dir_.filePath(QStringLiteral("shipped"));
        built_ = dir_.filePath(QStringLiteral("built"));
        RegisterDataSeeds();
        DataDir::setOverride(shipped_);
        DataDir::ensure();
        QVERIFY(QDir().mkpath(built_));
        const auto station = [](const char* p, const char* c, const char* txk, const char* twx,
                                const char* tdk, const char* tdm) {
            return WeatherStation{QString::fromUtf8(p),   QString::fromUtf8(c),
                                  QString::fromUtf8(txk), QString::fromUtf8(twx),
                                  QString::fromUtf8(tdk), QString::fromUtf8(tdm)};
        };
        CreateWeatherTable(built_ + QStringLiteral("/wea.DB"),
                           {station("甲", "一城", "33.5", "26.4", "-9.9", "44"),
                            station("甲", "二城", "30", "25.1", "-5", "50"),
                            station("乙", "一城", "31.2", "", "2.9", "67"),
                            station("甲", "三城", "29.9", "24", "-12.0", "71"),
                            station("丙", "四城", "35", "28", "10.3", "86")});
    }
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        form_ = std::make_unique<Form_wea>();
    }
    void cleanup()
    {
        form_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
    }

    void startsAsDesigned()
    {
        open(shipped_, true);
        QCOMPARE(form_->windowTitle(), QStringLiteral("城市气象参数"));
        QCOMPARE(form_->Label_Pro->text(), QStringLiteral("省市名称:"));
        QCOMPARE(form_->Label_City->text(), QStringLiteral("城市名称:"));
        QCOMPARE(form_->Button_select->text(), QStringLiteral("选取(&S)"));
        QCOMPARE(form_->Button_quit->text(), QStringLiteral("退出(&Q)"));
        QCOMPARE(form_->Button_year->text(), QStringLiteral("气象年(&Y)..."));
        // The shipped table: 31 provinces, 北京's one city shown with no
        // province selected.
        QCOMPARE(form_->ListBox_Pro->count(), 31);
        QCOMPARE(form_->ListBox_Pro->item(0)->text(), QStringLiteral("北京"));
        QVERIFY(form_->ListBox_Pro->selectedItems().isEmpty());
        QCOMPARE(texts(form_->ListBox_City), QStringList({"北京"}));
        // The longest station name is shown whole.
        click(form_->ListBox_Pro, QStringLiteral("新疆"));
        const QString longest = QStringLiteral("克孜勒苏柯尔克孜自治州(乌恰)");
        QVERIFY(texts(form_->ListBox_City).contains(longest));
        const QFontMetrics metrics(form_->ListBox_City->font());
        QVERIFY(metrics.horizontalAdvance(longest) + 8 <= form_->ListBox_City->viewport()->width());
        // Shown again, the province list starts at its top.
        QVERIFY(form_->ListBox_Pro->verticalScrollBar()->value() > 0);
        form_->hide();
        form_->show();
        QCOMPARE(form_->ListBox_Pro->verticalScrollBar()->value(), 0);
    }

    void listsProvincesOnceAndRefillsCities()
    {
        open(built_, true);
        QCOMPARE(texts(form_->ListBox_Pro), QStringList({"甲", "乙", "丙"}));
        QCOMPARE(texts(form_->ListBox_City), QStringList({"一城", "二城", "三城"}));
        click(form_->ListBox_Pro, QStringLiteral("乙"));
        QCOMPARE(texts(form_->ListBox_City), QStringList({"一城"}));
        click(form_->ListBox_Pro, QStringLiteral("丙"));
        QCOMPARE(texts(form_->ListBox_City), QStringList({"四城"}));
        // Showing again rebuilds both lists.
        form_->hide();
        form_->show();
        QCOMPARE(texts(form_->ListBox_City), QStringList({"一城", "二城", "三城"}));
        QVERIFY(form_->ListBox_Pro->selectedItems().isEmpty());
    }

    // A station without a summer wet bulb says so when a summer process
    // needs one; the winter processes do not use the field.
    void picksWriteAllThreeFields_data()
    {
        QTest::addColumn<QString>("province"); // empty: none clicked
        QTest::addColumn<QString>("city");
        QTest::addColumn<bool>("summer");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("summer, first province unclicked")
            << QString() << "二城" << true << false << QStringList{"30", "25.1", "50"}
            << QStringList();
        QTest::newRow("winter also overwrites the wet bulb")
            << QString() << "二城" << false << false << QStringList{"-5", "25.1", "50"}
            << QStringList();
        QTest::newRow("一城 under 甲")
            << "甲"
            << "一城" << false << true << QStringList{"-9.9", "26.4", "44"} << QStringList();
        QTest::newRow("一城 under 乙, no wet bulb")
            << "乙"
            << "一城" << true << true << QStringList{"31.2", "", "67"}
            << QStringList{"一城没有夏季空调室外计算湿球温度数据，请输入湿球温度！"};
        QTest::newRow("一城 under 乙, winter")
            << "乙"
            << "一城" << false << false << QStringList{"2.9", "", "67"} << QStringList();
    }
    void picksWriteAllThreeFields()
    {
        QFETCH(QString, province);
        QFETCH(QString, city);
        QFETCH(bool, summer);
        QFETCH(bool, doubleClick);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, errors);
        open(built_, summer);
        if (!province.isEmpty())
            click(form_->ListBox_Pro, province);
        if (doubleClick) {
            click(form_->ListBox_City, city, true);
        } else {
            click(form_->ListBox_City, city);
            QTest::mouseClick(form_->Button_select, Qt::LeftButton);
        }
        QCOMPARE(prompts_->errors, errors);
        QCOMPARE(fields(), expected);
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), int(QDialog::Accepted));
    }

    // No city selected, "退出(&Q)" and a missing table: nothing is written.
    void refusalsWriteNothing()
    {
        open(built_, true);
        QTest::mouseClick(form_->Button_select, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请选择城市名称！"}));
        QVERIFY(form_->isVisible());
        click(form_->ListBox_City, QStringLiteral("一城"));
        QTest::mouseClick(form_->Button_quit, Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), int(QDialog::Rejected));
        QCOMPARE(fields(), QStringList({"x", "x", "x"}));

        prompts_->errors.clear();
        open(dir_.filePath(QStringLiteral("empty")), true);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->errors[0].contains(QStringLiteral("wea.DB")),
                 qPrintable(prompts_->errors[0]));
        QCOMPARE(form_->ListBox_Pro->count(), 0);
        QCOMPARE(form_->ListBox_City->count(), 0);
    }

    // A year fills the fields as a picked station's values are filled, in
    // the table's texts; a file the year cannot give every value from, or
    // cannot be read, is one error box, nothing filled and the dialog still
    // open. Cancelling the file dialog does nothing.
    void weatherYearsFillTheFields_data()
    {
        namespace W = WeatherYearFiles;
        QTest::addColumn<QByteArray>("text"); // empty: no file
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("summer");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error"); // part of the one error; empty: none
        // The design year's wet bulb: 34.5 ℃, 60 % at 95,000 Pa.
        const QString wetBulb = QStringLiteral("27.7");
        QTest::newRow("summer") << W::DesignYearEpw() << "year.epw" << true
                                << QStringList{"34.5", wetBulb, "45"} << QString();
        QTest::newRow("winter") << W::DesignYearEpw() << "year.EPW" << false
                                << QStringList{"-11.0", wetBulb, "45"} << QString();
        QTest::newRow("a CSV") << W::WeatherCsvText(W::Days(2001, 1, 1, 3), {"t", "rh"}) << "d.csv"
                               << false << QStringList{"12.3", "6.7", "55"} << QString();
        QTest::newRow("two days: no wet bulb")
            << W::EpwText(W::Days(2001, 1, 1, 2)) << "two.epw" << false
            << QStringList{"x", "x", "x"} << "无法求出夏季空调室外计算湿球温度";
        QTest::newRow("not a weather year") << QByteArray("LOCATION,a\nnothing else\n") << "bad.epw"
                                            << true << QStringList{"x", "x", "x"} << "第";
        QTest::newRow("missing file")
            << QByteArray() << "missing.epw" << true << QStringList{"x", "x", "x"} << "missing.epw";
        QTest::newRow("cancelled")
            << QByteArray() << "" << true << QStringList{"x", "x", "x"} << QString();
    }
    void weatherYearsFillTheFields()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(bool, summer);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        const QString path = name.isEmpty() ? QString() : dir_.filePath(name);
        if (!text.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        open(built_, summer);
        prompts_->openAnswers << path;
        QTest::mouseClick(form_->Button_year, Qt::LeftButton);
        QCOMPARE(prompts_->openDialogs.size(), 1);
        QVERIFY(prompts_->openDialogs[0].filter.contains(QStringLiteral("*.epw *.csv")));
        QCOMPARE(fields(), expected);
        const bool filled = expected[0] != QLatin1String("x");
        QCOMPARE(form_->isVisible(), !filled);
        if (error.isEmpty()) {
            QCOMPARE(prompts_->errors, QStringList());
        } else {
            QCOMPARE(prompts_->errors.size(), 1);
            QVERIFY2(prompts_->errors[0].contains(error), qPrintable(prompts_->errors[0]));
        }
        if (filled) {
            QCOMPARE(form_->result(), int(QDialog::Accepted));
            return;
        }
        // Still usable: a city picked afterwards fills the fields.
        click(form_->ListBox_City, QStringLiteral("二城"));
        QTest::mouseClick(form_->Button_select, Qt::LeftButton);
        QCOMPARE(fields(), QStringList({summer ? "30" : "-5", "25.1", "50"}));
        QVERIFY(!form_->isVisible());
    }
};

QTEST_MAIN(TestFormWea)
#include "tst_form_wea.moc"
