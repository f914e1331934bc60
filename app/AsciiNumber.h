// Numbers in a batch file's plain fields, read without making a QString.
#pragma once

#include <QByteArrayView>

#include <optional>

// ParseNumber (app/Numbers.h) for ASCII text, blanks being space, tab and the
// line and page ends: the value it gives the text, or nullopt where it throws.
std::optional<double> ParseAsciiNumber(QByteArrayView text);
