#include "pipe/PipeCatalogue.h"

#include "app/CheckedFile.h"
#include "app/CsvReader.h"
#include "app/FailureReasons.h"
#include "app/Gbk.h"
#include "app/Numbers.h"

#include <QFile>
#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

namespace
{

// Byte offsets inside a record. The layout is the one the catalogue has
// always had on the engineers' machines: a length-prefixed name, four
// parallel arrays of 40 sizes, the count and the roughness, with padding
// that aligns the arrays and the roughness.
constexpr int kNameLengthAt = 0;   // unsigned byte
constexpr int kNameAt = 1;         // 30 bytes of GBK
constexpr int kDNAt = 32;          // 40 × int32
constexpr int kDeAt = 192;         // 40 × double
constexpr int kDiAt = 512;         // 40 × double
constexpr int kEAt = 832;          // 40 × double
constexpr int kCountAt = 1152;     // int32
constexpr int kRoughnessAt = 1160; // double

static_assert(kDeAt == kDNAt + MostPipeSizes * 4);
static_assert(kDiAt == kDeAt + MostPipeSizes * 8);
static_assert(kEAt == kDiAt + MostPipeSizes * 8);
static_assert(kCountAt == kEAt + MostPipeSizes * 8);
static_assert(PipeTypeRecordSize == kRoughnessAt + 8);

void putInt32(QByteArray& record, int at, qint32 value)
{
    qToLittleEndian<qint32>(value, record.data() + at);
}

void putDouble(QByteArray& record, int at, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<quint64>(bits, record.data() + at);
}

qint32 int32At(const char* record, int at)
{
    return qFromLittleEndian<qint32>(record + at);
}

double doubleAt(const char* record, int at)
{
    const quint64 bits = qFromLittleEndian<quint64>(record + at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

constexpr qint64 kMostCatalogueBytes = qint64(MostPipeTypes) * PipeTypeRecordSize;

[[noreturn]] void tooLong(const QString& path, qint64 length)
{
    throw UserError(QStringLiteral("管道库文件“%1”已损坏：长度%2字节，超过%3种管道的%4字节")
                        .arg(path)
                        .arg(length)
                        .arg(MostPipeTypes)
                        .arg(kMostCatalogueBytes));
}

// Called right after the failing call, while errno still holds its reason.
QString readFailure(const QString& path, const QFileDevice& file)
{
    const int error = errno;
    return QStringLiteral("无法读取管道库文件“%1”：%2")
        .arg(path, FileDeviceReason(file.error(), error));
}

// The catalogue's bytes, every record checked (and decoded into *types when
// given); a damaged file is refused before any change. A file too long for a
// catalogue is refused by its size, before it is read.
QByteArray readCatalogueBytes(const QString& path, std::vector<PipeTypeRecord>* types = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(readFailure(path, file));
    if (file.size() > kMostCatalogueBytes)
        tooLong(path, file.size());
    // One byte more than a catalogue can hold tells a file that grew since,
    // or one whose size the system does not know, without reading it all.
    const QByteArray bytes = file.read(kMostCatalogueBytes + 1);
    if (bytes.size() > kMostCatalogueBytes)
        tooLong(path, std::max(file.size(), qint64(bytes.size())));
    if (file.error() != QFileDevice::NoError)
        throw UserError(readFailure(path, file));
    std::vector<PipeTypeRecord> parsed = ParsePipeCatalogue(bytes, path);
    if (types)
        *types = std::move(parsed);
    return bytes;
}

void writeCatalogueBytes(const QString& path, const QByteArray& bytes)
{
    // Built beside the file and renamed over it when complete: a failure
    // anywhere leaves the old catalogue whole.
    ReplaceFile(path, bytes);
}

[[noreturn]] void badRecord(const QString& path, qsizetype record, const QString& why)
{
    throw UserError(
        QStringLiteral("管道库文件“%1”的第%2条记录已损坏：%3").arg(path).arg(record + 1).arg(why));
}

PipeTypeRecord decodeRecord(const char* data, const QString& path, qsizetype index)
{
    const int nameLength = static_cast<unsigned char>(data[kNameLengthAt]);
    if (nameLength > MostPipeTypeNameBytes)
        badRecord(path, index,
                  QStringLiteral("名称长度为%1字节，超过%2字节")
                      .arg(nameLength)
                      .arg(MostPipeTypeNameBytes));
    const qint32 count = int32At(data, kCountAt);
    if (count < 0 || count > MostPipeSizes)
        badRecord(path, index,
                  QStringLiteral("管径数为%1，应在0～%2之间").arg(count).arg(MostPipeSizes));
    PipeTypeRecord type;
    try {
        type.name = FromGbk(QByteArray(data + kNameAt, nameLength));
    } catch (const UserError&) {
        badRecord(path, index, QStringLiteral("名称不是有效的GBK文本"));
    }
    type.K = doubleAt(data, kRoughnessAt);
    bool finite = std::isfinite(type.K);
    type.sizes.reserve(count);
    for (int k = 0; k < count; ++k) {
        PipeSize size;
        size.DN = int32At(data, kDNAt + 4 * k);
        size.De = doubleAt(data, kDeAt + 8 * k);
        size.Di = doubleAt(data, kDiAt + 8 * k);
        size.E = doubleAt(data, kEAt + 8 * k);
        finite =
            finite && std::isfinite(size.De) && std::isfinite(size.Di) && std::isfinite(size.E);
        type.sizes.push_back(size);
    }
    if (!finite)
        badRecord(path, index, QStringLiteral("粗糙度或管径数据不是有效的数值"));
    // Held to the editor's rules: what it would refuse is never computed with.
    if (const QString fault = RoughnessFault(type.K); !fault.isEmpty())
        badRecord(path, index, fault);
    for (size_t k = 0; k < type.sizes.size(); ++k) {
        const PipeSize& size = type.sizes[k];
        const QString which = QStringLiteral("第%1个管径（DN%2）").arg(k + 1).arg(size.DN);
        if (const QString fault = SizeFault(size); !fault.isEmpty())
            badRecord(path, index, which + QStringLiteral("：") + fault);
        // The editor keeps one entry per DN and stores them ascending.
        if (k > 0 && !(type.sizes[k - 1].DN < size.DN))
            badRecord(path, index,
                      which + QStringLiteral("的公称直径不大于前一个管径的公称直径DN%1，"
                                             "管径应按公称直径从小到大排列且不重复")
                                  .arg(type.sizes[k - 1].DN));
    }
    return type;
}

const QString kPipeSizeData = QStringLiteral("管道规格数据");

// A field of the seed CSV as a number, or the line's error.
double csvNumber(const QString& text, qint64 line, const char* what)
{
    try {
        return ParseNumber(text);
    } catch (const ConversionError&) {
        CsvLineError(
            kPipeSizeData, line,
            QStringLiteral("%1“%2”不是数值").arg(QString::fromUtf8(what), QuotedInput(text)));
    }
}

[[noreturn]] void badCsvLine(qint64 line, const QString& why)
{
    CsvLineError(kPipeSizeData, line, why);
}

} // namespace

QByteArray EncodePipeTypeRecord(const PipeTypeRecord& type)
{
    const QByteArray name = ToGbk(type.name);
    if (name.size() > MostPipeTypeNameBytes)
        throw UserError(QStringLiteral("管道名称“%1”超过%2字节")
                            .arg(QuotedInput(type.name))
                            .arg(MostPipeTypeNameBytes));
    if (type.sizes.size() > size_t(MostPipeSizes))
        throw UserError(QStringLiteral("每种管道最多%1种管径！").arg(MostPipeSizes));

    QByteArray record(PipeTypeRecordSize, '\0');
    record[kNameLengthAt] = static_cast<char>(name.size());
    std::memcpy(record.data() + kNameAt, name.constData(), size_t(name.size()));
    for (size_t k = 0; k < type.sizes.size(); ++k) {
        const PipeSize& size = type.sizes[k];
        putInt32(record, kDNAt + 4 * int(k), size.DN);
        putDouble(record, kDeAt + 8 * int(k), size.De);
        putDouble(record, kDiAt + 8 * int(k), size.Di);
        putDouble(record, kEAt + 8 * int(k), size.E);
    }
    putInt32(record, kCountAt, qint32(type.sizes.size()));
    putDouble(record, kRoughnessAt, type.K);
    return record;
}

std::vector<PipeTypeRecord> ParsePipeCatalogue(const QByteArray& bytes, const QString& path)
{
    if (bytes.size() > kMostCatalogueBytes)
        tooLong(path, bytes.size());
    if (bytes.size() % PipeTypeRecordSize != 0)
        throw UserError(QStringLiteral("管道库文件“%1”已损坏：长度%2字节不是%3字节的整数倍")
                            .arg(path)
                            .arg(bytes.size())
                            .arg(PipeTypeRecordSize));
    const qsizetype count = bytes.size() / PipeTypeRecordSize;
    std::vector<PipeTypeRecord> types;
    types.reserve(size_t(count));
    for (qsizetype k = 0; k < count; ++k)
        types.push_back(decodeRecord(bytes.constData() + k * PipeTypeRecordSize, path, k));
    return types;
}

std::vector<PipeTypeRecord> ReadPipeCatalogue(const QString& path)
{
    std::vector<PipeTypeRecord> types;
    readCatalogueBytes(path, &types);
    return types;
}

void WritePipeCatalogue(const QString& path, const std::vector<PipeTypeRecord>& types)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(types.size()) * PipeTypeRecordSize);
    for (const PipeTypeRecord& type : types)
        bytes += EncodePipeTypeRecord(type);
    writeCatalogueBytes(path, bytes);
}

QStringList PipeTypeNames(const std::vector<PipeTypeRecord>& catalogue)
{
    QStringList names;
    names.reserve(qsizetype(catalogue.size()));
    for (const PipeTypeRecord& type : catalogue)
        names << type.name;
    return names;
}

const PipeTypeRecord* FindPipeType(const std::vector<PipeTypeRecord>& catalogue,
                                   const QString& name)
{
    for (const PipeTypeRecord& type : catalogue) {
        if (type.name == name)
            return &type;
    }
    return nullptr;
}

QStringList NominalDiameterTexts(const PipeTypeRecord& type)
{
    return PipeSizeList(type.sizes).nominalTexts();
}

QString PipeRoughnessText(double K)
{
    return QString::number(K, 'g', 15);
}

QString StoredPipeTypeName(const QString& name)
{
    // Whole characters only: cutting a two-byte character in half would leave
    // a record no reader accepts, and a name that never equals the typed one.
    int bytes = 0;
    qsizetype kept = 0;
    while (kept < name.size()) {
        const qsizetype units = name.at(kept).isHighSurrogate() && kept + 1 < name.size() ? 2 : 1;
        int charBytes;
        try {
            charBytes = int(ToGbk(name.mid(kept, units)).size());
        } catch (const UserError&) {
            throw UserError(
                QStringLiteral("管道名称“%1”含有无法以GBK编码保存的字符！").arg(QuotedInput(name)));
        }
        if (bytes + charBytes > MostPipeTypeNameBytes)
            break;
        bytes += charBytes;
        kept += units;
    }
    return name.left(kept);
}

PipeSize SizeFromDialog(const QString& DN, const QString& De, const QString& E)
{
    if (DN.isEmpty())
        throw UserError(QStringLiteral("请输入管道公称直径！"));
    if (De.isEmpty())
        throw UserError(QStringLiteral("请输入管道外径！"));
    if (E.isEmpty())
        throw UserError(QStringLiteral("请输入管道壁厚！"));
    PipeSize size;
    bool isInteger = false;
    size.DN = DN.trimmed().toInt(&isInteger);
    if (!isInteger)
        throw ConversionError(
            QStringLiteral("管道公称直径(mm)：“%1”不是有效的整数").arg(QuotedInput(DN)));
    size.De = ParseField(QStringLiteral("管道外径(mm)"), De);
    size.E = ParseField(QStringLiteral("管道壁厚(mm)"), E);
    size.Di = size.De - 2 * size.E;
    if (const QString fault = SizeFault(size); !fault.isEmpty())
        throw UserError(fault + QStringLiteral("！"));
    return size;
}

QString SizeFault(const PipeSize& size)
{
    if (size.DN <= 0)
        return QStringLiteral("管道公称直径必须大于0");
    if (size.DN > LargestNominalDiameter)
        return QStringLiteral("管道公称直径不能大于%1").arg(LargestNominalDiameter);
    if (!(size.De > 0))
        return QStringLiteral("管道外径必须大于0");
    if (!(size.De <= LargestOuterDiameter))
        return QStringLiteral("管道外径不能大于%1mm").arg(LargestOuterDiameter);
    if (!(size.E >= 0))
        return QStringLiteral("管道壁厚不能小于0");
    if (!(size.Di > 0))
        return QStringLiteral("管道外径须大于两倍壁厚（内径必须大于0）");
    if (!(size.Di <= size.De))
        return QStringLiteral("管道内径不能大于外径");
    return {};
}

QString RoughnessFault(double K)
{
    if (!(K >= 0))
        return QStringLiteral("管道粗糙度不能小于0");
    if (!(K <= LargestRoughness))
        return QStringLiteral("管道粗糙度不能大于%1mm").arg(LargestRoughness);
    return {};
}

SizeDialogTexts SizeDialogTextsOf(const PipeSize& size)
{
    return {QString::number(size.DN), shortest(size.De), shortest(size.E)};
}

const PipeSize& PipeSizeList::at(int index) const
{
    if (index < 0 || index >= count())
        throw UserError(QStringLiteral("请选择管径！"));
    return sizes_[size_t(index)];
}

QStringList PipeSizeList::nominalTexts() const
{
    QStringList texts;
    texts.reserve(count());
    for (const PipeSize& size : sizes_)
        texts << QString::number(size.DN);
    return texts;
}

int PipeSizeList::put(const PipeSize& size)
{
    for (size_t k = 0; k < sizes_.size(); ++k) {
        if (sizes_[k].DN == size.DN) {
            sizes_[k] = size;
            return int(k);
        }
    }
    if (count() >= MostPipeSizes)
        throw UserError(QStringLiteral("每种管道最多%1种管径！").arg(MostPipeSizes));
    sizes_.push_back(size);
    return count() - 1;
}

void PipeSizeList::remove(int index)
{
    at(index); // refuses an index that is no entry
    sizes_.erase(sizes_.begin() + index);
}

void SortPipeSizes(std::vector<PipeSize>& sizes)
{
    for (size_t i = 0; i + 1 < sizes.size(); ++i) {
        size_t smallest = i;
        for (size_t j = i + 1; j < sizes.size(); ++j) {
            if (sizes[j].DN < sizes[smallest].DN)
                smallest = j;
        }
        if (smallest != i)
            std::swap(sizes[i], sizes[smallest]);
    }
}

int SavePipeType(const QString& path, const QString& name, const QString& KText,
                 const PipeSizeList& sizes, int recordIndex)
{
    if (name.isEmpty())
        throw UserError(QStringLiteral("请输入管道名称！"));
    if (KText.isEmpty())
        throw UserError(QStringLiteral("请输入管壁粗糙度！"));
    PipeTypeRecord type;
    type.K = ParseField(QStringLiteral("管道粗糙度(mm)"), KText);
    if (const QString fault = RoughnessFault(type.K); !fault.isEmpty())
        throw UserError(fault + QStringLiteral("！"));
    type.name = StoredPipeTypeName(name);
    type.sizes = sizes.sizes();
    SortPipeSizes(type.sizes);
    const QByteArray record = EncodePipeTypeRecord(type);

    std::vector<PipeTypeRecord> catalogue;
    QByteArray bytes = readCatalogueBytes(path, &catalogue);
    const qsizetype count = qsizetype(catalogue.size());
    if (recordIndex >= count)
        throw UserError(QStringLiteral("请选择管道类型！")); // gone since it was listed
    if (recordIndex < 0 && count >= MostPipeTypes)
        throw UserError(QStringLiteral("管道库最多%1种管道！").arg(MostPipeTypes));
    // The name is a type's identity: lookups take the first record of a
    // name, so a second record of it would never be found. Compared as
    // stored, so a cut name meets the type it was cut to.
    for (qsizetype k = 0; k < count; ++k) {
        if (k != recordIndex && catalogue[size_t(k)].name == type.name)
            throw UserError(
                QStringLiteral("管道类型“%1”已经存在，请另取名称！").arg(QuotedInput(type.name)));
    }
    const qsizetype position = recordIndex < 0 ? count : qsizetype(recordIndex);
    if (position < count)
        bytes.replace(position * PipeTypeRecordSize, PipeTypeRecordSize, record);
    else
        bytes += record;
    writeCatalogueBytes(path, bytes);
    return int(position);
}

void DeletePipeType(const QString& path, int index)
{
    QByteArray bytes = readCatalogueBytes(path);
    if (index < 0 || qsizetype(index) >= bytes.size() / PipeTypeRecordSize)
        throw UserError(QStringLiteral("请选择管道类型！"));
    bytes.remove(qsizetype(index) * PipeTypeRecordSize, PipeTypeRecordSize);
    writeCatalogueBytes(path, bytes);
}

std::vector<PipeTypeRecord> ReadPipeTypesCsv(QIODevice& device)
{
    const QStringList header{QStringLiteral("Type"), QStringLiteral("K_mm"),
                             QStringLiteral("DN"),   QStringLiteral("De_mm"),
                             QStringLiteral("E_mm"), QStringLiteral("Di_mm")};
    // Di as written and De − 2E differ only by the rounding of the decimal
    // figures; anything more is a mistake in the data.
    constexpr double kDiSlack = 1e-9; // mm
    std::vector<PipeTypeRecord> types;
    ReadCsvTable(device, kPipeSizeData, header, [&](const QStringList& fields, qint64 line) {
        const QString& name = fields[0];
        bool stored = false;
        try {
            stored = !name.isEmpty() && StoredPipeTypeName(name) == name;
        } catch (const UserError&) {
            // a character without a GBK form: the line is refused below
        }
        if (!stored)
            badCsvLine(line,
                       QStringLiteral("管道名称应为1～%1字节的GBK文本").arg(MostPipeTypeNameBytes));
        const double K = csvNumber(fields[1], line, "粗糙度");
        bool isInteger = false;
        PipeSize size;
        size.DN = fields[2].toInt(&isInteger);
        size.De = csvNumber(fields[3], line, "外径");
        size.E = csvNumber(fields[4], line, "壁厚");
        size.Di = csvNumber(fields[5], line, "内径");
        if (!isInteger || size.DN <= 0 || !(size.De > 0) || !(size.E >= 0) || !(size.Di > 0) ||
            !(K >= 0))
            badCsvLine(line, QStringLiteral("数值超出范围"));
        for (const QString& fault : {SizeFault(size), RoughnessFault(K)}) {
            if (!fault.isEmpty())
                badCsvLine(line, fault);
        }
        if (std::fabs(size.Di - (size.De - 2 * size.E)) > kDiSlack)
            badCsvLine(line, QStringLiteral("内径应为外径减去两倍壁厚"));

        if (types.empty() || types.back().name != name) {
            if (FindPipeType(types, name))
                badCsvLine(line, QStringLiteral("管道“%1”的各行应相连").arg(QuotedInput(name)));
            types.push_back({name, K, {}});
        }
        PipeTypeRecord& type = types.back();
        if (type.K != K)
            badCsvLine(line, QStringLiteral("同一管道的粗糙度应相同"));
        if (!type.sizes.empty() && size.DN <= type.sizes.back().DN)
            badCsvLine(line, QStringLiteral("管径应按公称直径从小到大排列"));
        if (type.sizes.size() >= size_t(MostPipeSizes))
            badCsvLine(line, QStringLiteral("每种管道最多%1种管径").arg(MostPipeSizes));
        type.sizes.push_back(size);
    });
    return types;
}
