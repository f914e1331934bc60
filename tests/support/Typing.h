// Typing into a field key by key, as a user does: each character its own key
// press and release, so that what reacts to keys (a drop-down's completion)
// sees them. Characters beyond ASCII arrive as keys without a key code,
// carrying their text, as a keyboard layout delivers them.
#pragma once

#include <QString>

class QWidget;

void TypeKeys(QWidget* field, const QString& text);

// Empties a drop-down's field, types text into it key by key and presses
// Enter.
class QComboBox;
void TypeIntoComboBox(QComboBox* box, const QString& text);
