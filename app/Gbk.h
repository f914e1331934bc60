// GBK at the file boundary: the program works in QString/UTF-8 and converts
// only when reading or writing reports, project files and catalogue names.
#pragma once

#include <QByteArray>
#include <QString>

// Throws UserError when a character has no GBK form.
QByteArray ToGbk(const QString& text);
// Throws UserError on a byte sequence that is not GBK.
QString FromGbk(const QByteArray& bytes);
