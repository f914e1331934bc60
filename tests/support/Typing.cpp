#include "support/Typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

void TypeKeys(QWidget* field, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void TypeIntoComboBox(QComboBox* box, const QString& text)
{
    QLineEdit* field = box->lineEdit();
    field->clear();
    field->setFocus();
    TypeKeys(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}
