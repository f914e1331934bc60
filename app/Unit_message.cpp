#include "app/Unit_message.h"

#include "app/Fonts.h"

#include <QLabel>
#include <QPixmap>

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
