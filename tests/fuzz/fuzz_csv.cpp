// The CSV reader: lines as CsvLineReader finds them in text that arrives in
// pieces of any size, checked against the lines of the whole text split at
// once; and every line's fields through SplitCsvFields and back through
// CsvField.
#include "FuzzCheck.h"
#include "app/CsvReader.h"

#include <QIODevice>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

// A device that hands out its bytes at most `piece` at a time, as a pipe
// may: lines and CR LF pairs then straddle the reader's chunks.
class PieceDevice : public QIODevice
{
public:
    PieceDevice(QByteArray bytes, qint64 piece) : bytes_(std::move(bytes)), piece_(piece)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min({maxSize, piece_, qint64(bytes_.size()) - pos_});
        std::copy_n(bytes_.constData() + pos_, n, data);
        pos_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 piece_;
    qint64 pos_ = 0;
};

// The lines of the whole text, found the plain way.
std::vector<CsvLineReader::Line> expectedLines(QByteArray text, qsizetype longest)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    std::vector<CsvLineReader::Line> lines;
    qsizetype start = 0;
    const auto add = [&](qsizetype end) {
        CsvLineReader::Line line;
        line.text = text.mid(start, end - start);
        line.tooLong = line.text.size() > longest;
        if (line.tooLong)
            line.text.clear();
        line.number = static_cast<qint64>(lines.size()) + 1;
        lines.push_back(line);
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] != '\n' && text[k] != '\r')
            continue;
        add(k);
        if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')
            ++k;
        start = k + 1;
    }
    if (start < text.size()) // a last line without its end
        add(text.size());
    return lines;
}

void checkFields(const QByteArray& lineText)
{
    const QString line = QString::fromUtf8(lineText);
    const QStringList fields = SplitCsvFields(line);
    FUZZ_CHECK(!fields.isEmpty());
    if (!line.contains(QLatin1Char('"')))
        FUZZ_CHECK(fields.size() == line.count(QLatin1Char(',')) + 1);
    // Fields come out trimmed, and CsvField writes them so that they split
    // back to the same fields.
    QStringList written;
    for (const QString& field : fields) {
        FUZZ_CHECK(field == field.trimmed());
        written << CsvField(field);
    }
    FUZZ_CHECK(SplitCsvFields(written.join(QLatin1Char(','))) == fields);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // Two bytes of settings: the longest line kept (0 to 63 bytes, or the
    // reader's own limit), and how many bytes the device hands out at a time.
    const qsizetype longest = data[0] < 192 ? data[0] % 64 : CsvLineReader::kLongestLine;
    const qint64 piece = 1 + data[1] % 64;
    const QByteArray text(reinterpret_cast<const char*>(data + 2),
                          static_cast<qsizetype>(size - 2));

    PieceDevice device(text, piece);
    CsvLineReader reader(device, longest);
    const std::vector<CsvLineReader::Line> expected = expectedLines(text, longest);
    std::size_t count = 0;
    while (const std::optional<CsvLineReader::Line> line = reader.next()) {
        FUZZ_CHECK(count < expected.size());
        const CsvLineReader::Line& want = expected[count++];
        FUZZ_CHECK(line->number == want.number);
        FUZZ_CHECK(line->tooLong == want.tooLong);
        FUZZ_CHECK(line->text == want.text);
        if (!line->tooLong)
            checkFields(line->text);
    }
    FUZZ_CHECK(count == expected.size());
    FUZZ_CHECK(!reader.readError());
    FUZZ_CHECK(!reader.next()); // the end stays the end
    return 0;
}
