#include "app/Unit_message.h"

#include "app/Fonts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPixmap>
#include <QWindow>

namespace
{

// Long enough for any window system to map and expose a small window, short
// enough not to hold up the work when it never does (no screen at all).
constexpr int kExposeWaitMs = 1000;
// One round of waiting for the window system's events.
constexpr int kEventWaitMs = 10;

} // namespace

Form_message::Form_message(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_message"));
    setWindowTitle(QStringLiteral("消息"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(352, 87);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QPixmap(QStringLiteral(":/images/message_icon.png")));
    icon->setGeometry(16, 23, 33, 41);
    auto* label = new QLabel(QStringLiteral("正在输出到Excel，请稍候......"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(SongFontPx(15));
    label->setGeometry(64, 30, 280, 24);
}

void Form_message::showPainted()
{
    show();
    const QDeadlineTimer deadline(kExposeWaitMs);
    while (!(windowHandle() && windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kEventWaitMs);
    // Painted now, not when the event loop next runs (after the work).
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
