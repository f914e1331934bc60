// Building a window's controls at their design positions, named as the
// window's members are named.
#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class RecordTableStore;
class TableGridModel;

// A value field for plain digits and names: no input method composes over it.
QLineEdit* NewEdit(QWidget* parent, const char* name, QRect geometry);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry);
// A push button that Enter in a field does not press.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// Makes the table's current record the grid's current row and scrolls it into
// view: a record just stored or opened is in sight even when the grid shows
// fewer rows than the table holds. Nothing happens at the table's end.
void ShowCurrentRecord(QTableView* grid, const RecordTableStore& table);

// An editable drop-down whose typed text stays typed: its items are
// suggestions, not the only values.
QComboBox* NewComboBox(QWidget* parent, const char* name, QRect geometry);
// Makes a box such a drop-down: editable, and what is typed is what it holds,
// with no completion, no change of case and no item put in its place when
// Enter is pressed or the focus leaves. Picking an item still sets its text.
void KeepTypedText(QComboBox* box);
QRadioButton* NewRadio(QWidget* parent, const char* name, const QString& caption, QRect geometry);
// Refills a box's items and leaves the text as given with no item current, so
// that picking any item afterwards is a change. No change signals.
void SetComboItems(QComboBox* box, const QStringList& items, const QString& text);
// Sets a box's text with no item current. No change signals.
void SetComboText(QComboBox* box, const QString& text);
// The first selected item's text, or empty.
QString SelectedText(const QListWidget* list);

// A record table's read-only grid with one row selected at a time: each
// column as wide as its declared number of characters, or as its title where
// that is wider.
void SetUpRecordGrid(QTableView* grid, TableGridModel* model);

// A caption with a small raised character in a gap left for it: "风量(m /h):"
// with "3" after "风量(m" reads as m³/h. The raised label is named name + "_sup".
QLabel* NewRaisedUnitLabel(QWidget* parent, const char* name, const QString& caption,
                           const QString& beforeGap, const QString& raised, QRect geometry);

// The caption a message names a field by (FieldName of it): the label whose
// buddy the field is, else the shown label just left of it on its row, else
// the one just above it, else the title of the group box it sits in.
QString FieldCaption(const QWidget* field);
// A field's number; a text that is no number throws ConversionError naming
// the field by its caption.
double ReadField(const QLineEdit* field);
