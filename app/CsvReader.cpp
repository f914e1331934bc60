#include "app/CsvReader.h"

namespace
{
constexpr qint64 kChunkSize = 64 * 1024; // bytes read from the device at a time
} // namespace

CsvLineReader::CsvLineReader(QIODevice& device, qsizetype longestLine)
    : device_(device), longestLine_(longestLine)
{
}

bool CsvLineReader::fill()
{
    if (eof_)
        return false;
    chunk_.resize(kChunkSize);
    qint64 n = device_.read(chunk_.data(), kChunkSize);
    // A byte order mark may come in pieces from a device that reads short.
    while (atStart_ && n > 0 && n < 3) {
        const qint64 more = device_.read(chunk_.data() + n, kChunkSize - n);
        if (more <= 0)
            break; // the end, or an error the next read reports again
        n += more;
    }
    if (n <= 0) {
        readError_ = n < 0;
        eof_ = true;
        chunk_.clear();
        pos_ = 0;
        return false;
    }
    chunk_.resize(n);
    pos_ = 0;
    if (skipLf_ && chunk_.at(0) == '\n')
        pos_ = 1;
    skipLf_ = false;
    if (atStart_ && chunk_.startsWith("\xEF\xBB\xBF"))
        pos_ = 3;
    atStart_ = false;
    return true;
}

std::optional<CsvLineReader::Line> CsvLineReader::next()
{
    Line line;
    bool any = false; // a byte or a line end belonging to this line was seen
    for (;;) {
        if (pos_ >= chunk_.size() && !fill())
            break;
        const char* begin = chunk_.constData() + pos_;
        const char* end = chunk_.constData() + chunk_.size();
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != '\r')
            ++stop;
        const qsizetype length = stop - begin;
        any = any || length > 0;
        if (!line.tooLong) {
            if (line.text.size() + length > longestLine_) {
                line.tooLong = true;
                line.text = QByteArray();
            } else {
                line.text.append(begin, length);
            }
        }
        pos_ += length;
        if (stop == end)
            continue; // the line goes on in the next chunk
        // A line end: CR LF counts once, also when split between two chunks.
        ++pos_;
        if (*stop == '\r') {
            if (pos_ < chunk_.size()) {
                if (chunk_.at(pos_) == '\n')
                    ++pos_;
            } else {
                skipLf_ = true;
            }
        }
        line.number = ++lineNumber_;
        return line;
    }
    // A line cut short by a read error is not a line.
    if (!any || readError_)
        return std::nullopt;
    line.number = ++lineNumber_;
    return line;
}

QStringList SplitCsvFields(const QString& line)
{
    if (!line.contains(QLatin1Char('"'))) {
        QStringList fields = line.split(QLatin1Char(','));
        for (QString& f : fields)
            f = f.trimmed();
        return fields;
    }
    QStringList fields;
    QString current;
    bool quoted = false;
    for (qsizetype k = 0; k < line.size(); ++k) {
        const QChar c = line[k];
        if (quoted) {
            if (c == QLatin1Char('"') && k + 1 < line.size() && line[k + 1] == QLatin1Char('"'))
                current += c, ++k;
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                current += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    fields << current.trimmed();
    return fields;
}

QString CsvField(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    for (const QChar c : text) {
        if (special.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}
