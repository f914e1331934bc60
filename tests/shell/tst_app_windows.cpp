// The program's start-up: the main menu is made and painted first, with its
// calculator buttons already enabled; the other windows follow, once each,
// after that paint or as soon as a button asks for one before it.
#include "comfort/Unit_PMV.h"
#include "convert/Unit_BH.h"
#include "psychro/Unit_air_id.h"
#include "shell/AppWindows.h"
#include "shell/Unit_main.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

namespace
{
int ProgramWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<QDialog*>(w) != nullptr;
    return count;
}
} // namespace

class TestAppWindows : public QObject
{
    Q_OBJECT

private slots:
    void restFollowsTheMenu_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("button");
        QTest::newRow("after the menu's first paint") << "paint"
                                                      << "SpeedButton_point";
        QTest::newRow("a click before it") << "click"
                                           << "SpeedButton_PMV";
        QTest::newRow("a window opened before it") << "open"
                                                   << "SpeedButton_Unit";
    }

    void restFollowsTheMenu()
    {
        QFETCH(QString, how);
        QFETCH(QString, button);
        AppWindows windows(AppWindows::Creation::AfterMenuPainted);
        QCOMPARE(ProgramWindows(), 1);
        QVERIFY(!windows.ductAdvanced && !windows.pipe && !windows.id && !windows.pmv);
        // The menu looks as it will: every button is enabled from the start.
        for (QPushButton* b : windows.main->buttons())
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));

        // Whatever comes up modally is noted and closed again.
        QWidget* opened = nullptr;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal;
                modal->close();
            }
        });
        watcher.start(0);
        auto* b = windows.main->findChild<QPushButton*>(button);
        QVERIFY(b);
        if (how == "paint") {
            windows.main->show();
            QVERIFY(QTest::qWaitForWindowExposed(windows.main));
            QTRY_VERIFY(windows.pmv != nullptr);
            b->click();
        } else if (how == "click") {
            b->click();
        } else {
            windows.main->openWindow(button);
        }
        QDialog* expected = button == "SpeedButton_point" ? static_cast<QDialog*>(windows.id)
                            : button == "SpeedButton_PMV" ? static_cast<QDialog*>(windows.pmv)
                                                          : static_cast<QDialog*>(windows.unit);
        QVERIFY(expected);
        QCOMPARE(opened, expected);

        // All 18 windows, each once, whatever asks for them again.
        windows.createRest();
        windows.main->createPromisedWindows();
        if (how != "paint") {
            windows.main->show();
            QVERIFY(QTest::qWaitForWindowExposed(windows.main));
            QTest::qWait(20);
        }
        QCOMPARE(ProgramWindows(), 18);
        QVERIFY(windows.ductAdvanced && windows.message && windows.duct && windows.pipe &&
                windows.wea && windows.airTreat && windows.atm && windows.airFlows &&
                windows.treatChart && windows.chart && windows.unit && windows.id && windows.pmv);
        for (QPushButton* b : windows.main->buttons())
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    }
};

QTEST_MAIN(TestAppWindows)
#include "tst_app_windows.moc"
