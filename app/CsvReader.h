// Reading CSV text as it arrives: one record per line, never the whole file at
// once, so a batch of any length runs in the same small memory.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

#include <functional>
#include <optional>

class CsvLineReader
{
public:
    // A line longer than this is not kept; it is reported as too long.
    static constexpr qsizetype kLongestLine = qsizetype(1) << 20; // bytes

    // Reads from device, which must be open for reading (in binary mode: line
    // ends are found here).
    explicit CsvLineReader(QIODevice& device, qsizetype longestLine = kLongestLine);

    struct Line {
        QByteArray text;      // without its line end; empty when tooLong
        bool tooLong = false; // the line exceeded the limit and was skipped
        qint64 number = 0;    // 1 for the first line
    };

    // The next line, or nullopt at the end of the text or after a read error
    // (readError() tells which; the line the error cut short is dropped). A line ends at LF, CR LF or a CR alone; a
    // last line without an end is a line too. A UTF-8 byte order mark at the
    // very beginning is dropped.
    std::optional<Line> next();

    bool readError() const { return readError_; }

private:
    bool fill(); // false at the end of the text

    QIODevice& device_;
    qsizetype longestLine_;
    QByteArray chunk_;
    qsizetype pos_ = 0;
    qint64 lineNumber_ = 0;
    bool skipLf_ = false; // the last chunk ended in CR: an LF starting the next one belongs to it
    bool atStart_ = true;
    bool eof_ = false;
    bool readError_ = false;
};

// The fields of one CSV line: separated by commas, each trimmed of blanks;
// a field in double quotes may hold commas, and "" stands for one quote.
QStringList SplitCsvFields(const QString& line);

// A field as CSV writes it: quoted when it holds a comma, a quote or a line end.
QString CsvField(const QString& text);

// The data tables built into the program (weather, pipe sizes, fitting
// coefficients) as CSV text: blank lines are skipped, the first line must read
// exactly `header`, and every later line must have as many fields; each is
// passed to row(fields, lineNumber). Faults throw UserError naming the data
// (e.g. "气象参数数据") and the line, as CsvLineError does; so does a read
// error or a text without the header line.
void ReadCsvTable(QIODevice& device, const QString& data, const QStringList& header,
                  const std::function<void(const QStringList& fields, qint64 line)>& row);

// Throws UserError "<data>第<line>行有误：<why>".
[[noreturn]] void CsvLineError(const QString& data, qint64 line, const QString& why);
