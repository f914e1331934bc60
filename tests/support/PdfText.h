// Reading printed output back: PDF to text with pdftotext, NFKC-normalised
// (pdftotext returns some CJK characters as Kangxi radicals).
#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file, NFKC-normalised; empty when it cannot be read.
QString PdfText(const QString& pdfPath);
// Number of pages of a PDF file (pdfinfo), 0 when unreadable.
int PdfPageCount(const QString& pdfPath);
// Reads a GBK text file into lines (CR LF ends stripped).
QStringList ReadGbkLines(const QString& path);
// NFKC form of a text, for comparing with PdfText.
QString Nfkc(const QString& text);
