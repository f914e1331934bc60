#include "shell/Unit_main.h"

#include "app/ApplicationIcon.h"
#include "app/Fonts.h"
#include "app/Guarded.h"

#include <QEvent>
#include <utility>

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace
{
// Menu geometry in pixels: one column of buttons over the picture.
constexpr int kClientWidth = 563, kClientHeight = 409;
constexpr int kButtonLeft = 140, kButtonWidth = 280, kButtonHeight = 28;
constexpr int kFirstTop = 146, kButtonPitch = 30;
constexpr int kButtonTextPx = 18;
} // namespace

QList<MenuEntry> MainMenuLayout()
{
    return {{QStringLiteral("SpeedButton_point"), QStringLiteral("湿空气状态参数计算")},
            {QStringLiteral("SpeedButton_air"), QStringLiteral("湿空气处理过程计算")},
            {QStringLiteral("SpeedButton_ID"), QStringLiteral("湿空气焓湿图")},
            {QStringLiteral("SpeedButton_Pipe"), QStringLiteral("水管阻力计算")},
            {QStringLiteral("SpeedButton_Duct"), QStringLiteral("风管阻力计算")},
            {QStringLiteral("SpeedButton_PMV"), QStringLiteral("热舒适指标PMV值计算")},
            {QStringLiteral("SpeedButton_Unit"), QStringLiteral("常用单位换算")},
            {QStringLiteral("SpeedButton_Quit"), QStringLiteral("退出")}};
}

Form_main::Form_main(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_main"));
    setWindowTitle(QStringLiteral("岚禾暖通计算工具 Ventacalc3.00"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto* background = new QLabel(this);
    background->setObjectName(QStringLiteral("Image_background"));
    background->setGeometry(0, 0, kClientWidth, kClientHeight);
    background->setPixmap(
        QPixmap::fromImage(BuiltInPng(QStringLiteral(":/images/menu_background.png")))
            .scaled(kClientWidth, kClientHeight, Qt::KeepAspectRatioByExpanding,
                    Qt::SmoothTransformation));

    const QList<MenuEntry> all = MainMenuLayout();
    for (int k = 0; k < all.size(); ++k) {
        const MenuEntry& entry = all[k];
        auto* b = new QPushButton(entry.caption, this);
        b->setObjectName(entry.name);
        b->setGeometry(kButtonLeft, kFirstTop + k * kButtonPitch, kButtonWidth, kButtonHeight);
        b->setFlat(true);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        b->setFont(SongFontPx(kButtonTextPx));
        // Opaque flat buttons with blue text, on hover too. The background is
        // fixed with the text, a light theme's button grey, so that the blue
        // stays readable whatever the desktop's colours (a dark theme's
        // button colour would leave it almost invisible).
        b->setStyleSheet(
            QStringLiteral("QPushButton { color: blue; background-color: #efefef; border: none; }"
                           "QPushButton:disabled { color: #8090b0; }"));
        b->setCursor(Qt::PointingHandCursor);
        b->installEventFilter(this);
        buttons_ << b;
        if (entry.name == QLatin1String("SpeedButton_Quit")) {
            SpeedButton_Quit = b;
            ConnectGuarded(b, &QPushButton::clicked, this, &Form_main::SpeedButton_QuitClick);
            continue;
        }
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this,
                [this, b] { Guarded(this, [&] { SpeedButtonClick(b); }); });
    }
}

bool Form_main::eventFilter(QObject* watched, QEvent* event)
{
    // Whatever the style does on hover, a menu button shows the pointing hand.
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (auto* b = qobject_cast<QPushButton*>(watched))
            b->setCursor(Qt::PointingHandCursor);
    }
    return QDialog::eventFilter(watched, event);
}

void Form_main::attach(const QString& buttonName, QDialog* window)
{
    for (QPushButton* b : buttons_) {
        if (b->objectName() == buttonName && b != SpeedButton_Quit) {
            windows_.insert(b, window);
            b->setEnabled(window != nullptr);
        }
    }
}

void Form_main::promiseWindows(std::function<void()> createWindows)
{
    createWindows_ = std::move(createWindows);
    for (QPushButton* b : buttons_)
        b->setEnabled(true);
}

void Form_main::createPromisedWindows()
{
    if (auto create = std::exchange(createWindows_, nullptr))
        create();
}

void Form_main::openWindow(const QString& buttonName)
{
    createPromisedWindows();
    for (QPushButton* b : buttons_) {
        if (b->objectName() == buttonName && windows_.contains(b))
            Guarded(this, [&] { SpeedButtonClick(b); });
    }
}

void Form_main::SpeedButtonClick(QPushButton* button)
{
    createPromisedWindows();
    QDialog* window = windows_.value(button);
    if (!window)
        return;
    window->setWindowModality(Qt::ApplicationModal);
    window->exec();
}

void Form_main::SpeedButton_QuitClick()
{
    close();
}

void Form_main::reject()
{
    QDialog::reject();
    emit closed();
}
