// Building a window's controls at their design positions, named as the
// window's members are named.
#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QComboBox;
class QDialog;
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
// A push button. Which button Enter in a field presses is the window's
// choice (SetUpKeyboard), never the button that last had the focus.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// The window's keyboard, called once its controls exist:
// - Enter in a field, a drop-down, a radio button or a check box presses
//   action (the window's main action or its 确定), when it is enabled and
//   shown; with no action, Enter there does nothing. Enter on a push or tool
//   button presses that button; Enter in a list or grid stays there. A
//   drop-down keeps what was typed (KeepTypedText) when Enter presses action.
// - Tab walks the controls in reading order, top to bottom and left to
//   right, a group's controls together. Read-only fields are left out: they
//   take the focus by mouse only, so their text can still be selected and
//   copied.
// Esc closes the window as its close box does.
void SetUpKeyboard(QDialog* window, QPushButton* action);
// Makes action the one Enter in a field presses, for a window whose main
// action changes (a page of its own per calculation).
void SetEnterAction(QDialog* window, QPushButton* action);

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
// that picking any item afterwards is a change. No change signals. The box's
// list opens as wide as its longest item, however narrow the box.
void SetComboItems(QComboBox* box, const QStringList& items, const QString& text);
// Sets a box's text with no item current. No change signals.
void SetComboText(QComboBox* box, const QString& text);
// The first selected item's text, or empty.
QString SelectedText(const QListWidget* list);

// A record table's read-only grid with one row selected at a time. Each
// column is as wide as its declared number of characters, or as its title or
// its widest cell where that is wider, refitted whenever the table changes.
// Where that makes the columns wider than the grid (with its vertical scroll
// bar), the room beyond titles and cells is taken back from the columns that
// have it, so that every column, the last included, stays in sight.
void SetUpRecordGrid(QTableView* grid, TableGridModel* model);

// A field whose text may be longer than the field shows its whole text in
// its tooltip (a file path, for instance).
void ShowWholeTextInTip(QLineEdit* field);

// Widens a fixed-size window whose caption would not fit its title bar
// (TitleBarWidth below) to the width it needs, its controls moved to keep
// their place in the middle.
void WidenForCaption(QWidget* window);

// A caption with a small raised character in a gap left for it: "风量(m /h):"
// with "3" after "风量(m" reads as m³/h. The raised label is named name + "_sup".
QLabel* NewRaisedUnitLabel(QWidget* parent, const char* name, const QString& caption,
                           const QString& beforeGap, const QString& raised, QRect geometry);

// The width a window needs for its whole caption in its title bar: the
// caption in the title font the desktops use (a bold face 15 pixels high,
// 9 points at the design resolution of 120 pixels per inch), the window icon
// and a 46-pixel box for each title-bar button the flags ask for.
int TitleBarWidth(const QString& caption, Qt::WindowFlags flags);

// The caption a message names a field by (FieldName of it): the label whose
// buddy the field is, else the shown label just left of it on its row, else
// the one just above it, else the title of the group box it sits in.
QString FieldCaption(const QWidget* field);
// A field's number; a text that is no number throws ConversionError naming
// the field by its caption.
double ReadField(const QLineEdit* field);
