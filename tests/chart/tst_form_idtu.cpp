// The chart window driven as a user drives it: points placed by typed values
// and by click, lines, mixing, ratio lines, deleting, the point files, the
// report and the printouts.
#include "app/DataDir.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/ReportPrinter.h"
#include "app/TableGridModel.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/PointTable.h"
#include "chart/Unit_ID_Graphics.h"
#include "psychro/ID_lib.h"
#include "psychro/Unit_atm.h"
#include "shell/DataSeeds.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <memory>
#include <sqlite3.h>

namespace
{

constexpr QRgb kRed = 0xffff0000, kWhite = 0xffffffff, kBlack = 0xff000000;

int Trunc(double v)
{
    return int(std::trunc(v));
}
// The chart's pixel of a state, from its formulas.
QPoint Pixel(double d, double i)
{
    return {Trunc(40 + d * 15), Trunc(329 - i * 5.8 + d * 15)};
}

QString F2(double v)
{
    return FormatNumber(v, QStringLiteral("0.00"));
}

// The ring of a mark at p (pen width 2 around (x−2, y−2)–(x+2, y+2)).
// The display list drawn again on an image like the window's.
QImage Replayed(const Form_IDTu& form)
{
    return form.displayList().render(form.picture().devicePixelRatio());
}

bool MarkedAt(const QImage& picture, QPoint p)
{
    return picture.pixel(p + QPoint(-2, 0)) == kRed && picture.pixel(p + QPoint(1, 0)) == kRed &&
           picture.pixel(p) == kWhite;
}

// Where each word of a report line starts, in the columns the report's layout
// counts: half a Chinese character each, one GBK byte.
QList<std::pair<int, QString>> WordColumns(const QString& line)
{
    QList<std::pair<int, QString>> words;
    int column = 0;
    for (const QString& piece : line.split(QLatin1Char(' '))) {
        if (!piece.isEmpty())
            words.append({column, piece});
        column += int(ToGbk(piece).size()) + 1;
    }
    return words;
}

// Printed words grouped into lines (one baseline each), top to bottom.
QList<QList<PdfWord>> PrintedLines(const QList<PdfWord>& words)
{
    QList<QList<PdfWord>> lines;
    for (const PdfWord& word : words) {
        if (lines.isEmpty() || std::abs(lines.last().first().yMax - word.yMax) > 1)
            lines.append(QList<PdfWord>());
        lines.last().append(word);
    }
    return lines;
}

} // namespace

class TestFormIDTu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storesAPointByTypedValues();
    void storesAPointByClickAndRecognisesItUnderTheMouse();
    void readOutShowsZeroBeyondSaturationWithoutMessages();
    void storingAnExistingNameEditsItsRecord();
    void namesAreCutToFourCharacters();
    void joinsTwoPoints();
    void twoPointWithAMissingSecondNameKeepsTheFirst();
    void mixesThreeQuartersOfTheWay();
    void mixingVolumesSummingToZeroStoreNothing();
    void drawsHeatMoistureRatioLines();
    void deletesAPointAndPassesOverAMissingName();
    void emptyAndNonNumericInputsStoreNothing();
    void absurdValuesDoNotBreakTheWindow();
    void mixingThatOverflowsStoresAndDrawsNothing();
    void selectingAToolEndsAPendingClick();
    void toolsSetUpThePanel();
    void pointReportOfAnEmptyTable();
    void pointReportOfTwoPoints();
    void savesAndOpensPointFiles();
    void failedOpenOrSaveKeepsTheTableInUse();
    void lockedTableChangesNeitherPictureNorPoints();
    void showingAgainEmptiesTheScratchTableOnly();
    void showingWithoutAScratchTableKeepsTheUsersFile();
    void badPressureAbandonsTheShowing();
    void printsTheChartCentredOnOnePage();
    void printsThePointReport();
    void printedReportColumnsLineUp();
    void storedRowsComeIntoView();
    void qtDialogsSpeakChinese_data();
    void qtDialogsSpeakChinese();
    void helpOpensTopicEight();
    void displayListRedrawsThePicture();
    void comfortZonesAreALayerNeverStored();
    void exportsThePictureInEachFormat();
    void copiesThePictureAtTwiceItsSize();

private:
    void typeInto(QLineEdit* edit, const QString& text);
    void ok();
    void placeTyped(const QString& name, const QString& t, const QString& rh);
    void placeByClick(const QString& name, QPoint at);
    void storeDirectly(const QString& name, double d, double i);
    void selectTool(QToolButton* tool);
    StatePoint point(const QString& name);
    int pointCount() { return form->pointTable().recordCount(); }

    QTemporaryDir dir;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<ID_lib> lib;
    std::unique_ptr<Form_atm> atm;
    std::unique_ptr<Form_IDTu> form;
    ID_lib reference; // the test's own library, at 101325 Pa
};

void TestFormIDTu::initTestCase()
{
    QVERIFY(dir.isValid());
    DataDir::setOverride(dir.filePath(QStringLiteral("data")));
    RegisterDataSeeds();
    DataDir::ensure();
    QVERIFY(QFile::exists(DataDir::file(QStringLiteral("id_tu.DB"))));
    reference.AtmPressure = 101325;
    reference.PsychroCoefficient = 0.0006725;
}

void TestFormIDTu::init()
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

void TestFormIDTu::cleanup()
{
    DataDir::ensure(); // a test that took the scratch table away and failed
    form.reset();
    atm.reset();
    lib.reset();
    prompts.reset();
}

void TestFormIDTu::typeInto(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

void TestFormIDTu::ok()
{
    QTest::mouseClick(form->Button_OK, Qt::LeftButton);
}

void TestFormIDTu::placeTyped(const QString& name, const QString& t, const QString& rh)
{
    typeInto(form->Edit_name, name);
    ok();
    typeInto(form->Edit_T, t);
    typeInto(form->Edit_RH, rh);
    ok();
}

void TestFormIDTu::placeByClick(const QString& name, QPoint at)
{
    typeInto(form->Edit_name, name);
    ok();
    QTest::mouseClick(form->Image1, Qt::LeftButton, {}, at);
}

void TestFormIDTu::storeDirectly(const QString& name, double d, double i)
{
    StatePoint p;
    p.No = name.toStdString();
    p.D = d;
    p.I = i;
    StorePoint(form->pointTable(), p);
}

void TestFormIDTu::selectTool(QToolButton* tool)
{
    QTest::mouseClick(tool, Qt::LeftButton);
    QVERIFY(tool->isChecked());
}

StatePoint TestFormIDTu::point(const QString& name)
{
    if (!FindPoint(form->pointTable(), name))
        return {};
    return CurrentPoint(form->pointTable());
}

void TestFormIDTu::storesAPointByTypedValues()
{
    typeInto(form->Edit_name, QStringLiteral("w"));
    QCOMPARE(form->Edit_name->text(), QStringLiteral("W")); // upper-case entry
    ok();
    QCOMPARE(form->toolStep(), 2);
    QVERIFY(form->awaitingClick());
    QCOMPARE(form->Label_2->text(), QStringLiteral("点击或输入状态点:"));
    QVERIFY(form->Edit_name->isHidden());
    QVERIFY(!form->Edit_T->isHidden() && !form->Edit_RH->isHidden());

    typeInto(form->Edit_T, QStringLiteral("26"));
    typeInto(form->Edit_RH, QStringLiteral("60"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 1);
    const StatePoint w = point(QStringLiteral("W"));
    QCOMPARE(w.T, 26.0);
    QCOMPARE(w.RH, 60.0);
    QCOMPARE(F2(w.D), QStringLiteral("12.63"));
    QCOMPARE(F2(w.I), QStringLiteral("58.45"));
    reference.CurrentState.t = 26;
    reference.CurrentState.RH = 60;
    reference.StateFromRH_T(26, 60);
    QCOMPARE(w.Ts, reference.CurrentState.ts);
    QCOMPARE(w.P, reference.CurrentState.pv);
    QCOMPARE(w.Tv, reference.CurrentState.tdew);

    // The mark at (229, 179), its name's cell at (217, 161).
    QVERIFY(MarkedAt(form->picture(), QPoint(229, 179)));
    int dark = 0;
    for (int y = 161; y < 171; ++y)
        for (int x = 217; x < 224; ++x)
            dark += qGray(form->picture().pixel(x, y)) < 100;
    QVERIFY(dark > 3);

    // Back to the first step, the name emptied.
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(!form->awaitingClick());
    QVERIFY(!form->Edit_name->isHidden());
    QCOMPARE(form->Edit_name->text(), QString());
    QCOMPARE(form->Label_2->text(), QStringLiteral("状态点名称:"));
    QVERIFY(form->Edit_T->isHidden());

    // The grid shows the record.
    QAbstractItemModel* grid = form->DBGrid1->model();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->index(0, 0).data().toString(), QStringLiteral("W"));
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("26.00"));
    QCOMPARE(grid->headerData(4, Qt::Horizontal).toString(), QStringLiteral(" 含湿量"));
}

void TestFormIDTu::storesAPointByClickAndRecognisesItUnderTheMouse()
{
    placeByClick(QStringLiteral("N"), QPoint(229, 179));
    QCOMPARE(prompts->errors, QStringList());
    const StatePoint n = point(QStringLiteral("N"));
    QCOMPARE(n.D, 12.6);
    QCOMPARE(n.I, 339 / 5.8);
    QCOMPARE(F2(n.I), QStringLiteral("58.45"));
    reference.StateFromI_D(0.0126, 339 / 5.8);
    QCOMPARE(n.T, reference.CurrentState.t);
    QCOMPARE(n.RH, reference.CurrentState.RH);
    QVERIFY(n.RH > 59 && n.RH < 61);
    QVERIFY(MarkedAt(form->picture(), QPoint(229, 179)));
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(!form->awaitingClick());
    QCOMPARE(form->Edit_name->text(), QString());

    QTest::mouseMove(form->Image1, QPoint(300, 300));
    QTRY_COMPARE(form->Image1->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(form->Image1, QPoint(229, 179));
    QTRY_COMPARE(form->Image1->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(form->Edit1->text(), QStringLiteral("58.45"));
    QCOMPARE(form->Edit2->text(), QStringLiteral("12.60"));
    QCOMPARE(form->Edit3->text(), F2(reference.CurrentState.t));
    QCOMPARE(form->Edit4->text(), F2(reference.CurrentState.RH));
    QCOMPARE(form->Edit5->text(), F2(reference.CurrentState.ts));
    // A click with no point pending stores nothing.
    QTest::mouseClick(form->Image1, Qt::RightButton, {}, QPoint(300, 100));
    QCOMPARE(pointCount(), 1);
}

void TestFormIDTu::readOutShowsZeroBeyondSaturationWithoutMessages()
{
    // Below the saturation curve and left of the frame the library zeroes
    // the temperature; no movement raises a message.
    QTest::mouseMove(form->Image1, QPoint(500, 400));
    QTRY_COMPARE(form->Edit3->text(), QStringLiteral("0.00"));
    QCOMPARE(form->Edit4->text(), QStringLiteral("0.00"));
    QCOMPARE(form->Edit2->text(), F2((500 - 40) / 15.0));
    for (const QPoint p : {QPoint(10, 100), QPoint(40, 40), QPoint(0, 561), QPoint(824, 0)})
        QTest::mouseMove(form->Image1, p);
    QTRY_COMPARE(form->Edit2->text(), QStringLiteral("52.27"));
    QCOMPARE(prompts->errors, QStringList());
}

void TestFormIDTu::storingAnExistingNameEditsItsRecord()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeTyped(QStringLiteral("W"), QStringLiteral("20"), QStringLiteral("50"));
    QCOMPARE(pointCount(), 1);
    QCOMPARE(point(QStringLiteral("W")).T, 20.0);
    QVERIFY(MarkedAt(form->picture(), QPoint(229, 179))); // the old mark stays
    reference.CurrentState.t = 20;
    reference.CurrentState.RH = 50;
    reference.StateFromRH_T(20, 50);
    QVERIFY(MarkedAt(form->picture(),
                     Pixel(reference.CurrentState.d * 1000, reference.CurrentState.i)));
}

void TestFormIDTu::namesAreCutToFourCharacters()
{
    placeTyped(QStringLiteral("abcde"), QStringLiteral("26"), QStringLiteral("60"));
    QCOMPARE(pointCount(), 1);
    QCOMPARE(QString::fromStdString(point(QStringLiteral("ABCD")).No), QStringLiteral("ABCD"));

    selectTool(form->SpeedButton_point_two);
    typeInto(form->Edit_name, QStringLiteral("ABCDE"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("图上没有该状态点，请先画上！"));
    QCOMPARE(form->toolStep(), 1);

    selectTool(form->SpeedButton_point);
    placeTyped(QStringLiteral("ABCDE"), QStringLiteral("20"), QStringLiteral("50"));
    QCOMPARE(pointCount(), 2); // the full name is never found, so a second record
    QCOMPARE(prompts->errors, QStringList());
}

void TestFormIDTu::joinsTwoPoints()
{
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    placeTyped(QStringLiteral("B"), QStringLiteral("30"), QStringLiteral("40"));
    const StatePoint a = point(QStringLiteral("A")), b = point(QStringLiteral("B"));
    QImage expected = form->picture().copy();
    {
        QPainter p(&expected);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(Pixel(a.D, a.I), Pixel(b.D, b.I));
    }
    selectTool(form->SpeedButton_point_two);
    QCOMPARE(form->Label_2->text(), QStringLiteral("第一状态点名称:"));
    typeInto(form->Edit_name, QStringLiteral("A"));
    ok();
    QCOMPARE(form->lineStart(), Pixel(a.D, a.I));
    QCOMPARE(form->Label_2->text(), QStringLiteral("第二状态点名称:"));
    QCOMPARE(form->Edit_name->text(), QString());
    typeInto(form->Edit_name, QStringLiteral("B"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QVERIFY(form->picture() == expected);
    QCOMPARE(form->lineStart(), QPoint());
    QCOMPARE(form->lineEnd(), QPoint());
    QCOMPARE(form->toolStep(), 1);
    QCOMPARE(form->Label_2->text(), QStringLiteral("第一状态点名称:"));
}

void TestFormIDTu::twoPointWithAMissingSecondNameKeepsTheFirst()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    selectTool(form->SpeedButton_point_two);
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    const QImage before = form->picture().copy();
    typeInto(form->Edit_name, QStringLiteral("X"));
    ok();
    QCOMPARE(prompts->errors, QStringList{QStringLiteral("图上没有该状态点，请先画上！")});
    QCOMPARE(form->lineStart(), QPoint(229, 179));
    QCOMPARE(form->lineEnd(), QPoint());
    QCOMPARE(form->toolStep(), 2);
    QCOMPARE(form->Label_2->text(), QStringLiteral("第二状态点名称:"));
    QVERIFY(form->picture() == before);
    // An empty second name: the same step, its own message.
    form->Edit_name->clear();
    ok();
    QCOMPARE(prompts->errors.last(), QStringLiteral("请输入状态点名！"));
    QCOMPARE(form->toolStep(), 2);
}

void TestFormIDTu::mixesThreeQuartersOfTheWay()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeByClick(QStringLiteral("N"), QPoint(229, 179));
    const StatePoint w = point(QStringLiteral("W")), n = point(QStringLiteral("N"));

    selectTool(form->SpeedButton_point_C);
    typeInto(form->Edit_C, QStringLiteral("m"));
    typeInto(form->Edit_name, QStringLiteral("W"));
    typeInto(form->Edit_G, QStringLiteral("1000"));
    ok();
    QCOMPARE(form->toolStep(), 2);
    QCOMPARE(form->lineStart(), QPoint(229, 179));
    QVERIFY(form->Edit_C->isHidden());
    QCOMPARE(form->Label_2->text(), QStringLiteral("第二状态点名称:"));
    QCOMPARE(form->Edit_G->text(), QString());
    typeInto(form->Edit_name, QStringLiteral("N"));
    typeInto(form->Edit_G, QStringLiteral("3000"));
    ok();
    QCOMPARE(prompts->errors, QStringList());

    const StatePoint m = point(QStringLiteral("M"));
    QCOMPARE(QString::fromStdString(m.No), QStringLiteral("M"));
    QCOMPARE(m.D, (n.D * 3000 + w.D * 1000) / 4000);
    QCOMPARE(m.I, (n.I * 3000 + w.I * 1000) / 4000);
    QVERIFY(std::fabs(m.D - 12.607) < 0.0005);
    QVERIFY(std::fabs((m.D - w.D) / (n.D - w.D) - 0.75) < 1e-9);
    QVERIFY(std::fabs((m.I - w.I) / (n.I - w.I) - 0.75) < 1e-9);
    reference.StateFromI_D(m.D / 1000, m.I);
    QCOMPARE(m.T, reference.CurrentState.t);
    QCOMPARE(form->lineStart(), QPoint());
    QCOMPARE(form->lineEnd(), QPoint());
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(!form->Edit_C->isHidden());
    QCOMPARE(form->Label_1->text(), QStringLiteral("混合点名称:"));
}

void TestFormIDTu::mixingVolumesSummingToZeroStoreNothing()
{
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    placeTyped(QStringLiteral("B"), QStringLiteral("30"), QStringLiteral("40"));
    const QImage before = form->picture().copy();
    selectTool(form->SpeedButton_point_C);
    typeInto(form->Edit_C, QStringLiteral("M"));
    typeInto(form->Edit_name, QStringLiteral("A"));
    typeInto(form->Edit_G, QStringLiteral("1000"));
    ok();
    typeInto(form->Edit_name, QStringLiteral("B"));
    typeInto(form->Edit_G, QStringLiteral("-1000"));
    ok();
    QCOMPARE(prompts->errors, QStringList{QStringLiteral("风量之和不能为0！")});
    QCOMPARE(pointCount(), 2);
    QVERIFY(form->picture() == before);
    QCOMPARE(form->lineStart(), QPoint());
    QCOMPARE(form->lineEnd(), QPoint());

    // Nothing is left over to be drawn by the next press of another tool.
    selectTool(form->SpeedButton_point_two);
    typeInto(form->Edit_name, QStringLiteral("A"));
    ok();
    QVERIFY(form->picture() == before);
}

void TestFormIDTu::drawsHeatMoistureRatioLines()
{
    storeDirectly(QStringLiteral("R"), 12, 50);
    selectTool(form->SpeedButton_point_N);
    QCOMPARE(form->Label_2->text(), QStringLiteral("室内点名称:"));
    QCOMPARE(form->Label_T->text(), QStringLiteral("热湿比:"));
    QVERIFY(!form->Edit_G->isHidden());

    const QPoint room = Pixel(12, 50);
    QCOMPARE(room, QPoint(220, 219));
    for (const auto& [ratio, end] : {std::pair{QStringLiteral("10000"), Pixel(7, 0)},
                                     std::pair{QStringLiteral("-2000"), Pixel(7, 60)}}) {
        QImage expected = form->picture().copy();
        {
            QPainter p(&expected);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(room, end);
        }
        typeInto(form->Edit_name, QStringLiteral("R"));
        typeInto(form->Edit_G, ratio);
        ok();
        QCOMPARE(prompts->errors, QStringList());
        QVERIFY2(form->picture() == expected, qPrintable(ratio));
        QCOMPARE(form->lineStart(), end);
        QCOMPARE(form->Edit_name->text(), QStringLiteral("R")); // the panel stays
    }
    QCOMPARE(Pixel(7, 0), QPoint(145, 434));
    QCOMPARE(Pixel(7, 60), QPoint(145, 86));
}

void TestFormIDTu::deletesAPointAndPassesOverAMissingName()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeTyped(QStringLiteral("V"), QStringLiteral("20"), QStringLiteral("50"));
    selectTool(form->SpeedButton_point_del);
    QCOMPARE(form->Label_2->text(), QStringLiteral("被删除状态点名称:"));

    typeInto(form->Edit_name, QStringLiteral("Q"));
    const QImage before = form->picture().copy();
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 2);
    QVERIFY(form->picture() == before);
    QCOMPARE(form->Edit_name->text(), QString());

    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 1);
    QVERIFY(!FindPoint(form->pointTable(), QStringLiteral("W")));
    const QImage& after = form->picture();
    for (const QPoint p : {QPoint(227, 179), QPoint(230, 179), QPoint(229, 177)})
        QCOMPARE(after.pixel(p), kWhite);
    for (int y = 161; y < 171; ++y)
        for (int x = 217; x < 224; ++x)
            QCOMPARE(after.pixel(x, y), kWhite);
    QCOMPARE(form->Label_2->text(), QStringLiteral("被删除状态点名称:"));
    QCOMPARE(form->Edit_name->text(), QString());
}

void TestFormIDTu::emptyAndNonNumericInputsStoreNothing()
{
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入状态点名！"));
    QCOMPARE(form->toolStep(), 1);
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入状态点参数！"));
    typeInto(form->Edit_T, QStringLiteral("abc"));
    typeInto(form->Edit_RH, QStringLiteral("60"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("干球温度(C)：“abc”不是有效的数值"));
    typeInto(form->Edit_T, QStringLiteral("26"));
    typeInto(form->Edit_RH, QStringLiteral("6O"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("相对湿度(%)：“6O”不是有效的数值"));
    QCOMPARE(pointCount(), 0);
    QCOMPARE(form->toolStep(), 2);
    QVERIFY(form->awaitingClick());
    typeInto(form->Edit_RH, QStringLiteral("60"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 1);

    selectTool(form->SpeedButton_point_C);
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入混合点名！"));
    typeInto(form->Edit_C, QStringLiteral("M"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入状态点名！"));
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入风量！"));
    typeInto(form->Edit_G, QStringLiteral("1,000"));
    ok();
    QVERIFY(prompts->takeError().contains(QStringLiteral("1,000")));
    QCOMPARE(form->toolStep(), 1);
    QCOMPARE(form->lineStart(), QPoint());

    selectTool(form->SpeedButton_point_N);
    form->Edit_name->clear();
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入室内状态点名！"));
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入热湿比！"));
    typeInto(form->Edit_G, QStringLiteral("x"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("热湿比：“x”不是有效的数值"));
    typeInto(form->Edit_name, QStringLiteral("Z"));
    typeInto(form->Edit_G, QStringLiteral("5000"));
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("图上没有该状态点，请先画上！"));

    selectTool(form->SpeedButton_point_del);
    form->Edit_name->clear();
    ok();
    QCOMPARE(prompts->takeError(), QStringLiteral("请输入被删除状态点名称！"));
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 1);
}

void TestFormIDTu::absurdValuesDoNotBreakTheWindow()
{
    // A state far off the chart is stored; its mark falls outside the picture.
    placeTyped(QStringLiteral("H"), QStringLiteral("1e300"), QStringLiteral("60"));
    QCOMPARE(pointCount(), 1);
    QCOMPARE(form->toolStep(), 1);

    // Values the library finds no state for (NaN) are refused after its own
    // message: nothing stored or drawn, the step stays for other values.
    const QImage before = form->picture().copy();
    prompts->errors.clear();
    placeTyped(QStringLiteral("K"), QStringLiteral("-500"), QStringLiteral("1e9"));
    QVERIFY(!prompts->errors.isEmpty());
    QVERIFY2(prompts->errors.last().contains(QStringLiteral("数值字段")),
             qPrintable(prompts->errors.join(QLatin1Char('|'))));
    QCOMPARE(pointCount(), 1);
    QVERIFY(form->picture() == before);
    QCOMPARE(form->toolStep(), 2);
    QVERIFY(form->awaitingClick());
    typeInto(form->Edit_T, QStringLiteral("-10"));
    typeInto(form->Edit_RH, QStringLiteral("80"));
    prompts->errors.clear();
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 2);

    // The tools still work on the far point.
    selectTool(form->SpeedButton_point_two);
    typeInto(form->Edit_name, QStringLiteral("H"));
    ok();
    typeInto(form->Edit_name, QStringLiteral("K"));
    ok();
    QCOMPARE(form->toolStep(), 1);
    selectTool(form->SpeedButton_point_N);
    typeInto(form->Edit_name, QStringLiteral("K"));
    typeInto(form->Edit_G, QStringLiteral("1e308"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    selectTool(form->SpeedButton_point);
    placeByClick(QStringLiteral("E"), QPoint(824, 561));
    QCOMPARE(pointCount(), 3);

    // A long name in Chinese is stored as its first four characters.
    form->Edit_name->setText(QString(20000, QChar(0x7113))); // 焓
    ok();
    QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(300, 200));
    QCOMPARE(pointCount(), 4);
    QCOMPARE(QString::fromStdString(point(QStringLiteral("焓焓焓焓")).No),
             QStringLiteral("焓焓焓焓"));
}

void TestFormIDTu::mixingThatOverflowsStoresAndDrawsNothing()
{
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    placeTyped(QStringLiteral("B"), QStringLiteral("30"), QStringLiteral("40"));
    const QImage before = form->picture().copy();
    selectTool(form->SpeedButton_point_C);
    typeInto(form->Edit_C, QStringLiteral("M"));
    typeInto(form->Edit_name, QStringLiteral("A"));
    typeInto(form->Edit_G, QStringLiteral("1e308"));
    ok();
    typeInto(form->Edit_name, QStringLiteral("B"));
    typeInto(form->Edit_G, QStringLiteral("1e308"));
    ok();
    // The volumes' sum overflows: the table refuses the point it would give.
    QVERIFY(!prompts->errors.isEmpty());
    QVERIFY(prompts->errors.last().contains(QStringLiteral("数值字段")));
    QCOMPARE(pointCount(), 2);
    QVERIFY(form->picture() == before);
    QCOMPARE(form->lineStart(), QPoint());
    QCOMPARE(form->lineEnd(), QPoint());

    // The next press of another tool draws nothing left over.
    selectTool(form->SpeedButton_point_N);
    typeInto(form->Edit_name, QStringLiteral("Z"));
    typeInto(form->Edit_G, QStringLiteral("5000"));
    ok();
    QCOMPARE(prompts->errors.last(), QStringLiteral("图上没有该状态点，请先画上！"));
    QVERIFY(form->picture() == before);
}

void TestFormIDTu::selectingAToolEndsAPendingClick()
{
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    QVERIFY(form->awaitingClick());
    selectTool(form->SpeedButton_point_N);
    QVERIFY(!form->awaitingClick());
    QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(229, 179));
    QCOMPARE(pointCount(), 0);

    // Back to the point tool: its first step again.
    selectTool(form->SpeedButton_point);
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(!form->Edit_name->isHidden());
    QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(229, 179));
    QCOMPARE(pointCount(), 0);
}

void TestFormIDTu::toolsSetUpThePanel()
{
    selectTool(form->SpeedButton_point_C);
    QVERIFY(!form->Label_1->isHidden() && !form->Edit_C->isHidden());
    QCOMPARE(form->Label_T->text(), QStringLiteral("风量(m3/h):"));
    QVERIFY(!form->Edit_G->isHidden());
    QVERIFY(form->Edit_T->isHidden() && form->Edit_RH->isHidden() && form->Label_RH->isHidden());

    selectTool(form->SpeedButton_point_two);
    QVERIFY(form->Label_1->isHidden() && form->Edit_C->isHidden());
    QVERIFY(form->Edit_G->isHidden() && form->Label_T->isHidden());

    // Only one tool is down at a time.
    int down = 0;
    for (QToolButton* t :
         {form->SpeedButton_point, form->SpeedButton_point_N, form->SpeedButton_point_two,
          form->SpeedButton_point_C, form->SpeedButton_point_del})
        down += t->isChecked();
    QCOMPARE(down, 1);
    QCOMPARE(form->SpeedButton_point_N->toolTip(), QStringLiteral("热湿比线"));

    // The ratio tool keeps the name and empties the ratio; delete hides it.
    typeInto(form->Edit_name, QStringLiteral("R"));
    form->Edit_G->setText(QStringLiteral("500"));
    selectTool(form->SpeedButton_point_N);
    QVERIFY(form->Label_1->isHidden() && form->Edit_C->isHidden());
    QCOMPARE(form->Edit_name->text(), QStringLiteral("R"));
    QVERIFY(!form->Edit_G->isHidden() && form->Edit_G->text().isEmpty());
    selectTool(form->SpeedButton_point_del);
    QCOMPARE(form->Edit_name->text(), QStringLiteral("R"));
    QVERIFY(form->Edit_G->isHidden() && form->Label_T->isHidden());

    // Showing again resets the panel to the point tool's first step, but the
    // tool that was down and the mixing fields' visibility stay.
    selectTool(form->SpeedButton_point_C);
    form->hide();
    form->show();
    QVERIFY(form->SpeedButton_point_C->isChecked());
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(form->Label_1->isHidden());
    QVERIFY(!form->Edit_C->isHidden() && !form->Edit_G->isHidden());
    QCOMPARE(form->Label_2->text(), QStringLiteral("状态点名称:"));
    QVERIFY(!form->Edit_name->isHidden() && form->Label_T->isHidden());
}

void TestFormIDTu::pointReportOfAnEmptyTable()
{
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_output_point, Qt::LeftButton);
    QCOMPARE(prompts->saveDialogs.size(), 1);
    QCOMPARE(prompts->saveDialogs[0].title, QStringLiteral("保存文件"));
    QCOMPARE(prompts->saveDialogs[0].filter, QStringLiteral("文本文件(*.TXT)"));
    QCOMPARE(prompts->saveDialogs[0].defaultSuffix, QStringLiteral("txt"));
    const QStringList lines = ReadGbkLines(path);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines[4], QStringLiteral(" 大气压力：101325Pa"));
    QCOMPARE(lines[10], lines[5]);
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().endsWith("\r\n"));

    // Cancelling the dialog writes nothing.
    prompts->saveAnswers << QString();
    QTest::mouseClick(form->Button_output_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
}

void TestFormIDTu::pointReportOfTwoPoints()
{
    atm->Edit1->setText(QStringLiteral("101325.0"));
    form->hide();
    form->show(); // drawn again at the pressure as typed
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeByClick(QStringLiteral("N"), QPoint(229, 179));
    const QString path = dir.filePath(QStringLiteral("two.txt"));
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_output_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    const QStringList lines = ReadGbkLines(path);
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[4], QStringLiteral(" 大气压力：101325.0Pa"));
    const auto line = [](const StatePoint& p) {
        return QStringLiteral("    %1  %2  %3  %4   %5   %6    %7   %8  %9")
            .arg(QString::fromStdString(p.No), F2(p.T), F2(p.Ts), F2(p.RH), F2(p.D), F2(p.I),
                 F2(p.Ruo), F2(p.Tv), FormatNumber(p.P, QStringLiteral("0.0")));
    };
    const StatePoint w = point(QStringLiteral("W"));
    QCOMPARE(lines[10], line(w));
    QCOMPARE(lines[11], line(point(QStringLiteral("N"))));
    QVERIFY(lines[10].startsWith(QStringLiteral("    W  26.00  ")));
    QVERIFY(lines[10].contains(QStringLiteral("  60.00   12.63   58.45    ")));
    QCOMPARE(lines[12], lines[5]);
}

void TestFormIDTu::savesAndOpensPointFiles()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeByClick(QStringLiteral("N"), QPoint(229, 179));
    // A long path is used whole.
    QDir().mkpath(dir.filePath(QStringLiteral("a_rather_long_folder_name_for_the_points_of_a_"
                                              "project_that_goes_on_and_on")));
    const QString path = dir.filePath(QStringLiteral("a_rather_long_folder_name_for_the_points_"
                                                     "of_a_project_that_goes_on_and_on/p.DB"));
    QVERIFY(path.size() > 80);
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(prompts->saveDialogs.size(), 1);
    QCOMPARE(prompts->saveDialogs[0].filter, QStringLiteral("(*.DB)"));
    QCOMPARE(prompts->saveDialogs[0].defaultSuffix, QStringLiteral("DB"));
    QCOMPARE(form->currentPointFile(), path);
    QCOMPARE(form->pointTable().path(), path);

    // Later changes go straight into the user's file; a second save asks nothing.
    placeTyped(QStringLiteral("X"), QStringLiteral("30"), QStringLiteral("40"));
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(prompts->saveDialogs.size(), 1);
    {
        RecordTableStore saved(PointTableDeclaration());
        saved.setPath(path);
        saved.open();
        QCOMPARE(saved.recordCount(), 3);
    }
    const StatePoint x = point(QStringLiteral("X"));

    // Showing again goes back to the empty scratch table and a bare chart.
    form->hide();
    form->show();
    QCOMPARE(pointCount(), 0);
    QCOMPARE(form->currentPointFile(), QString());
    QVERIFY(!MarkedAt(form->picture(), QPoint(229, 179)));

    prompts->openAnswers << path;
    QTest::mouseClick(form->Button_open, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(prompts->openDialogs[0].filter, QStringLiteral("(*.DB)"));
    QCOMPARE(form->currentPointFile(), path);
    QCOMPARE(pointCount(), 3);
    QVERIFY(MarkedAt(form->picture(), QPoint(229, 179)));
    QVERIFY(MarkedAt(form->picture(), Pixel(x.D, x.I)));
    QCOMPARE(form->DBGrid1->model()->rowCount(), 3);

    // Cancelled dialogs change nothing.
    prompts->openAnswers << QString();
    QTest::mouseClick(form->Button_open, Qt::LeftButton);
    QCOMPARE(form->currentPointFile(), path);
}

void TestFormIDTu::failedOpenOrSaveKeepsTheTableInUse()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    const QString bogus = dir.filePath(QStringLiteral("bogus.DB"));
    QFile f(bogus);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a table");
    f.close();
    prompts->openAnswers << bogus;
    QTest::mouseClick(form->Button_open, Qt::LeftButton);
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(prompts->errors[0].contains(QStringLiteral("bogus.DB")));
    QCOMPARE(form->currentPointFile(), QString());
    QCOMPARE(pointCount(), 1);
    // The tools go on with the scratch table.
    placeTyped(QStringLiteral("V"), QStringLiteral("20"), QStringLiteral("50"));
    QCOMPARE(pointCount(), 2);
    QCOMPARE(form->pointTable().path(), DataDir::file(QStringLiteral("id_tu.DB")));

    // A save that cannot write its copy leaves the scratch table in use.
    prompts->saveAnswers << dir.filePath(QStringLiteral("no/such/folder/p.DB"));
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(prompts->errors.size(), 2);
    QCOMPARE(form->currentPointFile(), QString());
    QCOMPARE(form->pointTable().path(), DataDir::file(QStringLiteral("id_tu.DB")));
    QCOMPARE(pointCount(), 2);
    placeTyped(QStringLiteral("U"), QStringLiteral("22"), QStringLiteral("45"));
    QCOMPARE(pointCount(), 3);
}

void TestFormIDTu::lockedTableChangesNeitherPictureNorPoints()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    // Another program holds the scratch table locked.
    sqlite3* other = nullptr;
    QCOMPARE(
        sqlite3_open_v2(QFile::encodeName(DataDir::file(QStringLiteral("id_tu.DB"))).constData(),
                        &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const QImage before = form->picture().copy();

    placeTyped(QStringLiteral("V"), QStringLiteral("20"), QStringLiteral("50"));
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(prompts->errors[0].contains(QStringLiteral("id_tu.DB")));
    QCOMPARE(pointCount(), 1);
    QVERIFY(form->picture() == before);
    QCOMPARE(form->toolStep(), 2); // the same values can be given again

    selectTool(form->SpeedButton_point_del);
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    QCOMPARE(prompts->errors.size(), 2);
    QCOMPARE(pointCount(), 1);
    QVERIFY(form->picture() == before); // the mark of the point kept stays

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ok();
    QCOMPARE(prompts->errors.size(), 2);
    QCOMPARE(pointCount(), 0);
    QVERIFY(!MarkedAt(form->picture(), QPoint(229, 179)));
}

void TestFormIDTu::showingAgainEmptiesTheScratchTableOnly()
{
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    placeTyped(QStringLiteral("B"), QStringLiteral("26"), QStringLiteral("60"));
    placeTyped(QStringLiteral("C"), QStringLiteral("30"), QStringLiteral("40"));
    QCOMPARE(pointCount(), 3);
    form->hide();
    form->show();
    QCOMPARE(pointCount(), 0);
    QCOMPARE(form->toolStep(), 1);
    QVERIFY(form->picture() == RenderChart(*lib, QStringLiteral("101325")));
}

void TestFormIDTu::showingWithoutAScratchTableKeepsTheUsersFile()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    const QString saved = dir.filePath(QStringLiteral("kept.DB"));
    prompts->saveAnswers << saved;
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(form->currentPointFile(), saved);

    const QString scratch = DataDir::file(QStringLiteral("id_tu.DB"));
    QVERIFY(QFile::remove(scratch));
    form->hide();
    form->show();
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(prompts->errors[0].contains(QStringLiteral("id_tu.DB")));
    // The user's file stays in use under its name, whole; a save still has
    // nothing to do.
    QCOMPARE(form->pointTable().path(), saved);
    QCOMPARE(form->currentPointFile(), saved);
    QCOMPARE(pointCount(), 1);
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(prompts->saveDialogs.size(), 1);

    DataDir::ensure(); // the scratch table is seeded again
    form->hide();
    form->show();
    QCOMPARE(prompts->errors.size(), 1);
    QCOMPARE(form->currentPointFile(), QString());
    QCOMPARE(pointCount(), 0);
    RecordTableStore kept(PointTableDeclaration());
    kept.setPath(saved);
    kept.open();
    QCOMPARE(kept.recordCount(), 1);
}

void TestFormIDTu::badPressureAbandonsTheShowing()
{
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    const QImage before = form->picture().copy();
    atm->Edit1->setText(QStringLiteral("abc"));
    form->hide();
    form->show();
    QVERIFY(!form->isVisible());
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(prompts->errors[0].contains(QStringLiteral("abc")));

    // Opened as the main menu opens it: exec() returns without a modal loop
    // waiting on a window that never shows (a zero timer fires only in a loop).
    {
        QObject context;
        bool loopRan = false;
        QTimer::singleShot(0, &context, [&] {
            loopRan = true;
            form->reject();
        });
        QCOMPARE(form->exec(), int(QDialog::Rejected));
        QVERIFY(!loopRan);
    }
    QVERIFY(!form->isVisible());
    QCOMPARE(prompts->errors.size(), 2);
    QVERIFY(prompts->errors[1].contains(QStringLiteral("abc")));
    // Nothing was drawn, emptied or stored by the refused showings.
    QVERIFY(form->picture() == before);
    QCOMPARE(pointCount(), 1);

    // Ten times the standard pressure lies outside the chart's range (its
    // grid would leave the frame and the library fail): refused alike.
    prompts->errors.clear();
    atm->Edit1->setText(QStringLiteral("1013250"));
    form->show();
    QVERIFY(!form->isVisible());
    QCOMPARE(prompts->errors,
             QStringList{QStringLiteral("大气压力超出焓湿图的范围，应在30000～150000Pa之间！")});
    QVERIFY(form->picture() == before);
    QCOMPARE(pointCount(), 1);
}

void TestFormIDTu::printsTheChartCentredOnOnePage()
{
    // A page of 4960 × 7015 printer pixels (A4 at 600 dpi). The PDF engine
    // sizes pages in whole points, so it is made here as 992 × 1403 pt at
    // 360 dpi.
    QPrinter& printer = AppPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(360);
    QPageLayout page(
        QPageSize(QSizeF(992, 1403), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF());
    page.setMode(QPageLayout::FullPageMode);
    QVERIFY(printer.setPageLayout(page));
    QCOMPARE(QSize(printer.width(), printer.height()), QSize(4960, 7015));

    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    prompts->printAnswers << pdf;
    QTest::mouseClick(form->Button_Printing, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(PdfPageCount(pdf), 1);
    QCOMPARE(QSize(printer.width(), printer.height()), QSize(4960, 7015));

    // The page at 72 dpi, one pixel a point: the chart's ink is centred and
    // at least 10 mm (28.35 pt) from every edge.
    const QString shot = dir.filePath(QStringLiteral("chart-page"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), pdf, shot}),
             0);
    const QImage printedPage =
        QImage(shot + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printedPage.size(), QSize(992, 1403));
    QRect ink;
    for (int y = 0; y < printedPage.height(); ++y)
        for (int x = 0; x < printedPage.width(); ++x)
            if (printedPage.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    const int left = ink.left(), right = 991 - ink.right();
    const int top = ink.top(), bottom = 1402 - ink.bottom();
    const QString margins = QStringLiteral("%1 %2 %3 %4").arg(left).arg(top).arg(right).arg(bottom);
    QVERIFY2(std::min({left, top, right, bottom}) >= 29, qPrintable(margins));
    QVERIFY2(std::abs(left - right) <= 6 && std::abs(top - bottom) <= 6, qPrintable(margins));

    // The drawn part of the window's picture, stored losslessly ("image":
    // Flate, not "jpeg"): the page holds it pixel for pixel.
    const QRect part = ChartPictureCrop(form->picture());
    QVERIFY(part.width() < 700 && part.height() < 470);
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY(images.waitForFinished(60000));
    const QString list = QString::fromUtf8(images.readAllStandardOutput());
    const QStringList rows = list.split(QLatin1Char('\n')).mid(2).filter(QStringLiteral("image"));
    QCOMPARE(rows.size(), 1);
    const QStringList cols = rows[0].simplified().split(QLatin1Char(' '));
    QCOMPARE(cols[8], QStringLiteral("image"));
    const QString prefix = dir.filePath(QStringLiteral("chart-image"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, prefix}),
             0);
    const QImage printed(prefix + QStringLiteral("-000.png"));
    QCOMPARE(printed.convertToFormat(QImage::Format_RGB32),
             form->picture().copy(part).convertToFormat(QImage::Format_RGB32));

    // Cancel prints nothing; printer set-up is offered.
    prompts->printAnswers << QString();
    QTest::mouseClick(form->Button_Printing, Qt::LeftButton);
    QCOMPARE(prompts->printDialogs, 2);
    QTest::mouseClick(form->Button_printer_Setup, Qt::LeftButton);
    QCOMPARE(prompts->setupDialogs, 1);
}

void TestFormIDTu::printsThePointReport()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    prompts->printAnswers << pdf;
    QTest::mouseClick(form->Button_print_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains(Nfkc(QStringLiteral("湿空气状态参数计算"))), qPrintable(text));
    QVERIFY(text.contains(Nfkc(QStringLiteral("大气压力：101325Pa"))));
    QVERIFY(text.contains(Nfkc(QStringLiteral("状态点 温度"))));
    // pdftotext loses some digits of the CJK face's text runs, so the record
    // line is recognised by its name and the rules around it.
    QStringList printed;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            printed << line.trimmed();
    const QString rule(65, QLatin1Char('-'));
    QCOMPARE(printed.count(rule), 3);
    const int records = printed.lastIndexOf(rule);
    QCOMPARE(records, printed.indexOf(rule, printed.indexOf(rule) + 1) + 2);
    QVERIFY(printed[records - 1].startsWith(QStringLiteral("W ")));
    QCOMPARE(PdfPageCount(pdf), 1);
}

void TestFormIDTu::printedReportColumnsLineUp()
{
    // Numbers of different widths under the same headings.
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeTyped(QStringLiteral("AB"), QStringLiteral("-5"), QStringLiteral("90"));
    const QStringList lines = PointReportLines(ReadPoints(form->pointTable()), atm->pressureText());
    const QString pdf = dir.filePath(QStringLiteral("columns.pdf"));
    prompts->printAnswers << pdf;
    QTest::mouseClick(form->Button_print_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());

    QStringList expected; // the printed lines: the blank ones leave no words
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty())
            expected << line;
    const QList<QList<PdfWord>> printed = PrintedLines(PdfWords(pdf));
    QCOMPARE(printed.size(), expected.size());
    // Every word starts at its column: 12 pt text, a Latin character 6 pt
    // wide and a Chinese one 12 pt, from the same left edge on every line.
    constexpr double kColumn = 6.0; // pt
    const double left = printed[0][0].xMin - WordColumns(expected[0])[0].first * kColumn;
    for (int k = 0; k < expected.size(); ++k) {
        const QList<std::pair<int, QString>> words = WordColumns(expected[k]);
        QCOMPARE(printed[k].size(), words.size());
        for (int j = 0; j < words.size(); ++j) {
            QCOMPARE(printed[k][j].text, Nfkc(words[j].second));
            const double x = left + words[j].first * kColumn;
            QVERIFY2(std::abs(printed[k][j].xMin - x) < 0.25,
                     qPrintable(QStringLiteral("%1 at %2 pt, column %3 is at %4 pt")
                                    .arg(words[j].second)
                                    .arg(printed[k][j].xMin)
                                    .arg(words[j].first)
                                    .arg(x)));
        }
    }
}

void TestFormIDTu::storedRowsComeIntoView()
{
    QTableView* grid = form->DBGrid1;
    const auto inView = [grid](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        return !cell.isEmpty() && grid->viewport()->rect().contains(cell);
    };
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    placeTyped(QStringLiteral("B"), QStringLiteral("26"), QStringLiteral("60"));
    placeTyped(QStringLiteral("C"), QStringLiteral("30"), QStringLiteral("40"));
    QVERIFY(inView(0));
    placeByClick(QStringLiteral("D"), QPoint(229, 179));
    QCOMPARE(pointCount(), 4);
    QVERIFY(inView(3));
    QVERIFY(!inView(0)); // the grid shows three rows: it scrolled
    QCOMPARE(grid->currentIndex().row(), 3);

    // A name stored again edits its record, which comes back into view.
    placeTyped(QStringLiteral("A"), QStringLiteral("22"), QStringLiteral("55"));
    QCOMPARE(pointCount(), 4);
    QVERIFY(inView(0));
    QCOMPARE(grid->currentIndex().row(), 0);
}

void TestFormIDTu::qtDialogsSpeakChinese_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialogClass");
    QTest::newRow("error box") << QStringLiteral("Button_OK") << QStringLiteral("QMessageBox");
    QTest::newRow("save dialog") << QStringLiteral("Button_Save_point")
                                 << QStringLiteral("QFileDialog");
    QTest::newRow("print dialog") << QStringLiteral("Button_print_point")
                                  << QStringLiteral("QPrintDialog");
    QTest::newRow("printer set-up")
        << QStringLiteral("Button_printer_Setup") << QStringLiteral("QPageSetupDialog");
}

// Qt's own dialogs, as the program shows them (the scripted prompts are put
// aside): every button of their button row is labelled in Chinese.
void TestFormIDTu::qtDialogsSpeakChinese()
{
    QFETCH(QString, button);
    QFETCH(QString, dialogClass);
    prompts.reset(); // the program's own Prompts from here on
    form->Edit_name->clear();

    QString shownClass;
    QStringList labels;
    QObject context;
    // Polls until the modal dialog is up, reads its buttons and closes it.
    std::function<void()> inspect = [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == form.get()) {
            QTimer::singleShot(10, &context, inspect);
            return;
        }
        shownClass = QString::fromLatin1(dialog->metaObject()->className());
        for (const QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>())
            for (const QAbstractButton* b : box->buttons())
                if (b->isVisible())
                    labels << b->text();
        dialog->reject();
    };
    QTimer::singleShot(0, &context, inspect);
    QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);

    QCOMPARE(shownClass, dialogClass);
    QVERIFY(!labels.isEmpty());
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    for (const QString& label : labels)
        QVERIFY2(label.contains(chinese), qPrintable(labels.join(QLatin1Char('|'))));
}

void TestFormIDTu::helpOpensTopicEight()
{
    QVERIFY(QFile::exists(QStringLiteral(":/help/8.html")));
    QTest::mouseClick(form->Button_help, Qt::LeftButton);
    auto* help = form->findChild<QDialog*>(QStringLiteral("HelpWindow"));
    QVERIFY(help);
    QVERIFY(help->windowTitle().contains(QStringLiteral("焓湿图")));
}

// Every tool, a deletion, a showing and a reopened point file: drawn again
// from the display list, the picture is the window's pixel for pixel.
void TestFormIDTu::displayListRedrawsThePicture()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    placeByClick(QStringLiteral("N"), QPoint(229, 179));
    placeTyped(QStringLiteral("A"), QStringLiteral("20"), QStringLiteral("50"));
    selectTool(form->SpeedButton_point_two);
    typeInto(form->Edit_name, QStringLiteral("W"));
    ok();
    typeInto(form->Edit_name, QStringLiteral("A"));
    ok();
    selectTool(form->SpeedButton_point_C);
    typeInto(form->Edit_C, QStringLiteral("M"));
    typeInto(form->Edit_name, QStringLiteral("W"));
    typeInto(form->Edit_G, QStringLiteral("1000"));
    ok();
    typeInto(form->Edit_name, QStringLiteral("A"));
    typeInto(form->Edit_G, QStringLiteral("3000"));
    ok();
    selectTool(form->SpeedButton_point_N);
    typeInto(form->Edit_name, QStringLiteral("A"));
    typeInto(form->Edit_G, QStringLiteral("10000"));
    ok();
    selectTool(form->SpeedButton_point_del);
    typeInto(form->Edit_name, QStringLiteral("N"));
    ok();
    QCOMPARE(prompts->errors, QStringList());
    QCOMPARE(pointCount(), 3);
    QCOMPARE(form->displayList().stepCount(), std::size_t(7));
    QVERIFY(Replayed(*form) == form->picture());

    const QString path = dir.filePath(QStringLiteral("replayed.DB"));
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    form->hide();
    form->show();
    QCOMPARE(form->displayList().stepCount(), std::size_t(0));
    QVERIFY(Replayed(*form) == form->picture());
    selectTool(form->SpeedButton_point);
    placeTyped(QStringLiteral("B"), QStringLiteral("30"), QStringLiteral("40"));
    prompts->openAnswers << path;
    QTest::mouseClick(form->Button_open, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    QVERIFY(MarkedAt(form->picture(), QPoint(229, 179))); // W, from the file
    QVERIFY(Replayed(*form) == form->picture());
}

// "舒适区" is off on opening; on, the zones lie under the points already
// drawn; off again, the picture is what it was. Point files keep points
// only, whatever the box says.
void TestFormIDTu::comfortZonesAreALayerNeverStored()
{
    QCOMPARE(form->CheckBox_zones->text(), QStringLiteral("舒适区"));
    QVERIFY(!form->CheckBox_zones->isChecked());
    QVERIFY(!form->displayList().zonesShown());
    placeTyped(QStringLiteral("W"), QStringLiteral("25"), QStringLiteral("50"));
    const QImage plain = form->picture().copy();

    QTest::mouseClick(form->CheckBox_zones, Qt::LeftButton);
    QVERIFY(form->displayList().zonesShown());
    QVERIFY(form->picture() != plain);
    QVERIFY(Replayed(*form) == form->picture());
    reference.StateFromRH_T(25, 50);
    const QPoint w = Pixel(reference.CurrentState.d * 1000, reference.CurrentState.i);
    QVERIFY(MarkedAt(form->picture(), w)); // the mark stays on top

    // Saved with the zones shown: the file holds the one point in the point
    // table's columns (open() refuses a second table or other columns).
    const QString path = dir.filePath(QStringLiteral("zones.DB"));
    prompts->saveAnswers << path;
    QTest::mouseClick(form->Button_Save_point, Qt::LeftButton);
    QCOMPARE(prompts->errors, QStringList());
    RecordTableStore saved(PointTableDeclaration());
    saved.setPath(path);
    saved.open();
    QCOMPARE(saved.recordCount(), 1);

    QTest::mouseClick(form->CheckBox_zones, Qt::LeftButton);
    QVERIFY(form->picture() == plain);
}

// The save dialog offers the three formats; PNG alone then asks its scale
// (2× offered first). Cancelling writes nothing; another extension is
// refused.
void TestFormIDTu::exportsThePictureInEachFormat()
{
    QCOMPARE(form->Button_export->text(), QStringLiteral("导出图片(&X)..."));
    const auto path = [this](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    prompts->saveAnswers << path("c.png") << path("c.svg") << path("c.pdf") << path("d.png")
                         << QString() << path("c.jpg");
    prompts->itemAnswers << 2 << -1; // 3×, then cancel
    for (int k = 0; k < 6; ++k)
        QTest::mouseClick(form->Button_export, Qt::LeftButton);

    QCOMPARE(prompts->saveDialogs.last().filter,
             QStringLiteral("PNG图片(*.png);;SVG图形(*.svg);;PDF文档(*.pdf)"));
    QCOMPARE(prompts->saveDialogs.last().defaultSuffix, QStringLiteral("png"));
    const QStringList scales{"1×", "2×", "3×", "4×"};
    QCOMPARE(prompts->itemChoices, QList<QStringList>({scales, scales}));
    QCOMPARE(prompts->lastItemOffered, 1); // 2×
    QVERIFY(QImage(path("c.png")).convertToFormat(QImage::Format_RGB32) ==
            ChartImageAt(form->displayList(), 3).convertToFormat(QImage::Format_RGB32));
    QVERIFY(QFile::exists(path("c.svg")) && QFile::exists(path("c.pdf")));
    QVERIFY(!QFile::exists(path("d.png")) && !QFile::exists(path("c.jpg")));
    QCOMPARE(prompts->errors,
             QStringList{
                 QStringLiteral("图片只能导出为PNG、SVG或PDF文件（扩展名 .png、.svg 或 .pdf）！")});
}

// Ctrl+C copies the chart, wherever the focus is, except from a field with
// selected text, which copies that text.
void TestFormIDTu::copiesThePictureAtTwiceItsSize()
{
    placeTyped(QStringLiteral("W"), QStringLiteral("26"), QStringLiteral("60"));
    typeInto(form->Edit_name, QStringLiteral("AB"));
    const QImage expected =
        ChartImageAt(form->displayList(), 2).convertToFormat(QImage::Format_RGB32);
    const QList<QWidget*> focused{form->Button_quit, form->Edit_name, form->Edit1};
    for (QWidget* focus : focused) {
        QApplication::clipboard()->clear();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), expected.size());
        QVERIFY(copied.convertToFormat(QImage::Format_RGB32) == expected);
    }
    form->Edit_name->selectAll();
    QTest::keyClick(form->Edit_name, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("AB"));
}
QTEST_MAIN(TestFormIDTu)
#include "tst_form_idtu.moc"
