// Building a window's controls at their design positions, named as the
// window's members are named.
#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// A value field for plain digits and names: no input method composes over it.
QLineEdit* NewEdit(QWidget* parent, const char* name, QRect geometry);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry);
// A push button that Enter in a field does not press.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);
