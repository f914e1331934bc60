#include "app/PdfTextLayer.h"

#include "app/EquivalentIdeographs.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace
{

// A CMap holds at most 100 mappings per bfchar block (PDF 32000-1, 9.10.3).
constexpr int kMappingsPerBlock = 100;
// Qt's fonts are encoded in two bytes: a subset has at most this many glyphs.
constexpr std::size_t kMostGlyphs = 0x10000;
// A PDF file holds at most this many objects (PDF 32000-1, C.2).
constexpr int kMostObjects = 8388607;

bool IsWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

// One PostScript token of a CMap, by its place in the text.
struct Token {
    qsizetype begin = 0, end = 0;
    QByteArray text;
    bool isHex() const { return text.size() >= 2 && text[0] == '<' && text[1] != '<'; }
};

std::vector<Token> Tokenize(const QByteArray& s)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const char c = s[i];
        if (IsWhite(c)) {
            ++i;
            continue;
        }
        if (c == '%') { // a comment runs to the end of its line
            while (i < n && s[i] != '\n' && s[i] != '\r')
                ++i;
            continue;
        }
        const qsizetype begin = i;
        if ((c == '<' || c == '>') && i + 1 < n && s[i + 1] == c) {
            i += 2;
        } else if (c == '<') {
            while (i < n && s[i] != '>')
                ++i;
            i = std::min(n, i + 1);
        } else if (c == '(') {
            int depth = 0;
            for (; i < n; ++i) {
                if (s[i] == '\\') {
                    ++i;
                } else if (s[i] == '(') {
                    ++depth;
                } else if (s[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            i = std::min(n, i); // an escape may end the text
        } else if (c == '[' || c == ']' || c == '{' || c == '}' || c == '>' || c == ')') {
            ++i;
        } else {
            ++i; // a name's slash, then the regular characters
            while (i < n && !IsWhite(s[i]) && !IsDelimiter(s[i]))
                ++i;
        }
        tokens.push_back({begin, i, s.mid(begin, i - begin)});
    }
    return tokens;
}

QByteArray HexBytes(const Token& t)
{
    QByteArray digits = t.text.mid(1, t.text.size() - 2);
    digits.replace(' ', "").replace('\n', "").replace('\r', "").replace('\t', "");
    if (digits.size() % 2)
        digits += '0';
    return QByteArray::fromHex(digits);
}

// One glyph's text: its code in the font's encoding (two bytes for Qt's
// Identity-H fonts) and the UTF-16 it reads back as.
struct Mapping {
    quint32 code = 0;
    int codeBytes = 2;
    std::u16string text;
};

std::optional<quint32> Code(const Token& t, int* bytes)
{
    if (!t.isHex())
        return std::nullopt;
    const QByteArray b = HexBytes(t);
    if (b.isEmpty() || b.size() > 4)
        return std::nullopt;
    quint32 code = 0;
    for (const char c : b)
        code = code << 8 | quint8(c);
    *bytes = int(b.size());
    return code;
}

std::optional<std::u16string> Utf16(const Token& t)
{
    if (!t.isHex())
        return std::nullopt;
    const QByteArray b = HexBytes(t);
    if (b.size() % 2)
        return std::nullopt;
    std::u16string text;
    for (qsizetype k = 0; k < b.size(); k += 2)
        text += char16_t(quint8(b[k]) << 8 | quint8(b[k + 1]));
    return text;
}

// The mappings of a CMap and the stretch of its text their blocks fill.
struct CMapMappings {
    qsizetype begin = -1, end = -1;
    std::vector<Mapping> mappings;
};

// Reads every bfchar and bfrange block; nothing when the blocks are not one
// unbroken stretch of well-formed mappings.
std::optional<CMapMappings> ReadMappings(const QByteArray& cmap)
{
    const std::vector<Token> t = Tokenize(cmap);
    CMapMappings result;
    std::size_t lastBlockEnd = 0; // index of the token after the last block
    for (std::size_t i = 0; i < t.size(); ++i) {
        const bool chars = t[i].text == "beginbfchar", ranges = t[i].text == "beginbfrange";
        if (!chars && !ranges)
            continue;
        if (i == 0 || (result.begin >= 0 && lastBlockEnd != i - 1))
            return std::nullopt;
        if (result.begin < 0)
            result.begin = t[i - 1].begin;
        const QByteArray endWord = chars ? "endbfchar" : "endbfrange";
        std::size_t k = i + 1;
        while (k < t.size() && t[k].text != endWord) {
            Mapping m;
            const std::optional<quint32> lo = Code(t[k], &m.codeBytes);
            if (!lo)
                return std::nullopt;
            if (chars) {
                if (k + 1 >= t.size())
                    return std::nullopt;
                const std::optional<std::u16string> text = Utf16(t[k + 1]);
                if (!text)
                    return std::nullopt;
                m.code = *lo, m.text = *text;
                result.mappings.push_back(m);
                k += 2;
                continue;
            }
            int hiBytes = 0;
            const std::optional<quint32> hi =
                k + 2 < t.size() ? Code(t[k + 1], &hiBytes) : std::nullopt;
            if (!hi || *hi < *lo || result.mappings.size() + (*hi - *lo) >= kMostGlyphs)
                return std::nullopt;
            if (t[k + 2].text == "[") {
                k += 3;
                for (quint32 n = 0; n <= *hi - *lo; ++n, ++k) {
                    const std::optional<std::u16string> text =
                        k < t.size() ? Utf16(t[k]) : std::nullopt;
                    if (!text)
                        return std::nullopt;
                    m.code = *lo + n, m.text = *text;
                    result.mappings.push_back(m);
                }
                if (k >= t.size() || t[k].text != "]")
                    return std::nullopt;
                ++k;
            } else {
                const std::optional<std::u16string> first = Utf16(t[k + 2]);
                if (!first || first->empty())
                    return std::nullopt;
                // Consecutive codes read as consecutive values of the last
                // UTF-16 unit.
                for (quint32 n = 0; n <= *hi - *lo; ++n) {
                    m.code = *lo + n, m.text = *first;
                    m.text.back() = char16_t(m.text.back() + n);
                    result.mappings.push_back(m);
                }
                k += 3;
            }
        }
        if (k >= t.size())
            return std::nullopt;
        result.end = t[k].end;
        lastBlockEnd = k + 1;
        i = k;
    }
    if (result.begin < 0)
        return std::nullopt;
    return result;
}

// The ideograph a glyph was drawn for, when Qt named a radical or stroke.
bool NameIdeographs(std::vector<Mapping>& mappings)
{
    bool changed = false;
    for (Mapping& m : mappings) {
        const QList<uint> ucs4 =
            QString::fromUtf16(m.text.data(), qsizetype(m.text.size())).toUcs4();
        if (ucs4.size() != 1)
            continue;
        const char32_t ideograph = EquivalentIdeograph(ucs4[0]);
        if (!ideograph)
            continue;
        const QString text = QString::fromUcs4(&ideograph, 1);
        m.text.assign(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
        changed = true;
    }
    return changed;
}

QByteArray Hex(quint32 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

QByteArray WriteMappings(const std::vector<Mapping>& mappings)
{
    QByteArray out;
    for (std::size_t first = 0; first < mappings.size(); first += kMappingsPerBlock) {
        const std::size_t last = std::min(mappings.size(), first + kMappingsPerBlock);
        out += QByteArray::number(qulonglong(last - first)) + " beginbfchar\n";
        for (std::size_t k = first; k < last; ++k) {
            out += '<' + Hex(mappings[k].code, 2 * mappings[k].codeBytes) + "> <";
            for (const char16_t unit : mappings[k].text)
                out += Hex(unit, 4);
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    return out;
}

// The CMap with radicals named as their ideographs; nothing when there is
// nothing to change or the CMap cannot be read.
std::optional<QByteArray> MendedCMap(const QByteArray& cmap)
{
    std::optional<CMapMappings> read = ReadMappings(cmap);
    if (!read || !NameIdeographs(read->mappings))
        return std::nullopt;
    return cmap.left(read->begin) + WriteMappings(read->mappings) + cmap.mid(read->end);
}

// An uncompressed stream object of direct length with its data replaced by
// what change makes of it; nothing when the object is not such a stream or
// change leaves it as it is.
template <class Change>
std::optional<QByteArray> WithStreamChanged(const QByteArray& object, Change change)
{
    const qsizetype stream = object.indexOf("stream");
    if (stream < 0)
        return std::nullopt;
    const QByteArray dictionary = object.left(stream);
    static const QRegularExpression lengthKey(QStringLiteral("/Length\\s+(\\d+)(\\s+\\d+\\s+R)?"));
    const QRegularExpressionMatch length = lengthKey.match(QString::fromLatin1(dictionary));
    if (dictionary.contains("/Filter") || !length.hasMatch() || length.hasCaptured(2))
        return std::nullopt;
    qsizetype dataStart = stream + 6;
    if (object.mid(dataStart, 2) == "\r\n")
        dataStart += 2;
    else if (object.mid(dataStart, 1) == "\n")
        dataStart += 1;
    else
        return std::nullopt;
    bool ok = false;
    const qsizetype size = length.captured(1).toLongLong(&ok);
    if (!ok || size > object.size() - dataStart ||
        !object.mid(dataStart + size).trimmed().startsWith("endstream"))
        return std::nullopt;
    const std::optional<QByteArray> data = change(object.mid(dataStart, size));
    if (!data)
        return std::nullopt;
    QByteArray head = object.left(dataStart);
    head.replace(length.capturedStart(1), length.capturedLength(1),
                 QByteArray::number(data->size()));
    return head + *data + object.mid(dataStart + size);
}

struct XrefEntry {
    qint64 offset = 0;
    int generation = 0;
    bool inUse = false;
};
struct XrefSection {
    int first = 0;
    std::vector<XrefEntry> entries;
};

// The words of a cross-reference table from at, up to its trailer.
std::optional<std::vector<XrefSection>> ReadXref(const QByteArray& pdf, qsizetype at,
                                                 qsizetype* trailer)
{
    if (pdf.mid(at, 4) != "xref")
        return std::nullopt;
    qsizetype i = at + 4;
    auto word = [&]() {
        while (i < pdf.size() && IsWhite(pdf[i]))
            ++i;
        const qsizetype begin = i;
        while (i < pdf.size() && !IsWhite(pdf[i]))
            ++i;
        return pdf.mid(begin, i - begin);
    };
    std::vector<XrefSection> sections;
    for (;;) {
        const qsizetype before = i;
        const QByteArray first = word();
        if (first == "trailer") {
            *trailer = i - 7;
            return sections;
        }
        bool ok1 = false, ok2 = false;
        XrefSection section;
        section.first = first.toInt(&ok1);
        const int count = word().toInt(&ok2);
        if (!ok1 || !ok2 || before == i || section.first < 0 || count < 0 ||
            count > kMostObjects - section.first)
            return std::nullopt;
        for (int k = 0; k < count; ++k) {
            XrefEntry e;
            bool okOffset = false, okGeneration = false;
            e.offset = word().toLongLong(&okOffset);
            e.generation = word().toInt(&okGeneration);
            const QByteArray type = word();
            if (!okOffset || !okGeneration || (type != "n" && type != "f"))
                return std::nullopt;
            e.inUse = type == "n";
            section.entries.push_back(e);
        }
        sections.push_back(std::move(section));
    }
}

} // namespace

QByteArray WithIdeographsInTextLayer(const QByteArray& pdf)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return pdf;
    bool ok = false;
    const qsizetype xrefAt =
        pdf.mid(startxref + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    qsizetype trailerAt = -1;
    const std::optional<std::vector<XrefSection>> xref =
        ok && xrefAt > 0 && xrefAt < startxref ? ReadXref(pdf, xrefAt, &trailerAt) : std::nullopt;
    if (!xref)
        return pdf;
    const QByteArray trailer = pdf.mid(trailerAt, startxref - trailerAt);
    if (trailer.contains("/Prev") || trailer.contains("/XRefStm"))
        return pdf;

    // Each object runs from its offset to the next object's, the last to the
    // cross-reference table.
    std::map<qint64, int> objectAt; // offset → object number
    for (const XrefSection& s : *xref)
        for (std::size_t k = 0; k < s.entries.size(); ++k)
            if (s.entries[k].inUse &&
                (s.entries[k].offset <= 0 || s.entries[k].offset >= xrefAt ||
                 !objectAt.emplace(s.entries[k].offset, s.first + int(k)).second))
                return pdf;
    if (objectAt.empty())
        return pdf;
    std::map<int, QByteArray> objects;
    for (auto it = objectAt.begin(); it != objectAt.end(); ++it) {
        const auto next = std::next(it);
        const qint64 end = next == objectAt.end() ? xrefAt : next->first;
        objects[it->second] = pdf.mid(it->first, end - it->first);
    }

    bool changed = false;
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    const QString latin = QString::fromLatin1(pdf.left(xrefAt));
    for (auto m = toUnicode.globalMatch(latin); m.hasNext();) {
        const auto object = objects.find(m.next().captured(1).toInt());
        if (object == objects.end())
            continue;
        const std::optional<QByteArray> mended = WithStreamChanged(object->second, MendedCMap);
        if (mended) {
            object->second = *mended;
            changed = true;
        }
    }
    if (!changed)
        return pdf;

    QByteArray out = pdf.left(objectAt.begin()->first);
    std::map<int, qint64> newOffset;
    for (const auto& [offset, number] : objectAt) {
        newOffset[number] = out.size();
        out += objects[number];
    }
    const qsizetype newXrefAt = out.size();
    out += "xref\n";
    for (const XrefSection& s : *xref) {
        out += QByteArray::number(s.first) + ' ' +
               QByteArray::number(qulonglong(s.entries.size())) + '\n';
        for (std::size_t k = 0; k < s.entries.size(); ++k) {
            const XrefEntry& e = s.entries[k];
            const qint64 offset = e.inUse ? newOffset[s.first + int(k)] : e.offset;
            out += QByteArray::number(offset).rightJustified(10, '0') + ' ' +
                   QByteArray::number(e.generation).rightJustified(5, '0') +
                   (e.inUse ? " n \n" : " f \n");
        }
    }
    out += trailer;
    out += "startxref\n" + QByteArray::number(newXrefAt) + "\n%%EOF\n";
    return out;
}
