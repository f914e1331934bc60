// Qt's own dialogs (message-box buttons, file, font, print and page set-up
// dialogs, the overwrite question) speak Simplified Chinese like the rest of
// the program, whatever the system locale.
#pragma once

// Loads Qt's Simplified Chinese translations from Qt's translations
// directory into the running application. Call once the QCoreApplication
// exists; later calls do nothing. Returns whether a translation is in place
// (false when Qt's translations are not installed: the dialogs stay English).
bool InstallQtTranslations();
