// Reading printed output back: PDF to text with pdftotext, NFKC-normalised
// (pdftotext returns some CJK characters as Kangxi radicals).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The text of a PDF file, NFKC-normalised; empty when it cannot be read.
QString PdfText(const QString& pdfPath);
// The text of a PDF file exactly as pdftotext reads it back, for comparing
// with what was drawn.
QString PdfRawText(const QString& pdfPath);
// What `qpdf --check` says of a PDF file's structure (cross-reference
// table, stream lengths) when it finds fault with it; empty when it finds
// none. pdftotext quietly rebuilds a broken table, so it cannot tell.
QString PdfStructureFaults(const QString& pdfPath);
// Number of pages of a PDF file (pdfinfo), 0 when unreadable.
int PdfPageCount(const QString& pdfPath);
// Reads a GBK text file into lines (CR LF ends stripped).
QStringList ReadGbkLines(const QString& path);
// NFKC form of a text, for comparing with PdfText.
QString Nfkc(const QString& text);

// One word of a PDF page as pdftotext -bbox places it (points from the page's
// top-left corner), its text NFKC-normalised.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
// The words of a PDF file in reading order; empty when it cannot be read.
QList<PdfWord> PdfWords(const QString& pdfPath);
