// The loops dialog of the pipe and duct windows, headless: loops and groups
// typed or picked, what it shows of them, what it stores beside the segment
// table and what it refuses. The figures themselves are the core's tests;
// here they are compared with the segment table the window stored.
#include "app/DataDir.h"
#include "app/Numbers.h"
#include "app/SegmentLoops.h"
#include "app/TextReport.h"
#include "app/Unit_Loops.h"
#include "duct/Unit_Adv.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/mount.h>

namespace
{
const QString kType = QStringLiteral("焊接钢管(GB3092)");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList row(const QTableWidget* grid, int r)
{
    QStringList cells;
    for (int column = 0; column < grid->columnCount(); ++column)
        cells << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return cells;
}
} // namespace

class TestFormLoops : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_BZL_Set> bzl_;
    std::unique_ptr<Form_JZSet_pipe> jz_;
    std::unique_ptr<Form_pipe_DN> dn_;
    std::unique_ptr<Form_Pipe_Set> types_;
    std::unique_ptr<Form_ZL_pipe> pipe_;
    std::unique_ptr<Form_Advanced> advanced_;
    std::unique_ptr<Form_ZL_Duct> duct_;

    Form_Loops* loops() const { return pipe_->loopsDialog(); }

    void showPipe()
    {
        pipe_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pipe_.get()));
        pipe_->ComboBox_pipe->setCurrentIndex(pipe_->ComboBox_pipe->findText(kType));
    }
    void addPipeSegment(const QString& no, const QString& length)
    {
        pipe_->Edit_pipe_No->setText(no);
        pipe_->RadioButton_G->click();
        pipe_->Edit_G->setText("1.0");
        pipe_->RadioButton_DN->click();
        pipe_->ComboBox_DN->setEditText("25");
        pipe_->Edit_L->setText(length);
        pipe_->ComboBox_JZ_Ty->setEditText("闸阀");
        pipe_->Edit_JZ_n->setText("2");
        QTest::mouseClick(pipe_->Button_Save, Qt::LeftButton);
    }
    // Six segments of different lengths, so that no two loops are equal.
    void addSixSegments()
    {
        const QStringList lengths{"10", "40", "30", "15", "20", "5"};
        for (int k = 0; k < lengths.size(); ++k)
            addPipeSegment(QString::number(k + 1), lengths[k]);
        QCOMPARE(pipe_->segmentTable().recordCount(), 6);
    }
    void openLoops()
    {
        QTest::mouseClick(pipe_->Button_loops, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(loops()));
    }
    void putLoop(const QString& name, const QString& segments)
    {
        loops()->Edit_loop_name->setText(name);
        loops()->Edit_loop_segments->setText(segments);
        QTest::mouseClick(loops()->Button_loop_save, Qt::LeftButton);
    }
    void putGroup(const QStringList& names)
    {
        QTest::mouseClick(loops()->Button_group_add, Qt::LeftButton);
        for (int r = 0; r < loops()->ListBox_group_loops->count(); ++r) {
            QListWidgetItem* item = loops()->ListBox_group_loops->item(r);
            item->setCheckState(names.contains(item->text()) ? Qt::Checked : Qt::Unchecked);
        }
        QTest::mouseClick(loops()->Button_group_save, Qt::LeftButton);
    }
    // The 总阻力 the window stored for a segment, Pa.
    double total(const QString& no) const
    {
        const RecordTableStore& table = pipe_->segmentTable();
        int number = -1, zlz = -1;
        for (int f = 0; f < table.fieldCount(); ++f) {
            if (table.fieldName(f).compare("Pipe_No", Qt::CaseInsensitive) == 0)
                number = f;
            if (table.fieldName(f).compare("ZL_z", Qt::CaseInsensitive) == 0)
                zlz = f;
        }
        for (const RecordTableStore::Record& r : table.records())
            if (r.values[size_t(number)].toString() == no)
                return r.values[size_t(zlz)].toDouble();
        return 0;
    }
    double sum(const QStringList& numbers) const
    {
        double s = 0;
        for (const QString& no : numbers)
            s += total(no);
        return s;
    }
    static QString pa(double value) { return FormatNumber(value, "0.0"); }
    static QString percent(double fraction) { return FormatNumber(fraction * 100, "0.0"); }
    QString loopsFile() const { return SegmentLoopsPath(pipe_->segmentTable().path()); }

    // The two parallel loops A = 1,2,3 and B = 1,4,5, A typed and B picked.
    void addTheTwoLoops()
    {
        putLoop("A", "1,2,3");
        loops()->Edit_loop_name->setText("B");
        loops()->Edit_loop_segments->setText("1");
        for (const char* no : {"4", "5"})
            loops()->ListBox_segments->findItems(no, Qt::MatchExactly).first()->setSelected(true);
        QTest::mouseClick(loops()->Button_pick, Qt::LeftButton);
        QCOMPARE(loops()->Edit_loop_segments->text(), QStringLiteral("1,4,5"));
        QTest::mouseClick(loops()->Button_loop_save, Qt::LeftButton);
        putGroup({"A", "B"});
    }
    // The pair's figures as the dialog must show them, from the table.
    void checkPairShown()
    {
        const double a = sum({"1", "2", "3"}), b = sum({"1", "4", "5"});
        QVERIFY(a > b);
        QCOMPARE(loops()->DBGrid_loops->rowCount(), 2);
        QCOMPARE(row(loops()->DBGrid_loops, 0),
                 (QStringList{"A", "1,2,3", "3", pa(a), "100.0", "最不利环路"}));
        QCOMPARE(row(loops()->DBGrid_loops, 1).mid(0, 5),
                 (QStringList{"B", "1,4,5", "3", pa(b), percent(b / a)}));
        const double nonA = a - total("1"), nonB = b - total("1");
        const double difference = (nonA - nonB) / nonA;
        QCOMPARE(loops()->DBGrid_groups->rowCount(), 2);
        QCOMPARE(row(loops()->DBGrid_groups, 1).mid(0, 5),
                 (QStringList{"A、B", "1", "B", pa(nonB), percent(difference)}));
        QCOMPARE(row(loops()->DBGrid_groups, 1).last().startsWith("超过15%"), difference > 0.15);
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        DataDir::setOverride(dir_->filePath("data"));
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        bzl_ = std::make_unique<Form_BZL_Set>();
        jz_ = std::make_unique<Form_JZSet_pipe>();
        dn_ = std::make_unique<Form_pipe_DN>();
        types_ = std::make_unique<Form_Pipe_Set>(*dn_);
        pipe_ = std::make_unique<Form_ZL_pipe>(*bzl_, *jz_, *types_);
        advanced_ = std::make_unique<Form_Advanced>();
        duct_ = std::make_unique<Form_ZL_Duct>(*advanced_);
    }
    void cleanup()
    {
        duct_.reset(), advanced_.reset();
        pipe_.reset(), types_.reset(), dn_.reset(), jz_.reset(), bzl_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    // Six segments, two parallel loops: each loop's sum and the pair's
    // difference, stored beside the table; the figures follow the window's
    // segment edits while the dialog is open, and the report is theirs.
    void twoParallelLoopsOfSixSegments()
    {
        showPipe();
        addSixSegments();
        openLoops();
        QCOMPARE(loops()->ListBox_segments->count(), 6);
        QCOMPARE(loops()->Edit_limit->text(), QStringLiteral("15"));
        addTheTwoLoops();
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('\n')));
        checkPairShown();
        QCOMPARE(ReadSegmentLoops(loopsFile()), loops()->loops());
        QCOMPARE(loops()->loops().groups.size(), size_t(1));

        // Segment 4 made longer in the window: B's figures follow at once.
        const double before = sum({"1", "4", "5"});
        addPipeSegment("4", "60");
        QVERIFY(sum({"1", "4", "5"}) > before);
        QCOMPARE(row(loops()->DBGrid_loops, 1)[3], pa(sum({"1", "4", "5"})));
        // Segment 5 deleted: B says so and counts the rest.
        pipe_->ListBox_pipe->setCurrentRow(4);
        prompts_->confirmAnswers << true;
        QTest::mouseClick(pipe_->Button_del, Qt::LeftButton);
        QVERIFY(row(loops()->DBGrid_loops, 1).last().contains("5"));
        QCOMPARE(row(loops()->DBGrid_loops, 1)[3], pa(sum({"1", "4"})));

        // The report: the figures shown, saved and printed.
        const QString report = dir_->filePath("loops.txt");
        prompts_->saveAnswers << report;
        QTest::mouseClick(loops()->Button_new, Qt::LeftButton);
        QTest::mouseClick(loops()->Button_save, Qt::LeftButton);
        QCOMPARE(bytesOf(report), TextFileBytes(LoopReportLines(loops()->figures())));
        const QString pdf = dir_->filePath("loops.pdf");
        prompts_->printAnswers << pdf;
        QTest::mouseClick(loops()->Button_print, Qt::LeftButton);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(prompts_->errors.isEmpty());

        // Another project: its own (no) loops; the default table's stay.
        const QString defaultLoops = loopsFile();
        prompts_->saveAnswers << dir_->filePath("house.gzl");
        QTest::mouseClick(pipe_->Button_new, Qt::LeftButton);
        QCOMPARE(loops()->loopsPath(), dir_->filePath("house.HL"));
        QCOMPARE(loops()->ListBox_loops->count(), 0);
        QCOMPARE(loops()->DBGrid_loops->rowCount(), 0);
        QVERIFY(QFile::exists(defaultLoops));
        QVERIFY(!QFile::exists(dir_->filePath("house.HL")));

        // Closing the window closes the dialog with it.
        pipe_->close();
        QVERIFY(!loops()->isVisible());
    }

    // A refused loop, group or limit: one box naming what was refused, the
    // stored loops and the file as they were.
    void refusalsStoreNothing_data()
    {
        QTest::addColumn<QString>("step"); // loop NAME=SEGMENTS, group NAMES, limit TEXT
        QTest::addColumn<QString>("named");
        QTest::newRow("no segments") << "loop C="
                                     << "C";
        QTest::newRow("segment not in the table") << "loop C=1,9"
                                                  << "9";
        QTest::newRow("segment twice") << "loop C=1,2,1"
                                       << "C";
        QTest::newRow("empty number") << "loop C=1,,2"
                                      << "1,,2";
        QTest::newRow("no name") << "loop =1,2"
                                 << "环路名称";
        QTest::newRow("name with a comma") << "loop C,D=1,2"
                                           << "C,D";
        QTest::newRow("group of one loop") << "group A"
                                           << "“A”";
        QTest::newRow("group again") << "group A,B"
                                     << "A、B";
        QTest::newRow("limit 0") << "limit 0"
                                 << "平衡限值";
        QTest::newRow("limit 100") << "limit 100"
                                   << "平衡限值";
        QTest::newRow("limit no number") << "limit abc"
                                         << "abc";
    }
    void refusalsStoreNothing()
    {
        QFETCH(QString, step);
        QFETCH(QString, named);
        showPipe();
        addSixSegments();
        openLoops();
        addTheTwoLoops();
        QVERIFY(prompts_->errors.isEmpty());
        const SegmentLoops stored = loops()->loops();
        const QByteArray bytes = bytesOf(loopsFile());

        const QString kind = step.section(' ', 0, 0), arg = step.section(' ', 1);
        if (kind == "loop")
            putLoop(arg.section('=', 0, 0), arg.section('=', 1));
        else if (kind == "group")
            putGroup(arg.split(','));
        else {
            loops()->Edit_limit->setText(arg);
            QTest::mouseClick(loops()->Button_limit, Qt::LeftButton);
        }
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->errors.first().contains(named), qPrintable(prompts_->errors.first()));
        QCOMPARE(loops()->loops(), stored);
        QCOMPARE(bytesOf(loopsFile()), bytes);
        QCOMPARE(loops()->ListBox_loops->count(), 2);
    }

    // Deleting asks first, 否 by default: No keeps everything, Yes deletes,
    // and a group left with one loop goes with it (the question says so).
    void deletingAsksFirst_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("yes");
        QTest::newRow("loop, no") << "loop" << false;
        QTest::newRow("loop, yes") << "loop" << true;
        QTest::newRow("group, no") << "group" << false;
        QTest::newRow("group, yes") << "group" << true;
    }
    void deletingAsksFirst()
    {
        QFETCH(QString, what);
        QFETCH(bool, yes);
        showPipe();
        addSixSegments();
        openLoops();
        addTheTwoLoops();
        const SegmentLoops stored = loops()->loops();

        prompts_->confirmAnswers << yes;
        if (what == "loop") {
            loops()->ListBox_loops->setCurrentRow(1);
            QTest::mouseClick(loops()->Button_loop_del, Qt::LeftButton);
            QCOMPARE(
                prompts_->confirmations,
                QStringList{"确实要删除环路“B”吗？\n只剩一个环路的并联环路组“A、B”也将删除。"});
        } else {
            loops()->ListBox_groups->setCurrentRow(0);
            QTest::mouseClick(loops()->Button_group_del, Qt::LeftButton);
            QCOMPARE(prompts_->confirmations, QStringList{"确实要删除并联环路组“A、B”吗？"});
        }
        QCOMPARE(prompts_->confirmDefaults, QList<DefaultAnswer>{DefaultAnswer::No});
        QVERIFY(prompts_->errors.isEmpty());
        SegmentLoops expected = stored;
        if (yes && what == "loop")
            expected.loops.pop_back();
        if (yes)
            expected.groups.clear();
        QCOMPARE(loops()->loops(), expected);
        QCOMPARE(ReadSegmentLoops(loopsFile()), expected);
        QCOMPARE(loops()->DBGrid_groups->rowCount(), yes ? 0 : 2);

        // Nothing selected: one box, no question.
        loops()->ListBox_loops->clearSelection();
        QTest::mouseClick(loops()->Button_loop_del, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList{"请选择环路！"});
        QCOMPARE(prompts_->confirmations.size(), 1);
    }

    // On a full disk a change is refused with the reason; the loops file
    // and the dialog keep the loops they had.
    void fullDiskKeepsTheLoops()
    {
        const QString disk = dir_->filePath("disk");
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("cannot mount a small tmpfs here (the tests run as root in CI)");
        const auto unmount =
            qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        showPipe();
        prompts_->saveAnswers << disk + "/loop1.gzl";
        QTest::mouseClick(pipe_->Button_new, Qt::LeftButton);
        addSixSegments();
        openLoops();
        addTheTwoLoops();
        QVERIFY(prompts_->errors.isEmpty());
        const QByteArray bytes = bytesOf(disk + "/loop1.HL");
        QVERIFY(!bytes.isEmpty());
        const SegmentLoops stored = loops()->loops();
        {
            QFile filler(disk + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        putLoop("C", "1,6");
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->errors.first().startsWith("环路未保存！\n"),
                 qPrintable(prompts_->errors.first()));
        QCOMPARE(loops()->loops(), stored);
        QCOMPARE(loops()->ListBox_loops->count(), 2);
        QCOMPARE(bytesOf(disk + "/loop1.HL"), bytes);
    }

    // The duct window opens the same dialog on its own table.
    void ductWindowOpensTheDialog()
    {
        duct_->show();
        QVERIFY(QTest::qWaitForWindowExposed(duct_.get()));
        QCOMPARE(duct_->Button_loops->text(), QStringLiteral("环路(&U)..."));
        for (const char* no : {"1", "2"}) {
            duct_->Edit_duct_No->setText(no);
            duct_->Edit_G->setText("5000");
            duct_->RadioButton_Yuan->click();
            duct_->ComboBox_DN->setEditText("500");
            duct_->Edit_L->setText("10");
            QTest::mouseClick(duct_->Button_Save, Qt::LeftButton);
        }
        QTest::mouseClick(duct_->Button_loops, Qt::LeftButton);
        Form_Loops* dialog = duct_->loopsDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->ListBox_segments->count(), 2);
        dialog->Edit_loop_name->setText("X");
        dialog->Edit_loop_segments->setText("1,2");
        QTest::mouseClick(dialog->Button_loop_save, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(dialog->loopsPath(), DataDir::file("ZL_Duct.HL"));
        QCOMPARE(ReadSegmentLoops(dialog->loopsPath()).loops.size(), size_t(1));
        QCOMPARE(row(dialog->DBGrid_loops, 0).mid(0, 3), (QStringList{"X", "1,2", "2"}));
        QCOMPARE(row(dialog->DBGrid_loops, 0).last(), QStringLiteral("最不利环路"));
    }
};

QTEST_MAIN(TestFormLoops)
#include "tst_form_loops.moc"
