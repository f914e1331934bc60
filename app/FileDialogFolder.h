// Which folder a file dialog opens in. One rule for every dialog of the
// program (projects, reports, workbooks, chart exports, point files):
//   1. the folder of the asking window's current project, when it has one;
//   2. else the folder of the file last chosen in any file dialog of this
//      program run (one memory for the whole program: a job's reports,
//      projects and exports usually share its folder);
//   3. else the user's home folder (the data directory when there is none).
// A remembered folder that has gone since is passed over. The process's
// working directory is never offered: it is wherever the program was
// started from.
#pragma once

#include <QString>

// projectPath: the window's current project file; empty when none.
QString FileDialogFolder(const QString& projectPath = QString());
// The folder of chosenPath becomes the last folder used; an empty path (a
// cancelled dialog) changes nothing.
void RememberFileDialogChoice(const QString& chosenPath);
// Back to no folder used yet (tests).
void ForgetFileDialogChoices();
