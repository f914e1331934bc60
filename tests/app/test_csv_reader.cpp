// Reading CSV text line by line as it streams in.
#include "app/CsvReader.h"

#include <QBuffer>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

// A device that hands out at most one byte a read, as pipes and sockets may.
class ByteByByte : public QBuffer
{
public:
    using QBuffer::QBuffer;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        return QBuffer::readData(data, std::min<qint64>(maxSize, 1));
    }
};

// Every line the reader gives for text, read through chunks of its own size
// (or a byte a read); a line over the limit shows as "<too long>".
QStringList LinesOf(const QByteArray& text, qsizetype longest = CsvLineReader::kLongestLine,
                    bool byteByByte = false)
{
    QByteArray data = text;
    QBuffer whole(&data);
    ByteByByte pieces(&data);
    QBuffer& buffer = byteByByte ? pieces : whole;
    buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    CsvLineReader reader(buffer, longest);
    QStringList lines;
    while (const auto line = reader.next())
        lines << (line->tooLong ? QStringLiteral("<too long>") : QString::fromUtf8(line->text));
    return lines;
}

} // namespace

TEST(CsvReader, EveryLineEndEndsARecord)
{
    const QByteArray longField(200 * 1024, 'x'); // spans several reads
    const struct {
        const char* name;
        QByteArray text;
        QStringList lines;
    } cases[] = {
        {"LF", "a,b\n1,2\n", {"a,b", "1,2"}},
        {"CR LF", "a,b\r\n1,2\r\n", {"a,b", "1,2"}},
        {"CR alone", "a,b\r1,2\r3,4", {"a,b", "1,2", "3,4"}},
        {"mixed, blank lines kept", "a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},
        {"no end on the last line", "a\nb", {"a", "b"}},
        {"empty text", "", {}},
        {"byte order mark", "\xEF\xBB\xBFt,rh\n", {"t,rh"}},
        {"CR LF split between reads",
         QByteArray(64 * 1024 - 1, 'y') + "\r\nz",
         {QString(64 * 1024 - 1, QLatin1Char('y')), "z"}},
        {"long line across reads", longField + "\n1", {QString::fromLatin1(longField), "1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinesOf(c.text), c.lines) << c.name;
        if (c.text.size() < 1000) {
            EXPECT_EQ(LinesOf(c.text, CsvLineReader::kLongestLine, true), c.lines) << c.name;
        }
    }
}

TEST(CsvReader, LineOverTheLimitIsReportedAndSkipped)
{
    EXPECT_EQ(LinesOf("ok\n" + QByteArray(300000, '9') + "\nnext", 100000),
              (QStringList{"ok", "<too long>", "next"}));
    EXPECT_EQ(LinesOf(QByteArray(100000, '9'), 100000),
              QStringList{QString(100000, QLatin1Char('9'))});
}

TEST(CsvReader, FieldsSplitAndQuote)
{
    EXPECT_EQ(SplitCsvFields(QStringLiteral(" 20 , \"a,b\",\"say \"\"hi\"\"\",")),
              (QStringList{"20", "a,b", "say \"hi\"", ""}));
    EXPECT_EQ(CsvField(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(CsvField(QStringLiteral("a,\"b\"")), QStringLiteral("\"a,\"\"b\"\"\""));
    EXPECT_EQ(CsvField(QStringLiteral("two\nlines")), QStringLiteral("\"two\nlines\""));
}
