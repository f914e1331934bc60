// The main menu and the wait window, headless.
#include "app/ApplicationIcon.h"
#include "app/Unit_message.h"
#include "shell/Unit_main.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <cmath>

namespace
{

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT
private slots:
    void menuIsLaidOutAsDesigned()
    {
        Form_main menu;
        QCOMPARE(menu.windowTitle(), QStringLiteral("岚禾暖通计算工具 Ventacalc3.00"));
        QCOMPARE(menu.size(), QSize(563, 409));
        const QStringList captions{
            "湿空气状态参数计算", "湿空气处理过程计算",  "湿空气焓湿图", "水管阻力计算",
            "风管阻力计算",       "热舒适指标PMV值计算", "常用单位换算", "退出"};
        const auto buttons = menu.buttons();
        QCOMPARE(buttons.size(), 8);
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(buttons[k]->text(), captions[k]);
            QCOMPARE(buttons[k]->geometry(), QRect(140, 146 + 30 * k, 280, 28));
            QCOMPARE(buttons[k]->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(buttons[k]->font().pixelSize(), 18);
            QVERIFY(buttons[k]->styleSheet().contains(QStringLiteral("color: blue")));
        }
        const auto* picture = menu.findChild<QLabel*>(QStringLiteral("Image_background"));
        QVERIFY(picture && !picture->pixmap().isNull());
        QCOMPARE(picture->pixmap().size(), QSize(563, 409));
    }

    // Under a light and a dark desktop palette each button, as drawn, has
    // text that stands out from its background (WCAG contrast ratio at least 4.5).
    void buttonsReadableInLightAndDarkThemes()
    {
        const QPalette saved = QApplication::palette();
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        const auto luminance = [](QRgb rgb) {
            const auto channel = [](int value) {
                const double c = value / 255.0;
                return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
                   0.0722 * channel(qBlue(rgb));
        };
        for (const QPalette& palette : {saved, dark}) {
            QApplication::setPalette(palette);
            Form_main menu;
            QDialog calculator;
            for (QPushButton* b : menu.buttons())
                menu.attach(b->objectName(), &calculator);
            menu.show();
            QVERIFY(QTest::qWaitForWindowExposed(&menu));
            for (QPushButton* b : menu.buttons()) {
                const QImage drawn = b->grab().toImage();
                // The background at the corner; the text the colour farthest from it.
                const double background = luminance(drawn.pixel(1, 1));
                double ratio = 1;
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x) {
                        const double l = luminance(drawn.pixel(x, y));
                        ratio = std::max(ratio, (std::max(l, background) + 0.05) /
                                                    (std::min(l, background) + 0.05));
                    }
                QVERIFY2(ratio >= 4.5, qPrintable(b->text() + QStringLiteral(" %1").arg(ratio)));
            }
        }
        QApplication::setPalette(saved);
    }

    void calculatorButtonsWaitForTheirWindows()
    {
        Form_main menu;
        QPushButton* point = menu.findChild<QPushButton*>(QStringLiteral("SpeedButton_point"));
        QVERIFY(!point->isEnabled());
        QVERIFY(menu.SpeedButton_Quit->isEnabled());

        QDialog calculator;
        menu.attach(QStringLiteral("SpeedButton_point"), &calculator);
        QVERIFY(point->isEnabled());
        // The calculator opens modally and the menu waits for it.
        bool wasModal = false;
        QTimer::singleShot(0, &calculator, [&] {
            wasModal = calculator.isVisible() && calculator.isModal();
            calculator.close();
        });
        menu.show();
        QTest::mouseClick(point, Qt::LeftButton);
        QVERIFY(wasModal);
        QVERIFY(!calculator.isVisible());
    }

    void quitAndFrameCloseBothEndTheProgram()
    {
        Form_main menu;
        QSignalSpy closed(&menu, &Form_main::closed);
        menu.show();
        QTest::mouseClick(menu.SpeedButton_Quit, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!menu.isVisible());

        menu.show();
        menu.close(); // the frame's close box
        QCOMPARE(closed.count(), 2);
    }

    void waitWindow()
    {
        Form_message wait;
        QCOMPARE(wait.windowTitle(), QStringLiteral("消息"));
        QCOMPARE(wait.size(), QSize(352, 87));
        const auto labels = wait.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
            return l->text() == QStringLiteral("正在输出到Excel，请稍候......");
        }));

        // The work that follows blocks the event loop: the text must have
        // been painted by the time showPainted() returns.
        auto* label = wait.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        PaintCounter paints;
        label->installEventFilter(&paints);
        wait.showPainted();
        QVERIFY(wait.windowHandle() && wait.windowHandle()->isExposed());
        QVERIFY(paints.count > 0);
        // And what was painted is the text, not an empty frame.
        const QImage shot = wait.grab().toImage();
        const QRect text = label->geometry();
        bool inked = false;
        for (int y = text.top(); y <= text.bottom() && !inked; ++y)
            for (int x = text.left(); x <= text.right() && !inked; ++x)
                inked = qGray(shot.pixel(x, y)) < 96;
        QVERIFY(inked);
    }

    // The icon every window shows is built in at each size the desktop asks for.
    void iconAtEverySize()
    {
        const QIcon icon = ApplicationIcon();
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QPixmap pixmap = icon.pixmap(size, size);
            QCOMPARE(pixmap.size(), QSize(size, size));
            QCOMPARE(icon.availableSizes().count(QSize(size, size)), 1);
        }
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_form_main.moc"
