// A project file given on the command line opens in the calculator of its
// kind over the main menu, as the menu's button and "打开(&O)" would open it;
// a file that cannot be opened is one error box and leaves only the menu.
#include "app/DataDir.h"
#include "app/FileDialogFolder.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/Unit_ZL_pipe.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "shell/StartupProject.h"
#include "shell/Unit_main.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString kType = QStringLiteral("焊接钢管(GB3092)");

// What the calculator shown over the menu held while it was open.
struct Seen {
    QWidget* window = nullptr;
    bool applicationModal = false;
    QString title;
    QStringList listed;
};

void seeSegments(Seen& seen, QDialog* window, QListWidget* list)
{
    seen.applicationModal = window->windowModality() == Qt::ApplicationModal;
    seen.title = window->windowTitle();
    for (int row = 0; row < list->count(); ++row)
        seen.listed << list->item(row)->text();
}
} // namespace

class TestStartupProject : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString folder_; // the projects' folder, its name with a space and Chinese
    std::unique_ptr<ScriptedPrompts> prompts_;

    QString file(const QString& name) const { return folder_ + "/" + name; }
    void copy(const QString& from, const QString& to)
    {
        QVERIFY(QFile::copy(file(from), file(to)));
    }
    // Every file under the temporary folder (projects and data directory)
    // with its size and time of change.
    QStringList snapshot() const
    {
        QStringList files;
        QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            files << QStringLiteral("%1 %2 %3")
                         .arg(info.filePath())
                         .arg(info.size())
                         .arg(info.lastModified().toMSecsSinceEpoch());
        }
        files.sort();
        return files;
    }

private slots:
    // A water pipe project with segment 7 and a duct project with segment 3,
    // made by the calculators' own "新建(&N)" and "计算和保存(&S)".
    void initTestCase()
    {
        RegisterDataSeeds();
        QVERIFY(dir_.isValid());
        DataDir::setOverride(dir_.filePath("data"));
        DataDir::ensure();
        folder_ = dir_.filePath(QStringLiteral("工程 目录"));
        QVERIFY(QDir().mkpath(folder_));
        prompts_ = std::make_unique<ScriptedPrompts>();

        AppWindows w;
        w.pipe->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.pipe));
        w.pipe->ComboBox_pipe->setCurrentIndex(w.pipe->ComboBox_pipe->findText(kType));
        prompts_->saveAnswers << file("水管 工程.gzl");
        QTest::mouseClick(w.pipe->Button_new, Qt::LeftButton);
        w.pipe->Edit_pipe_No->setText("7");
        w.pipe->Edit_G->setText("1.0");
        w.pipe->RadioButton_DN->click();
        w.pipe->ComboBox_DN->setEditText("25");
        w.pipe->Edit_L->setText("10");
        w.pipe->ComboBox_JZ_Ty->setEditText("闸阀");
        w.pipe->Edit_JZ_n->setText("2");
        QTest::mouseClick(w.pipe->Button_Save, Qt::LeftButton);
        QCOMPARE(w.pipe->segmentTable().recordCount(), 1);
        w.pipe->close();

        w.duct->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.duct));
        prompts_->saveAnswers << file("风管 工程.dzl");
        QTest::mouseClick(w.duct->Button_new, Qt::LeftButton);
        w.duct->Edit_duct_No->setText("3");
        w.duct->Edit_G->setText("5000");
        w.duct->RadioButton_Yuan->click();
        w.duct->ComboBox_DN->setEditText("500");
        w.duct->Edit_L->setText("10");
        QTest::mouseClick(w.duct->Button_Save, Qt::LeftButton);
        QCOMPARE(w.duct->segmentTable().recordCount(), 1);
        w.duct->close();
        QCOMPARE(prompts_->errors, QStringList());

        copy("水管 工程.gzl", "大写.GZL");
        copy("水管 工程.DB", "大写.DB");
        copy("水管 工程.gzl", "工程.txt");
        copy("风管 工程.DB", "坏.DB");
        QFile broken(file("坏.dzl"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("abc\r\n1.204\r\n0.15\r\n");
    }
    void init()
    {
        prompts_->errors.clear();
        ForgetFileDialogChoices();
    }
    void cleanupTestCase()
    {
        prompts_.reset();
        DataDir::setOverride(QString());
    }

    void opensInTheWindowOfItsKind_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("fromFolder"); // run in the temporary folder
        QTest::addColumn<QString>("window");  // "pipe", "duct" or none
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("segment");
        QTest::addColumn<QString>("error"); // how the one error box begins
        const QString native = QDir::toNativeSeparators(folder_);
        QTest::newRow("pipe project") << file("水管 工程.gzl") << false << "pipe"
                                      << "水管道阻力计算-[水管 工程.gzl]"
                                      << "7" << QString();
        QTest::newRow("duct project") << file("风管 工程.dzl") << false << "duct"
                                      << "岚禾风管阻力计算-[风管 工程.dzl]"
                                      << "3" << QString();
        QTest::newRow("upper-case suffix") << file("大写.GZL") << false << "pipe"
                                           << "水管道阻力计算-[大写.GZL]"
                                           << "7" << QString();
        QTest::newRow("relative path") << "工程 目录/../工程 目录/风管 工程.dzl" << true << "duct"
                                       << "岚禾风管阻力计算-[风管 工程.dzl]"
                                       << "3" << QString();
        QTest::newRow("another kind")
            << file("工程.txt") << false << QString() << QString() << QString()
            << "“" + native +
                   "/工程.txt”不是水管阻力工程（*.gzl）或风管阻力工程（*.dzl）文件，"
                   "无法打开！";
        QTest::newRow("missing file")
            << file("不存在.gzl") << false << QString() << QString() << QString()
            << "无法读取工程文件“" + native + "/不存在.gzl”：";
        QTest::newRow("not a project")
            << file("坏.dzl") << false << QString() << QString() << QString() << "工程文件的";
    }
    void opensInTheWindowOfItsKind()
    {
        QFETCH(QString, argument);
        QFETCH(bool, fromFolder);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, segment);
        QFETCH(QString, error);
        const QString workingDir = QDir::currentPath();
        const auto restore = qScopeGuard([&] { QDir::setCurrent(workingDir); });
        if (fromFolder)
            QVERIFY(QDir::setCurrent(dir_.path()));
        const QStringList before = snapshot();
        const QString homeFolder = FileDialogFolder();

        AppWindows windows;
        windows.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(windows.main));
        // Whatever comes up modally over the menu is looked at and closed
        // again by its own "退出".
        Seen seen;
        QTimer watcher;
        watcher.setSingleShot(true);
        connect(&watcher, &QTimer::timeout, this, [&] {
            seen.window = QApplication::activeModalWidget();
            if (seen.window == windows.pipe) {
                seeSegments(seen, windows.pipe, windows.pipe->ListBox_pipe);
                QTest::mouseClick(windows.pipe->Button_quit, Qt::LeftButton);
            } else if (seen.window == windows.duct) {
                seeSegments(seen, windows.duct, windows.duct->ListBox_pipe);
                QTest::mouseClick(windows.duct->Button_quit, Qt::LeftButton);
            } else if (seen.window) {
                seen.window->close();
            }
        });
        watcher.start(0);
        OpenStartupProject(windows, argument);
        QCoreApplication::processEvents();

        QDialog* expected = window == "pipe"   ? static_cast<QDialog*>(windows.pipe)
                            : window == "duct" ? static_cast<QDialog*>(windows.duct)
                                               : nullptr;
        QCOMPARE(seen.window, expected);
        if (expected) {
            QCOMPARE(prompts_->errors, QStringList());
            QVERIFY(seen.applicationModal);
            QCOMPARE(seen.title, caption);
            QCOMPARE(seen.listed, QStringList{segment});
            // The next file dialog opens in the project's folder.
            QCOMPARE(FileDialogFolder(), folder_);
        } else {
            QCOMPARE(prompts_->errors.size(), 1);
            QVERIFY2(prompts_->errors.first().startsWith(error),
                     qPrintable(prompts_->errors.first()));
            QCOMPARE(windows.pipe->projectPath(), QString());
            QCOMPARE(windows.duct->projectPath(), QString());
            QCOMPARE(FileDialogFolder(), homeFolder);
        }
        // Back on the menu, the only window shown, usable; nothing on disk changed.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QWidgetList shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                shown << w;
        QCOMPARE(shown, QWidgetList{windows.main});
        QCOMPARE(snapshot(), before);
    }
};

QTEST_MAIN(TestStartupProject)
#include "tst_startup_project.moc"
