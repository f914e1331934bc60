// The treatment process view driven as a user drives it: the process drawn
// after each kind of calculation, the point list, its file and printout, the
// chart printed, the read-out, and the chart window's points left alone.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "airtreat/Unit_Air_treat.h"
#include "airtreat/Unit_G.h"
#include "airtreat/Unit_IDTu_Treat.h"
#include "app/DataDir.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/ReportPrinter.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ChartReadout.h"
#include "chart/PointTable.h"
#include "chart/Unit_ID_Graphics.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"
#include "psychro/Unit_wea.h"
#include "shell/DataSeeds.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"

#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{

TreatmentInputs PrimarySummer()
{
    TreatmentInputs in;
    in.process = TreatmentProcess::PrimarySummer;
    in.tW = 34, in.tsW = 28, in.tN = 26, in.phiN = 60, in.Q = 10, in.W = 3, in.tO = 20;
    in.freshAir = 25;
    return in;
}

TreatmentInputs SecondaryWinterPreheated()
{
    TreatmentInputs in;
    in.process = TreatmentProcess::SecondaryWinter;
    in.tW = -15, in.phiW = 70, in.tN = 20, in.phiN = 50, in.Q = -5, in.W = 2;
    in.G = 3000, in.GW = 1500, in.G1 = 1000;
    return in;
}

QString F2(double v)
{
    return FormatNumber(v, QStringLiteral("0.00"));
}

} // namespace

class TestFormIDTuTreat : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<ID_lib> lib_;
    std::unique_ptr<Form_atm> atm_;
    TreatmentResult result_;
    std::unique_ptr<Form_IDTu_Treat> form_;
    ID_lib reference_; // the test's own library at 101325 Pa

    void calculate(const TreatmentInputs& in)
    {
        ID_lib lib;
        const TreatmentOutcome out = CalculateTreatment(lib, in);
        QVERIFY(out.calculation);
        result_ = out.calculation->points;
    }
    void drawProcess() { QTest::mouseClick(form_->Button_G_Treat, Qt::LeftButton); }
    QStringList names()
    {
        QStringList out;
        for (const StatePoint& p : ReadPoints(form_->pointTable()))
            out << QString::fromStdString(p.No);
        return out;
    }
    void showForm()
    {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        DataDir::setOverride(dir_.filePath(QStringLiteral("data")));
        RegisterDataSeeds();
        DataDir::ensure();
        reference_.AtmPressure = 101325;
        reference_.PsychroCoefficient = kPsychroCoefficient;
    }
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        lib_ = std::make_unique<ID_lib>([](const std::string& text, ID_lib::MessageKind) {
            ::prompts().error(nullptr, QString::fromStdString(text));
        });
        atm_ = std::make_unique<Form_atm>();
        result_ = TreatmentResult{};
        form_ = std::make_unique<Form_IDTu_Treat>(*lib_, *atm_, result_);
        showForm();
        QCOMPARE(prompts_->errors, QStringList());
    }
    void cleanup()
    {
        form_.reset();
        atm_.reset();
        lib_.reset();
        prompts_.reset();
    }

    void startsAsDesigned()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("湿空气焓湿图"));
        QCOMPARE(form_->size(), QSize(975, 693));
        QCOMPARE(form_->Image1->size(), QSize(825, 562));
        QCOMPARE(form_->Image1->pos(), QPoint(4, 4));
        QCOMPARE(form_->DBGrid1->size(), QSize(825, 100));
        QCOMPARE(form_->DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        const QList<QPushButton*> buttons{form_->Button_G_Treat,   form_->Button_output,
                                          form_->Button_Print_Set, form_->Button_G_Print,
                                          form_->Button_export,    form_->Button_P_Print,
                                          form_->Button_quit,      form_->Button_help};
        QStringList captions;
        for (QPushButton* button : buttons) {
            captions << button->text();
            QVERIFY(button->isEnabled());
        }
        QCOMPARE(captions, QStringList({"处理过程图", "输出结果", "打印机设置", "打印焓湿图",
                                        "导出图片(&X)...", "打印状态参数", "退出", "帮助"}));
        // A fresh chart: the same picture the chart window draws.
        QVERIFY(form_->picture() ==
                RenderChart(reference_, QStringLiteral("101325"), form_->devicePixelRatio()));
        QCOMPARE(form_->pointTable().recordCount(), 0);
    }

    // Without a complete calculation since the calculator was shown (none
    // at all, or one the calculator refused) nothing is drawn or listed.
    void nothingCalculatedDrawsNothing()
    {
        const QImage before = form_->picture().copy();
        drawProcess();
        QCOMPARE(prompts_->errors, QStringList({"请首先进行湿空气处理过程计算！"}));
        QVERIFY(form_->picture() == before);
        QCOMPARE(form_->pointTable().recordCount(), 0);

        // A refused calculation in the calculator leaves nothing to draw.
        Form_Air_treat calculator(*lib_, result_);
        Form_G airFlows;
        calculator.useDialogs(*atm_, airFlows);
        calculator.show();
        prompts_->errors.clear();
        QTest::mouseClick(calculator.Button_cal, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请输入室外空气参数！"}));
        calculator.hide();
        prompts_->errors.clear();
        drawProcess();
        QCOMPARE(prompts_->errors, QStringList({"请首先进行湿空气处理过程计算！"}));
        QVERIFY(form_->picture() == before);
        QCOMPARE(form_->pointTable().recordCount(), 0);
    }

    // An impossible design refused in the calculator after a complete one
    // leaves that one to draw: the same picture and the same records, nothing
    // of the refused design.
    void refusedDesignDrawsNothingNew()
    {
        Form_Air_treat calculator(*lib_, result_);
        Form_G airFlows;
        calculator.useDialogs(*atm_, airFlows);
        calculator.show();
        const QStringList fields{"34", "28", "", "26", "60", "10", "3", "20", "25"};
        const QList<QLineEdit*> edits{calculator.Edit1, calculator.Edit2, calculator.Edit3,
                                      calculator.Edit4, calculator.Edit5, calculator.Edit6,
                                      calculator.Edit7, calculator.Edit8, calculator.Edit9};
        for (int k = 0; k < edits.size(); ++k)
            edits[k]->setText(fields[k]);
        QTest::mouseClick(calculator.Button_cal, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList());
        drawProcess();
        const TreatmentResult first = result_;
        // A second press draws the same process over the first.
        QImage drawnTwice = form_->picture().copy();
        {
            QPainter painter(&drawnTwice);
            DrawTreatmentChart(painter, TreatmentChartSteps(first));
        }
        const std::vector<StatePoint> listed = ReadPoints(form_->pointTable());
        QCOMPARE(names(), QStringList({"N", "W", "C", "L", "O"}));

        calculator.Edit8->setText(QStringLiteral("17")); // below its 17.53 ℃ dew point
        QTest::mouseClick(calculator.Button_cal, Qt::LeftButton);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->errors[0].contains(QStringLiteral("低于机器露点温度")),
                 qPrintable(prompts_->errors[0]));
        prompts_->errors.clear();
        drawProcess();
        QCOMPARE(prompts_->errors, QStringList());
        QVERIFY(form_->picture() == drawnTwice);
        const std::vector<StatePoint> after = ReadPoints(form_->pointTable());
        QCOMPARE(after.size(), listed.size());
        for (size_t k = 0; k < after.size(); ++k) {
            QCOMPARE(after[k].No, listed[k].No);
            QCOMPARE(after[k].D, listed[k].D);
            QCOMPARE(after[k].I, listed[k].I);
            QCOMPARE(after[k].T, listed[k].T);
        }
    }

    // Each kind's points in the list, and on the picture exactly the marks,
    // labels and blue lines of the core's drawing over the fresh chart.
    void drawsEachProcess_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("process 1") << 1 << QStringList{"N", "W", "C", "L", "O"};
        QTest::newRow("process 4 with preheating")
            << 4 << QStringList{"N", "W", "W\"", "C", "L", "O", "O\""};
    }
    void drawsEachProcess()
    {
        QFETCH(int, which);
        QFETCH(QStringList, expected);
        calculate(which == 1 ? PrimarySummer() : SecondaryWinterPreheated());
        QImage expectedPicture = form_->picture().copy();
        {
            QPainter painter(&expectedPicture);
            DrawTreatmentChart(painter, TreatmentChartSteps(result_));
        }
        drawProcess();
        QCOMPARE(prompts_->errors, QStringList());
        QCOMPARE(names(), expected);
        QVERIFY(form_->picture() == expectedPicture);
        QCOMPARE(form_->DBGrid1->model()->rowCount(), expected.size());

        // Each record holds the library's state at its point.
        for (const StatePoint& p : ReadPoints(form_->pointTable())) {
            reference_.StateFromI_D(p.D / 1000, p.I);
            QCOMPARE(F2(p.T), F2(reference_.CurrentState.t));
            QCOMPARE(F2(p.Tv), F2(reference_.CurrentState.tdew));
        }

        // A second press replaces the records: one set in the list.
        drawProcess();
        QCOMPARE(names(), expected);
    }

    // The whole file, byte for byte: GBK, CR LF, the view's title and rule,
    // four spaces before each point and P with one decimal.
    // The drawn process leaves the view as the picture shows it: drawn again
    // from the display list, as an SVG with its letters as text, as a PNG,
    // and on the clipboard at twice its size.
    void exportsAndCopiesTheProcess()
    {
        calculate(PrimarySummer());
        drawProcess();
        QVERIFY(form_->displayList().render(form_->picture().devicePixelRatio()) ==
                form_->picture());

        const QString svg = dir_.filePath(QStringLiteral("process.svg"));
        const QString png = dir_.filePath(QStringLiteral("process.png"));
        prompts_->saveAnswers << svg << png;
        prompts_->itemAnswers << 0; // 1×
        QTest::mouseClick(form_->Button_export, Qt::LeftButton);
        QTest::mouseClick(form_->Button_export, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList());
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (const char* letter : {">N</text>", ">W</text>", ">C</text>", ">L</text>", ">O</text>"})
            QVERIFY2(bytes.contains(letter), letter);
        // The drawn part of the view's picture.
        const QImage& picture = form_->picture();
        QVERIFY(QImage(png).convertToFormat(QImage::Format_RGB32) ==
                picture.copy(ChartPictureCrop(picture)).convertToFormat(QImage::Format_RGB32));

        QApplication::clipboard()->clear();
        form_->Button_quit->setFocus();
        QTest::keyClick(form_.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->image().size(),
                 ChartImageAt(form_->displayList(), 2).size());
    }

    void writesThePointListFile()
    {
        calculate(PrimarySummer());
        drawProcess();
        // The whole path is used, however long.
        const QString path = dir_.filePath(
            QStringLiteral("a folder whose name alone takes more than eighty characters of "
                           "the path/过程 report.txt"));
        QVERIFY(path.size() > 100);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_output, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList());
        QCOMPARE(prompts_->saveDialogs.size(), 1);
        QCOMPARE(prompts_->saveDialogs[0].title, QStringLiteral("保存文件"));
        QCOMPARE(prompts_->saveDialogs[0].filter, QStringLiteral("文本文件(*.TXT)"));
        QCOMPARE(prompts_->saveDialogs[0].defaultSuffix, QStringLiteral("txt"));

        const QString dashes = QLatin1Char(' ') + QString(65, QLatin1Char('-'));
        QStringList lines{
            QStringLiteral(" "),
            QStringLiteral("                      空气处理过程湿空气状态参数"),
            QStringLiteral("                      ━━━━━━━━━━━━━"),
            QStringLiteral(" "),
            QStringLiteral(" 大气压力：101325Pa"),
            dashes,
            QStringLiteral("        干球   湿球   相对  含湿量     焓      密度   露点  水蒸气"),
            QStringLiteral(" 状态点 温度   温度   湿度 (g/kg干) (kj/kg干) (m3/kg) 温度  分压力"),
            QStringLiteral("        (℃)   (℃)    (%)                            (℃)   (Pa) "),
            dashes,
        };
        const auto line = [](const char* name, const MoistAirState& s, double d, double i) {
            return QStringLiteral("    %1  %2  %3  %4   %5   %6    %7   %8  %9")
                .arg(QString::fromLatin1(name), F2(s.t), F2(s.ts), F2(s.RH), F2(d * 1000), F2(i),
                     F2(s.rho), F2(s.tdew), FormatNumber(s.pv, QStringLiteral("0.0")));
        };
        // The room is the design state 26 ℃ / 60 % as the state-point
        // calculator finds it; the other points are the library's states at
        // the calculated enthalpy and moisture content.
        reference_.CurrentState.t = 26;
        reference_.CurrentState.RH = 60;
        reference_.StateFromRH_T(26, 60);
        lines << line("N", reference_.CurrentState, reference_.CurrentState.d,
                      reference_.CurrentState.i);
        const struct {
            const char* name;
            double d, i;
        } others[] = {{"W", result_.dW, result_.iW},
                      {"C", result_.dC, result_.iC},
                      {"L", result_.dL, result_.iL},
                      {"O", result_.dO, result_.iO}};
        for (const auto& p : others) {
            reference_.StateFromI_D(p.d, p.i);
            lines << line(p.name, reference_.CurrentState, p.d, p.i);
        }
        lines << dashes;
        // The figures the worked case gives.
        QVERIFY2(lines[10].startsWith(QStringLiteral("    N  26.00  ")), qPrintable(lines[10]));
        QVERIFY(lines[10].contains(QStringLiteral("  60.00   12.63   58.45  ")));
        QVERIFY2(lines[13].startsWith(QStringLiteral("    L  17.96  ")), qPrintable(lines[13]));
        QVERIFY2(lines[14].startsWith(QStringLiteral("    O  20.00  ")), qPrintable(lines[14]));
        QVERIFY(lines[14].contains(QStringLiteral("  81.88   11.97   50.59  ")));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 ToGbk(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }

    // On paper each point is indented by five spaces: its name stands four
    // columns right of the dash line's first dash (one leading space).
    void printsThePointList()
    {
        calculate(PrimarySummer());
        drawProcess();
        const QString pdf = dir_.filePath(QStringLiteral("points.pdf"));
        prompts_->printAnswers << pdf;
        QTest::mouseClick(form_->Button_P_Print, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList());
        QVERIFY(PdfText(pdf).contains(Nfkc(QStringLiteral("空气处理过程湿空气状态参数"))));
        const QList<PdfWord> words = PdfWords(pdf);
        const auto first = [&](const QString& text) {
            for (const PdfWord& w : words)
                if (w.text == text)
                    return w;
            return PdfWord{};
        };
        const PdfWord dash = first(QString(65, QLatin1Char('-')));
        const PdfWord n = first(QStringLiteral("N"));
        QVERIFY(dash.xMax > dash.xMin && n.xMax > n.xMin);
        const double column = (dash.xMax - dash.xMin) / 65;
        QCOMPARE(qRound((n.xMin - dash.xMin) / column), 4);
    }

    // The read-out follows the mouse; the cursor stays as it is, over a
    // point too.
    void readsTheStateUnderTheMouse()
    {
        calculate(PrimarySummer());
        drawProcess();
        const Qt::CursorShape shape = form_->Image1->cursor().shape();
        // Over the room point N, and below the saturation curve (zeros).
        const QPoint n = ChartGeometry::StateToPixel(result_.dN * 1000, result_.iN);
        for (const QPoint at : {n, QPoint(600, 400)}) {
            QTest::mouseMove(form_->Image1, at);
            const ChartReadout r = ReadOutAt(reference_, at);
            QTRY_COMPARE(form_->Edit1->text(), F2(r.state.i));
            QCOMPARE(QStringList({form_->Edit2->text(), form_->Edit3->text(), form_->Edit4->text(),
                                  form_->Edit5->text()}),
                     QStringList({F2(r.state.d), F2(r.t), F2(r.RH), F2(r.ts)}));
            QCOMPARE(form_->Image1->cursor().shape(), shape);
        }
        QCOMPARE(form_->Edit3->text(), QStringLiteral("0.00"));
        QCOMPARE(prompts_->errors, QStringList());
    }

    // The view lists its points in a table of its own: the chart window's
    // stored points survive a showing of the view.
    void chartWindowPointsSurvive()
    {
        RecordTableStore chartPoints(PointTableDeclaration());
        chartPoints.setPath(DataDir::file(QString::fromLatin1(PointTableFileName)));
        chartPoints.open();
        StorePoint(chartPoints, {"A", 20, 50, 13.88, 7.26, 38.62, 1.2, 9.27, 1168.54});
        chartPoints.close();

        calculate(PrimarySummer());
        form_->hide();
        showForm();
        drawProcess();
        QCOMPARE(names().size(), 5);
        QTest::mouseClick(form_->Button_quit, Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        QVERIFY(!form_->pointTable().isOpen());

        chartPoints.open();
        QCOMPARE(chartPoints.recordCount(), 1);
        QCOMPARE(chartPoints.text(QStringLiteral("No")), QStringLiteral("A"));
        chartPoints.removeAll();
        chartPoints.close();

        // Shown again: a bare chart and an empty list.
        showForm();
        QCOMPARE(form_->pointTable().recordCount(), 0);
    }

    // From the calculator: a city picked for a winter process, and the chart
    // view opened to draw the calculated process.
    void openedFromTheCalculator()
    {
        form_->hide();
        Form_wea weather;
        Form_Air_treat calculator(*lib_, result_);
        Form_G airFlows;
        calculator.useDialogs(*atm_, airFlows);
        calculator.useViews(weather, *form_);
        calculator.show();
        QVERIFY(calculator.Button1->isEnabled() && calculator.Button_ID->isEnabled());

        QTest::mouseClick(calculator.RadioButton2, Qt::LeftButton);
        QTimer::singleShot(0, &weather, [&] {
            weather.ListBox_City->setCurrentRow(0); // 北京
            QTest::mouseClick(weather.Button_select, Qt::LeftButton);
        });
        QTest::mouseClick(calculator.Button1, Qt::LeftButton);
        QCOMPARE(calculator.Edit1->text(), QStringLiteral("-9.9"));
        QCOMPARE(calculator.Edit2->text(), QStringLiteral("26.4"));
        QCOMPARE(calculator.Edit3->text(), QStringLiteral("44"));

        // The process-1 case, as the calculator leaves it.
        calculate(PrimarySummer());
        QStringList drawn;
        QTimer::singleShot(0, form_.get(), [&] {
            drawProcess();
            drawn = names();
            QTest::mouseClick(form_->Button_quit, Qt::LeftButton);
        });
        QTest::mouseClick(calculator.Button_ID, Qt::LeftButton);
        QCOMPARE(drawn, QStringList({"N", "W", "C", "L", "O"}));
        QVERIFY(!form_->isVisible());
        QCOMPARE(prompts_->errors, QStringList());
    }

    void badPressureAbandonsTheShowing()
    {
        form_->hide();
        atm_->Edit1->setText(QStringLiteral("abc"));
        form_->show();
        QVERIFY(!form_->isVisible());
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors[0].contains(QStringLiteral("abc")));
        QCOMPARE(form_->exec(), int(QDialog::Rejected));
    }

    void helpOpensTopicSeven()
    {
        QVERIFY(QFile::exists(QStringLiteral(":/help/7.html")));
        QTest::mouseClick(form_->Button_help, Qt::LeftButton);
        auto* help = form_->findChild<QDialog*>(QStringLiteral("HelpWindow"));
        QVERIFY(help);
        QVERIFY(help->windowTitle().contains(QStringLiteral("处理过程")));
    }
};

QTEST_MAIN(TestFormIDTuTreat)
#include "tst_form_idtu_treat.moc"
