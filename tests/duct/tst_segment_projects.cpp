// Projects and results workbooks of the pipe and duct calculators, driven
// through the bottom row's buttons: each behaviour is checked on both windows
// where they share it. The workbook's cells are the core's tests.
#include "app/Clock.h"
#include "app/DataDir.h"
#include "app/DocumentOpener.h"
#include "app/FileDialogFolder.h"
#include "app/Gbk.h"
#include "duct/Unit_Adv.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "shell/DataSeeds.h"
#include "support/CliRun.h"
#include "support/ScriptedPrompts.h"
#include "support/WorkbookDump.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <sys/mount.h>

namespace
{

const QString kType = QStringLiteral("焊接钢管(GB3092)");

class FixedClock : public Clock
{
public:
    QTime timeOfDay() const override { return QTime(9, 5, 7); }
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSegmentProjects : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    FixedClock clock_;
    std::unique_ptr<Form_BZL_Set> bzl_;
    std::unique_ptr<Form_JZSet_pipe> jz_;
    std::unique_ptr<Form_pipe_DN> dn_;
    std::unique_ptr<Form_Pipe_Set> types_;
    std::unique_ptr<Form_ZL_pipe> pipe_;
    std::unique_ptr<Form_Advanced> advanced_;
    std::unique_ptr<Form_ZL_Duct> duct_;
    QStringList opened_; // what "查看结果" asked the desktop to open

    // One calculator's bottom row and what differs between the two.
    struct Calc {
        QDialog* window;
        QPushButton *newProject, *open, *excel, *browse, *view;
        QLineEdit* fileName;
        QString ext, caption, templateFile;
        const RecordTableStore* table;
        std::function<void(const QString& no)> addSegment;
    };
    Calc calc(const QString& kind)
    {
        if (kind == "pipe")
            return {pipe_.get(),
                    pipe_->Button_new,
                    pipe_->Button_open,
                    pipe_->Button_Excel,
                    pipe_->Button_browse,
                    pipe_->Button_view,
                    pipe_->Edit_FileName,
                    "gzl",
                    "水管道阻力计算-",
                    "ZL_pipe1.DB",
                    &pipe_->segmentTable(),
                    [this](const QString& no) {
                        pipe_->Edit_pipe_No->setText(no);
                        pipe_->Edit_G->setText("1.0");
                        pipe_->RadioButton_DN->click();
                        pipe_->ComboBox_DN->setEditText("25");
                        pipe_->Edit_L->setText("10");
                        pipe_->ComboBox_JZ_Ty->setEditText("闸阀");
                        pipe_->Edit_JZ_n->setText("2");
                        QTest::mouseClick(pipe_->Button_Save, Qt::LeftButton);
                    }};
        return {duct_.get(),
                duct_->Button_new,
                duct_->Button_open,
                duct_->Button_Excel,
                duct_->Button_browse,
                duct_->Button_view,
                duct_->Edit_FileName,
                "dzl",
                "岚禾风管阻力计算-",
                "ZL_duct1.DB",
                &duct_->segmentTable(),
                [this](const QString& no) {
                    duct_->Edit_duct_No->setText(no);
                    duct_->Edit_G->setText("5000");
                    duct_->RadioButton_Yuan->click();
                    duct_->ComboBox_DN->setEditText("500");
                    duct_->Edit_L->setText("10");
                    QTest::mouseClick(duct_->Button_Save, Qt::LeftButton);
                }};
    }
    QString file(const QString& name) const { return dir_->filePath(name); }
    void show(QDialog* window)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        pipe_->ComboBox_pipe->setCurrentIndex(pipe_->ComboBox_pipe->findText(kType));
    }
    // "新建(&N)" answered with `path` and the confirmations given.
    void newProject(const Calc& c, const QString& path, QList<bool> answers = {})
    {
        prompts_->saveAnswers << path;
        prompts_->confirmAnswers.append(answers);
        QTest::mouseClick(c.newProject, Qt::LeftButton);
    }
    void openProject(const Calc& c, const QString& path)
    {
        prompts_->openAnswers << path;
        QTest::mouseClick(c.open, Qt::LeftButton);
    }
    // "高级设置" of the duct window set to air, closed by "确定".
    void setAir(const AirProperties& air)
    {
        QTimer::singleShot(0, advanced_.get(), [this, air] {
            advanced_->setTexts(ExactTexts(air));
            QTest::mouseClick(advanced_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(duct_->Button_Advanced, Qt::LeftButton);
    }
    QString airFields() const
    {
        const AirPropertyTexts t = advanced_->texts();
        return t.nu + "/" + t.rho + "/" + t.K;
    }
    int records(const QString& tablePath)
    {
        RecordTableStore t(*(pipe_->segmentTable().path() == tablePath
                                 ? &pipe_->segmentTable().declaration()
                                 : &duct_->segmentTable().declaration()));
        t.setPath(tablePath);
        t.open();
        return t.recordCount();
    }
    static void addKinds()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("duct") << "duct";
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        DataDir::setOverride(file("data"));
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        installClock(&clock_);
        opened_.clear();
        installDocumentOpener([this](const QString& path) {
            opened_ << path;
            return true;
        });
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
        installDocumentOpener({});
        installClock(nullptr);
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    // The project file byte for byte, the template's copy as its table, the
    // caption and the proposed workbook; a new duct project has the default
    // air whatever the window had.
    void newProjectCreatesItsFiles_data() { addKinds(); }
    void newProjectCreatesItsFiles()
    {
        QFETCH(QString, kind);
        const Calc c = calc(kind);
        show(c.window);
        duct_->setAirProperties({2e-5, 1.1, 0.2});
        c.addSegment("9"); // in the default table, which stays as it is
        const QString project = file("loop1." + c.ext);
        newProject(c, project);

        QCOMPARE(prompts_->saveDialogs.last().title, QStringLiteral("新建文件"));
        QCOMPARE(prompts_->saveDialogs.last().defaultSuffix, c.ext);
        QVERIFY(!prompts_->saveDialogs.last().confirmOverwrite);
        const QByteArray expected =
            kind == "pipe" ? ToGbk(kType) + "\r\n95\r\n70\r\n"
                           : QByteArray(" 1.50600000000000E-0005\r\n 1.20400000000000E+0000\r\n"
                                        " 1.50000000000000E-0001\r\n");
        QCOMPARE(bytesOf(project), expected);
        QCOMPARE(bytesOf(file("loop1.DB")), bytesOf(DataDir::file(c.templateFile)));
        QCOMPARE(c.table->path(), file("loop1.DB"));
        QCOMPARE(c.window->windowTitle(), c.caption + "[loop1." + c.ext + "]");
        QCOMPARE(c.fileName->text(), QDir::toNativeSeparators(file("loop1.xlsx")));
        QCOMPARE(c.table->recordCount(), 0);
        QVERIFY(prompts_->errors.isEmpty());
        if (kind == "duct") {
            QCOMPARE(duct_->airProperties(), AirProperties{});
            QCOMPARE(advanced_->Edit_miu->text(), QStringLiteral("0.00001506"));
        }
    }

    // An existing project file and an existing table are each replaced only
    // after their question; "否" leaves everything as it was.
    void replacingAsksFirst_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("yes");
        for (const char* kind : {"pipe", "duct"}) {
            QTest::addRow("%s no", kind) << kind << false;
            QTest::addRow("%s yes", kind) << kind << true;
        }
    }
    void replacingAsksFirst()
    {
        QFETCH(QString, kind);
        QFETCH(bool, yes);
        const Calc c = calc(kind);
        show(c.window);
        const QString project = file("a." + c.ext);
        newProject(c, project);
        c.addSegment("1");
        // The same base: a.v2 shares a.DB, which holds a segment.
        newProject(c, file("a.v2." + c.ext), {yes});
        QCOMPARE(prompts_->confirmations.last(),
                 QStringLiteral("管段表“%1”已经存在，新建工程将用空表替换它，其中的管段将全部丢失。"
                                "确实要替换吗？")
                     .arg(QDir::toNativeSeparators(file("a.DB"))));
        QCOMPARE(QFile::exists(file("a.v2." + c.ext)), yes);
        QCOMPARE(records(file("a.DB")), yes ? 0 : 1);
        QCOMPARE(c.window->windowTitle(), c.caption + (yes ? "[a.v2." : "[a.") + c.ext + "]");

        const QByteArray before = bytesOf(project);
        newProject(c, project, {false});
        QCOMPARE(prompts_->confirmations.last(),
                 QStringLiteral("该文件已经存在，确实要覆盖该文件码?"));
        QCOMPARE(bytesOf(project), before);
        QVERIFY(prompts_->errors.isEmpty());
    }

    // Opening puts back what the project was created with, not later edits.
    void openRestoresTheCreatedState()
    {
        const Calc p = calc("pipe");
        show(pipe_.get());
        newProject(p, file("loop1.gzl"));
        p.addSegment("1");
        pipe_->Edit_T1->setText("80");
        pipe_->ComboBox_pipe->setEditText("铜管");
        newProject(p, file("other.gzl"));
        openProject(p, file("loop1.gzl"));
        QCOMPARE(pipe_->ComboBox_pipe->currentText() + "/" + pipe_->Edit_T1->text() + "/" +
                     pipe_->Edit_T2->text(),
                 kType + "/95/70");
        QCOMPARE(pipe_->ListBox_pipe->count(), 1);
        QCOMPARE(pipe_->windowTitle(), QStringLiteral("水管道阻力计算-[loop1.gzl]"));
        QCOMPARE(prompts_->openDialogs.last().filter, QStringLiteral("管道阻力(*.gzl)"));

        // A duct project written by hand, its numbers in any decimal form,
        // reaches the advanced dialog's fields.
        const Calc d = calc("duct");
        show(duct_.get());
        writeFile(file("hand.dzl"), "1.5e-5\r\n1.2\r\n0.1\r\n");
        QVERIFY(QFile::copy(DataDir::file("ZL_duct1.DB"), file("hand.DB")));
        openProject(d, file("hand.dzl"));
        QCOMPARE(duct_->airProperties(), (AirProperties{1.5e-5, 1.2, 0.1}));
        QCOMPARE(advanced_->texts().nu + "/" + advanced_->texts().rho + "/" + advanced_->texts().K,
                 QStringLiteral("0.000015/1.2/0.1"));
        QVERIFY(prompts_->errors.isEmpty());
    }

    // A project that cannot be opened leaves the open one as it was.
    void failedOpenKeepsTheOpenProject_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content"); // of b.<ext>; b.DB is missing unless "table"
        QTest::addColumn<bool>("table");
        QTest::newRow("pipe, no table") << "pipe" << QByteArray("x\r\n95\r\n70\r\n") << false;
        QTest::newRow("pipe, two lines") << "pipe" << QByteArray("x\r\n95\r\n") << true;
        QTest::newRow("duct, no table") << "duct" << QByteArray("1\r\n1\r\n1\r\n") << false;
        QTest::newRow("duct, no number") << "duct" << QByteArray("1\r\nabc\r\n1\r\n") << true;
        QTest::newRow("duct, table not a table") << "duct" << QByteArray("1\r\n1\r\n1\r\n") << true;
        // Air the advanced dialog refuses is refused in a file too.
        QTest::newRow("duct, viscosity -1") << "duct" << QByteArray("-1\r\n1.2\r\n0.1\r\n") << true;
        QTest::newRow("duct, density 0") << "duct" << QByteArray("1.5e-5\r\n0\r\n0.1\r\n") << true;
        QTest::newRow("duct, roughness -5")
            << "duct" << QByteArray("1.5e-5\r\n1.2\r\n-5\r\n") << true;
        QTest::newRow("duct, nan") << "duct" << QByteArray("1.5e-5\r\nnan\r\n0.1\r\n") << true;
    }
    void failedOpenKeepsTheOpenProject()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(bool, table);
        const Calc c = calc(kind);
        show(c.window);
        newProject(c, file("a." + c.ext));
        c.addSegment("1");
        const AirProperties air{2e-5, 1.1, 0.2};
        if (kind == "duct")
            setAir(air);
        const QString caption = c.window->windowTitle();
        writeFile(file("b." + c.ext), content);
        if (table)
            writeFile(file("b.DB"), QTest::currentDataTag() == QByteArray("duct, table not a table")
                                        ? QByteArray("not a table")
                                        : bytesOf(DataDir::file(c.templateFile)));
        openProject(c, file("b." + c.ext));
        QCOMPARE(prompts_->errors.size(), 1);
        QCOMPARE(c.window->windowTitle(), caption);
        QCOMPARE(c.fileName->text(), QDir::toNativeSeparators(file("a.xlsx")));
        QCOMPARE(c.table->path(), file("a.DB"));
        QVERIFY(c.table->isOpen());
        QCOMPARE(c.table->recordCount(), 1);
        if (kind == "duct") {
            QCOMPARE(duct_->airProperties(), air);
            QCOMPARE(airFields(), QStringLiteral("0.00002/1.1/0.2"));
        }
    }

    // A duct project keeps the air set while it is open: its file holds it
    // (in the file's own form), and opening the project again or showing the
    // window again brings it back, beside the segments computed with it and
    // in the workbook. A project file that cannot be replaced leaves the air
    // in force as it was, and the user is told.
    void ductProjectKeepsItsAir()
    {
        const Calc d = calc("duct");
        show(duct_.get());
        newProject(d, file("a.dzl"));
        const AirProperties air{1.57e-5, 1.15, 0.1};
        setAir(air);
        QCOMPARE(bytesOf(file("a.dzl")), QByteArray(" 1.57000000000000E-0005\r\n"
                                                    " 1.15000000000000E+0000\r\n"
                                                    " 1.00000000000000E-0001\r\n"));
        for (const char* no : {"1", "2", "3"})
            d.addSegment(no);
        const QVariant Pm = duct_->segmentTable().records()[0].values[6];

        duct_->hide();
        show(duct_.get());
        QCOMPARE(duct_->airProperties(), air);
        QCOMPARE(airFields(), QStringLiteral("0.0000157/1.15/0.1"));
        newProject(d, file("b.dzl"));
        QCOMPARE(duct_->airProperties(), AirProperties{});
        openProject(d, file("a.dzl"));
        QCOMPARE(duct_->airProperties(), air);
        QCOMPARE(airFields(), QStringLiteral("0.0000157/1.15/0.1"));
        d.addSegment("1"); // computed again alike
        QCOMPARE(duct_->segmentTable().records()[0].values[6], Pm);

        QTest::mouseClick(d.excel, Qt::LeftButton);
        const QJsonObject dump = DumpWorkbook(file("a.xlsx"));
        QCOMPARE(CellText(dump, "A6"), QStringLiteral("密度(kg/m3)：       1.15"));
        QCOMPARE(CellText(dump, "A7"), QStringLiteral("运动粘滞系数(m2/s)：0.0000157000"));
        QCOMPARE(CellText(dump, "A8"), QStringLiteral("管壁粗糙度(mm)：    0.100"));
        QVERIFY(prompts_->errors.isEmpty());

        // A folder where the project file was: it cannot be replaced.
        QVERIFY(QFile::remove(file("a.dzl")) && QDir().mkdir(file("a.dzl")));
        setAir({1.6e-5, 1.3, 0.2});
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors[0].startsWith("无法写入工程文件“" +
                                               QDir::toNativeSeparators(file("a.dzl")) + "”"));
        QVERIFY(prompts_->errors[0].endsWith("空气参数未改变！"));
        QCOMPARE(duct_->airProperties(), air);
        QCOMPARE(airFields(), QStringLiteral("0.0000157/1.15/0.1"));
        QCOMPARE(QDir(dir_->path()).entryList({"a.dzl*"}, QDir::Files), QStringList());
    }

    // "输出到Excel": the time from the clock, the question before replacing,
    // nothing lost on a failure; "浏览" and "查看结果".
    void workbookOutput_data() { addKinds(); }
    void workbookOutput()
    {
        QFETCH(QString, kind);
        const Calc c = calc(kind);
        show(c.window);
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QTest::mouseClick(c.view, Qt::LeftButton);
        QCOMPARE(prompts_->errors,
                 QStringList({"请输入结果输出文件名！", "请输入结果输出文件名！"}));
        prompts_->errors.clear();

        newProject(c, file("loop1." + c.ext));
        c.addSegment("1");
        const QString xlsx = file("loop1.xlsx");
        QTest::mouseClick(c.view, Qt::LeftButton);
        QCOMPARE(prompts_->takeError(), QStringLiteral("所查看的结果文件不存在！"));
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        const QJsonObject dump = DumpWorkbook(xlsx);
        QCOMPARE(CellText(dump, "A4"), QStringLiteral("计算时间： 09:05:07"));
        QCOMPARE(CellText(dump, "A5"), "文件名:    loop1." + c.ext);
        QCOMPARE(dump["maxRow"].toInt(), kind == "pipe" ? 19 : 14);

        // Asked once, by the window: "否" keeps the file.
        const QByteArray before = bytesOf(xlsx);
        prompts_->confirmAnswers << false;
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QCOMPARE(prompts_->confirmations.last(), QStringLiteral("该文件已经存在，覆盖该文件吗？"));
        QCOMPARE(bytesOf(xlsx), before);

        c.fileName->setText(file("missing/r.xlsx"));
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QCOMPARE(
            prompts_->takeError(),
            QStringLiteral("计算结果未保存！\n无法写入文件“%1”，文件未保存：文件或文件夹不存在")
                .arg(QDir::toNativeSeparators(file("missing/r.xlsx"))));
        QVERIFY(c.window->isVisible() && c.excel->isEnabled());

        prompts_->saveAnswers << xlsx;
        QTest::mouseClick(c.browse, Qt::LeftButton);
        QCOMPARE(prompts_->saveDialogs.last().title, QStringLiteral("结果输出"));
        QCOMPARE(prompts_->saveDialogs.last().filter,
                 QStringLiteral("Microsoft Excel文件(*.xlsx)"));
        QVERIFY(!prompts_->saveDialogs.last().confirmOverwrite);
        QCOMPARE(c.fileName->text(), QDir::toNativeSeparators(xlsx));
        QTest::mouseClick(c.view, Qt::LeftButton);
        QCOMPARE(opened_, QStringList{QDir::toNativeSeparators(xlsx)});
        QVERIFY(prompts_->errors.isEmpty());
    }

    // Where the file dialogs open: the window's project folder while it has
    // a project, else the folder last chosen in any dialog of the program,
    // else the home folder. Steps: "new", "open" or "browse" in the pipe
    // ("p") or duct ("d") window, answered with a path under the test folder.
    void fileDialogsOpenInTheProjectOrLastFolder_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("asking"); // the window whose "浏览" is asked
        QTest::addColumn<QString>("folder"); // offered, under the test folder
        QTest::newRow("nothing chosen yet") << QStringList() << "pipe"
                                            << "home";
        QTest::newRow("a result file chosen elsewhere")
            << QStringList{"p browse out/r.xlsx"} << "duct"
            << "out";
        QTest::newRow("a project opened")
            << QStringList{"p browse out/r.xlsx", "p open job/a.gzl"} << "pipe"
            << "job";
        QTest::newRow("the project's folder wins over a later choice")
            << QStringList{"p open job/a.gzl", "p browse out/r.xlsx"} << "pipe"
            << "job";
        QTest::newRow("the other window offers the last folder")
            << QStringList{"p new job/b.gzl", "p browse out/r.xlsx"} << "duct"
            << "out";
    }
    void fileDialogsOpenInTheProjectOrLastFolder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, asking);
        QFETCH(QString, folder);
        const QByteArray home = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([home] { qputenv("HOME", home); });
        qputenv("HOME", file("home").toUtf8());
        for (const char* sub : {"home", "out", "job"})
            QVERIFY(QDir(dir_->path()).mkpath(QString::fromLatin1(sub)));
        writeFile(file("job/a.gzl"), ToGbk(kType) + "\r\n95\r\n70\r\n");
        QVERIFY(QFile::copy(DataDir::file("ZL_pipe1.DB"), file("job/a.DB")));
        ForgetFileDialogChoices();
        show(pipe_.get());
        for (const QString& step : steps) {
            const Calc c = calc(step.startsWith('p') ? "pipe" : "duct");
            const QString action = step.section(' ', 1, 1), path = file(step.section(' ', 2));
            if (action == "new")
                newProject(c, path);
            else if (action == "open")
                openProject(c, path);
            else {
                prompts_->saveAnswers << path;
                QTest::mouseClick(c.browse, Qt::LeftButton);
            }
        }
        prompts_->saveAnswers << QString(); // cancelled
        QTest::mouseClick(calc(asking).browse, Qt::LeftButton);
        QCOMPARE(prompts_->saveDialogs.last().directory, file(folder));
        QVERIFY(prompts_->errors.isEmpty());
    }

    // On a full disk (a small tmpfs) "输出到Excel" keeps the workbook it was
    // to replace and says why, and "新建" keeps the project the window had:
    // neither leaves a file of its own behind.
    void fullDiskLosesNothing_data() { addKinds(); }
    void fullDiskLosesNothing()
    {
        QFETCH(QString, kind);
        const Calc c = calc(kind);
        const QString disk = file("disk");
        QVERIFY(QDir().mkpath(disk));
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("cannot mount a small tmpfs here (the tests run as root in CI)");
        const auto unmount =
            qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        show(c.window);
        newProject(c, disk + "/loop1." + c.ext);
        c.addSegment("1");
        const QString xlsx = disk + "/loop1.xlsx";
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        const QByteArray workbook = bytesOf(xlsx);
        QVERIFY(!workbook.isEmpty());
        const QString caption = c.window->windowTitle();
        const QStringList files =
            QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        // Full but for one page: every write starts and runs out of room.
        {
            QFile filler(disk + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
            filler.close();
            QVERIFY(filler.resize(filler.size() - 4096));
        }
        prompts_->confirmAnswers << true;
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QCOMPARE(prompts_->errors.size(), 1);
        const QString message = prompts_->takeError();
        QVERIFY2(message.startsWith("计算结果未保存！\n") && message.contains("磁盘已满") &&
                     message.contains(QDir::toNativeSeparators(xlsx)),
                 qPrintable(message));
        QCOMPARE(bytesOf(xlsx), workbook);

        newProject(c, disk + "/loop2." + c.ext);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->takeError().contains("磁盘已满"), "the new project's message");
        QCOMPARE(c.window->windowTitle(), caption);
        QCOMPARE(c.table->path(), disk + "/loop1.DB");
        QCOMPARE(c.fileName->text(), QDir::toNativeSeparators(xlsx));
        QFile::remove(disk + "/filler");
        QCOMPARE(QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 files);
        QCOMPARE(records(disk + "/loop1.DB"), 1);
    }

    // The pipe heading's water needs a type and temperatures it can use: a
    // refusal names the reason and writes nothing.
    void pipeWorkbookRefusedWithoutItsWater()
    {
        show(pipe_.get());
        pipe_->Edit_FileName->setText(file("r.xlsx"));
        pipe_->Edit_T1->clear();
        QTest::mouseClick(pipe_->Button_Excel, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList{"请输入供水温度！"});
        QVERIFY(!QFile::exists(file("r.xlsx")));
    }

    // A table holding a number no calculation stores (REAL 1e999 written by
    // another program) is refused before the workbook, naming the record.
    // A project whose table holds a value no calculation stores is not
    // opened: the window keeps the project it had.
    void damagedTableRefusedOnOpening_data() { addKinds(); }
    void damagedTableRefusedOnOpening()
    {
        QFETCH(QString, kind);
        const Calc c = calc(kind);
        show(c.window);
        newProject(c, file("good." + c.ext));
        c.addSegment("7");
        newProject(c, file("bad." + c.ext));
        c.addSegment("1");
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(file("bad.DB")).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "UPDATE records SET ZL_z = 1e999", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        openProject(c, file("good." + c.ext));
        QVERIFY(prompts_->errors.isEmpty());
        openProject(c, file("bad." + c.ext));
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors[0].contains(
            QStringLiteral("第1条记录（管段编号“1”）中总阻力（ZL_z）")));
        QVERIFY(c.window->windowTitle().contains(QStringLiteral("[good.")));
        const auto* list = c.window->findChild<QListWidget*>();
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("7"));
    }

    // ventacalc-cli writes the same workbook from the project's files.
    void cliWritesTheWindowsWorkbook_data() { addKinds(); }
    void cliWritesTheWindowsWorkbook()
    {
        QFETCH(QString, kind);
        const Calc c = calc(kind);
        show(c.window);
        newProject(c, file("p." + c.ext));
        if (kind == "duct")
            setAir({1.57e-5, 1.15, 0.1}); // the project's, printed by both
        c.addSegment("1");
        c.addSegment("2");
        QTest::mouseClick(c.excel, Qt::LeftButton);
        QStringList args{kind, "--project", file("p." + c.ext), "--xlsx", file("cli.xlsx")};
        if (kind == "pipe")
            args << "--data-dir" << file("data");
        const CliRun run = RunCli(args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QJsonObject window = DumpWorkbook(file("p.xlsx"));
        QJsonObject cli = DumpWorkbook(file("cli.xlsx"));
        QVERIFY(!window.isEmpty() && !cli.isEmpty());
        for (QJsonObject* dump : {&window, &cli}) { // the time of day differs
            QJsonObject cells = (*dump)["cells"].toObject();
            cells.remove("A4");
            dump->insert("cells", cells);
        }
        QCOMPARE(cli, window);
        if (kind == "duct")
            QCOMPARE(CellText(cli, "A6"), QStringLiteral("密度(kg/m3)：       1.15"));
    }
};

QTEST_MAIN(TestSegmentProjects)
#include "tst_segment_projects.moc"
