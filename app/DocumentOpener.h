// Opens a file with the desktop's default program for its type ("查看结果").
// The program asks the desktop; window tests install a recording opener.
#pragma once

#include <QString>
#include <functional>

using DocumentOpener = std::function<bool(const QString& path)>;

// False when the desktop has no program for the file.
bool OpenDocument(const QString& path);
// Installs an opener; an empty one goes back to the desktop's.
void installDocumentOpener(DocumentOpener opener);
