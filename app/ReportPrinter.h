// Printing: the program's one printer (its set-up applies to later printing)
// and the text stream that puts report lines on pages.
#pragma once

#include <QFont>
#include <QStringList>

class QPrinter;

// The program's printer, kept for the whole run.
QPrinter& AppPrinter();

// "宋体" 12 pt, the default report font.
QFont DefaultReportFont();

// Prints lines from the top of the page downwards, one printed line each, a
// full page continuing on the next, in ReportPrintFont(font) so that columns
// laid out with spaces stay in line. The job must already be set up on
// printer (print dialog). Printed to a PDF file, the text reads back as it
// was drawn (WithIdeographsInTextLayer). Throws UserError when the printer
// cannot start or the file cannot be written.
void PrintLines(QPrinter& printer, const QFont& font, const QStringList& lines);
