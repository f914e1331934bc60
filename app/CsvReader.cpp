#include "app/CsvReader.h"

#include "app/FailureReasons.h"
#include "app/Numbers.h"

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

void CsvLineError(const QString& data, qint64 line, const QString& why)
{
    throw UserError(QStringLiteral("%1第%2行有误：%3").arg(data).arg(line).arg(why));
}

void ReadCsvTable(QIODevice& device, const QString& data, const QStringList& header,
                  const std::function<void(const QStringList& fields, qint64 line)>& row)
{
    CsvLineReader reader(device);
    bool headerSeen = false;
    while (const std::optional<CsvLineReader::Line> line = reader.next()) {
        if (line->tooLong)
            CsvLineError(data, line->number, QStringLiteral("行太长"));
        // A byte order mark is no text: the reader drops the file's own, and
        // one left inside the text (files joined together) would make an
        // invisible difference between two equal-looking names.
        const QString text = QString::fromUtf8(line->text).remove(QChar(0xFEFF));
        if (text.trimmed().isEmpty())
            continue;
        const QStringList fields = SplitCsvFields(text);
        if (!headerSeen) {
            if (fields != header)
                CsvLineError(data, line->number,
                             QStringLiteral("列名应为“%1”").arg(header.join(u',')));
            headerSeen = true;
            continue;
        }
        if (fields.size() != header.size())
            CsvLineError(data, line->number,
                         QStringLiteral("应有%1个字段，实有%2个").arg(header.size()).arg(fields.size()));
        row(fields, line->number);
    }
    if (reader.readError()) {
        const auto* file = qobject_cast<const QFileDevice*>(&device);
        throw UserError(
            QStringLiteral("%1无法读取：%2")
                .arg(data, file ? FileDeviceReason(file->error()) : QStringLiteral("读取出错")));
    }
    if (!headerSeen)
        throw UserError(QStringLiteral("%1为空").arg(data));
}
