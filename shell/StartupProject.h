// A project file named on the command line, as the desktop passes a
// double-clicked .gzl or .dzl file: it is opened in the calculator of its
// kind, which is then shown over the main menu as the menu's own button shows
// it.
#pragma once

#include <QString>

struct AppWindows;

// Opens the project at path (relative to the working directory) as the
// window's "打开(&O)" opens a chosen file, then shows the window modally and
// returns once it is closed. The suffix decides the window, whatever its
// case: .gzl the water pipe calculator, .dzl the duct calculator. A file of
// another kind, a missing file or one that is no project is one error box
// over the main menu; no window opens and nothing is written.
void OpenStartupProject(AppWindows& windows, const QString& path);
