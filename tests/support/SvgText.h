// Reading an SVG file back: the texts of its <text> elements.
#pragma once

#include <QString>
#include <QStringList>

// The texts of the file's <text> elements in document order; one entry
// saying why when the file cannot be read or is not XML. Qt writes a label
// in runs of one font each, so a label may come as several texts.
QStringList SvgTexts(const QString& path);
