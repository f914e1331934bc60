// Building a window's controls at their design positions, named as the
// window's members are named.
#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RecordTableStore;

// A value field for plain digits and names: no input method composes over it.
QLineEdit* NewEdit(QWidget* parent, const char* name, QRect geometry);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry);
// A push button that Enter in a field does not press.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// Makes the table's current record the grid's current row and scrolls it into
// view: a record just stored or opened is in sight even when the grid shows
// fewer rows than the table holds. Nothing happens at the table's end.
void ShowCurrentRecord(QTableView* grid, const RecordTableStore& table);
