// Texts of the user's or a file's as a message shows them whole.
#pragma once

#include <QString>

// The whole text with its control characters shown escaped as QuotedInput
// (app/Numbers.h) shows them (\n, \x1b), line ends kept when keepLineEnds:
// for a message that names a file the user chose, and for what a message box
// shows.
QString EscapedControls(const QString& text, bool keepLineEnds = false);
