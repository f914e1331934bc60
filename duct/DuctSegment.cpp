#include "duct/DuctSegment.h"

#include "app/KeyedRecords.h"
#include "app/Numbers.h"
#include "friction/Friction.h"

#include <QLocale>
#include <cmath>
#include <numbers>

namespace
{

constexpr double kSecondsPerHour = 3600;
constexpr double kMmPerM = 1000;
// The sheet-metal wall (mm) taken off each nominal size: the size names the
// outside of the duct, the air flows inside.
constexpr double kWall = 2;

// Bounds of the typed quantities, far beyond any duct network but small
// enough that every result stays a number the table and the workbook show in
// full: a million m³/h (the six digits of the flow column), a duct of 10 m
// across, a 100 km segment, ξ up to 1000 and a thousand fittings of one kind.
constexpr double kLargestFlow = 1e6;    // m³/h
constexpr double kLargestSize = 10000;  // mm
constexpr double kLongestSegment = 1e5; // m
constexpr double kLargestCoefficient = 1000;
constexpr double kMostFittings = 1000;
constexpr double kLargestShown = LargestSegmentNumber;

const char* const kCalculationFailed = "计算失败！";

// A refusal ends the calculation with its message and nothing computed.
[[noreturn]] void refuse(const QString& message)
{
    throw UserError(message);
}

// The window's checks of empty fields, in their order.
void checkFilled(const DuctSegmentInputs& in)
{
    if (in.segmentNo.isEmpty())
        refuse(QStringLiteral("请输入管段编号！"));
    if (in.round && in.diameter.isEmpty())
        refuse(QStringLiteral("请选择管径！"));
    if (!in.round && (in.width.isEmpty() || in.height.isEmpty()))
        refuse(QStringLiteral("请选择矩形风管的高度或宽度！"));
    if (in.length.isEmpty())
        refuse(QStringLiteral("请输入管段长度！"));
    if (in.flow.isEmpty())
        refuse(QStringLiteral("请输入风量！"));
}

// Texts the table would store cut: a cut number is never found again, so each
// save would add a duplicate; a cut size is not the size computed.
void checkLengths(const DuctSegmentInputs& in)
{
    if (in.segmentNo.toUcs4().size() > DuctNumberSize)
        refuse(QStringLiteral("管段编号不能超过%1个字符！").arg(DuctNumberSize));
    const QStringList sizes =
        in.round ? QStringList{in.diameter} : QStringList{in.width, in.height};
    for (const QString& size : sizes) {
        if (size.toUcs4().size() > DuctSizeSize)
            refuse(QStringLiteral("风管尺寸不能超过%1个字符！").arg(DuctSizeSize));
    }
    if (in.fittingName.toUcs4().size() > DuctFittingNameSize)
        refuse(QStringLiteral("局部阻力类型名称不能超过%1个字符！").arg(DuctFittingNameSize));
}

// The fields as the window (and the advanced settings dialog, which checks
// its own fields when closed) captions them and the command line names them.
constexpr NamedInput kFlow{"风量(m³/h)", "G"};
constexpr NamedInput kDiameter{"直径(mm)", "DN"};
constexpr NamedInput kWidth{"宽度(mm)", "W"};
constexpr NamedInput kHeight{"高度(mm)", "H"};
constexpr NamedInput kLength{"管段长度(m)", "L"};
constexpr NamedInput kCoefficient{"局部阻力系数", "xi"};
constexpr NamedInput kCount{"局部阻力数量", "n"};
constexpr NamedInput kDensity{"空气密度(kg/m³)", "rho"};
constexpr NamedInput kViscosity{"空气运动粘滞系数(m²/s)", "nu"};
constexpr NamedInput kRoughness{"风管管壁绝对粗糙度(mm)", "K"};

// The number of a field that may not be negative nor above `largest`;
// `field` names it in the messages ("管段长度"), `largestText` is the bound
// with its unit as they show it.
double bounded(const NamedInput& input, const QString& text, InputNaming naming,
               const QString& field, double largest, const char* largestText)
{
    const double value = ParseField(input, text, naming);
    if (value < 0)
        refuse(QStringLiteral("%1不能小于0！").arg(field));
    if (value > largest)
        refuse(QStringLiteral("%1不能大于%2！").arg(field, QString::fromUtf8(largestText)));
    return value;
}

// Why a size text (mm) is no duct, or nothing: 2 mm or less leaves no duct.
QString sizeFault(const QString& text)
{
    const double size = ParseNumber(text);
    if (!(size > kWall))
        return QStringLiteral("风管尺寸必须大于2mm！");
    if (size > kLargestSize)
        return QStringLiteral("风管尺寸不能大于10000mm！");
    return {};
}

// A nominal size (mm) less the wall, in m.
double inside(const NamedInput& input, const QString& text, InputNaming naming)
{
    ParseField(input, text, naming);
    if (const QString fault = sizeFault(text); !fault.isEmpty())
        refuse(fault);
    return (ParseNumber(text) - kWall) / kMmPerM;
}

bool shownInFull(double value)
{
    return std::isfinite(value) && std::fabs(value) < kLargestShown;
}

// A number field's grid title, as messages name it.
QString titleOf(const char* field)
{
    const TableDeclaration& table = DuctSegmentTableDeclaration();
    return table.fields[table.indexOf(QString::fromLatin1(field))].title.trimmed();
}

struct NumberField {
    const char* name;
    double DuctSegment::*member;
};
constexpr NumberField kNumberFields[] = {
    {"G", &DuctSegment::G},       {"V", &DuctSegment::V},       {"Pm", &DuctSegment::Pm},
    {"L", &DuctSegment::L},       {"JZ_K", &DuctSegment::JZ_K}, {"JZ_N", &DuctSegment::JZ_N},
    {"ZL_y", &DuctSegment::ZL_y}, {"ZL_j", &DuctSegment::ZL_j}, {"ZL_z", &DuctSegment::ZL_z},
};

DuctSegment calculate(const DuctSegmentInputs& in, const AirProperties& air)
{
    checkFilled(in);
    checkLengths(in);

    DuctSegment s;
    s.Duct_No = in.segmentNo;
    s.G = bounded(kFlow, in.flow, in.naming, QStringLiteral("风量"), kLargestFlow, "1000000m³/h");
    double d, area; // m, m²
    if (in.round) {
        d = inside(kDiameter, in.diameter, in.naming);
        area = d * d * 0.25 * std::numbers::pi;
        s.DN = in.diameter;
    } else {
        const double a = inside(kHeight, in.height, in.naming);
        const double b = inside(kWidth, in.width, in.naming);
        d = 2 * a * b / (a + b); // equivalent diameter for friction
        area = a * b;
        s.W = in.width;
        s.H = in.height;
    }
    s.L = bounded(kLength, in.length, in.naming, QStringLiteral("管段长度"), kLongestSegment,
                  "100000m");
    s.JZ_name = in.fittingName;
    if (!in.coefficient.isEmpty() || !in.count.isEmpty()) {
        s.JZ_N = bounded(kCount, in.count, in.naming, QStringLiteral("局部阻力数量"), kMostFittings,
                         "1000");
        // The table shows the count as "0": 1.5 would show as 2 beside a
        // resistance of 1.5.
        if (s.JZ_N != std::floor(s.JZ_N))
            refuse(QStringLiteral("局部阻力数量必须为整数！"));
        s.JZ_K = bounded(kCoefficient, in.coefficient, in.naming, QStringLiteral("局部阻力系数"),
                         kLargestCoefficient, "1000");
    }

    s.V = s.G / (area * kSecondsPerHour);
    const std::optional<double> R = DuctSpecificFriction(s.V, d, air.K, air.nu, air.rho);
    if (!R)
        refuse(QString::fromUtf8(kCalculationFailed));
    s.Pm = *R;
    s.ZL_y = s.L * s.Pm;
    s.ZL_j = s.JZ_N * s.JZ_K * air.rho * s.V * s.V / 2;
    s.ZL_z = s.ZL_y + s.ZL_j;
    for (const NumberField& field : kNumberFields) {
        if (!shownInFull(s.*field.member))
            refuse(QStringLiteral("%1超出可计算的范围，请检查输入数据！").arg(titleOf(field.name)));
    }
    return s;
}

const QString kDuctNo = QStringLiteral("Duct_No");
const QString kJZName = QStringLiteral("JZ_name");
const QString kDN = QStringLiteral("DN");
const QString kW = QStringLiteral("W");
const QString kH = QStringLiteral("H");

// Why a stored number breaks the rules of the segment it belongs to, or
// nothing.
QString storedNumberFault(const char* field, double value)
{
    const QLatin1String name(field);
    const double largest = name == QLatin1String("G")      ? kLargestFlow
                           : name == QLatin1String("L")    ? kLongestSegment
                           : name == QLatin1String("JZ_K") ? kLargestCoefficient
                           : name == QLatin1String("JZ_N") ? kMostFittings
                                                           : kLargestShown;
    return StoredNumberFault(value, name == QLatin1String("JZ_N"), largest);
}

// Why a stored size text breaks the window's rules, or nothing.
QString storedSizeFault(const QString& text)
{
    if (text.isEmpty())
        return {};
    try {
        QString fault = sizeFault(text);
        fault.chop(1); // the message's "！"
        return fault;
    } catch (const ConversionError&) {
        return QStringLiteral("“%1”不是有效的数值").arg(QuotedInput(text));
    }
}

QString exact(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// A stored number as a field shows it for editing; zero shows empty.
QString unlessZero(const RecordTableStore& table, const QString& field)
{
    return table.number(field) == 0 ? QString() : table.text(field);
}

} // namespace

const TableDeclaration& DuctSegmentTableDeclaration()
{
    // Titles keep their leading spaces: they centre short titles over their
    // columns.
    static const TableDeclaration declaration{{
        TextColumn("Duct_No", DuctNumberSize, "管段编号", 5),
        NumberColumn("G", " 风量", 6, "0", Qt::AlignHCenter),
        TextColumn("DN", DuctSizeSize, "圆管管径", 4),
        TextColumn("W", DuctSizeSize, "宽度", 4, Qt::AlignRight),
        TextColumn("H", DuctSizeSize, "高度", 4, Qt::AlignRight),
        NumberColumn("V", "风速", 4, "0.0"),
        NumberColumn("Pm", "比摩阻", 6, "0.00"),
        NumberColumn("L", " 管长", 5, "0.0"),
        TextColumn("JZ_name", DuctFittingNameSize, " 局阻名称", 10),
        NumberColumn("JZ_K", "局阻系数", 4, "0.00", Qt::AlignHCenter),
        NumberColumn("JZ_N", "局阻数量", 6, "0", Qt::AlignHCenter),
        NumberColumn("ZL_y", "沿程阻力", 8, "0.0"),
        NumberColumn("ZL_j", "局部阻力", 8, "0.0"),
        NumberColumn("ZL_z", "  总阻力", 10, "0.0"),
    }};
    return declaration;
}

AirPropertyTexts ExactTexts(const AirProperties& air)
{
    return {exact(air.rho), exact(air.nu), exact(air.K)};
}

AirPropertyTexts ShownTexts(const AirProperties& air)
{
    return {FormatFixed(air.rho, 4), FormatFixed(air.nu, 9), FormatFixed(air.K, 3)};
}

AirProperties ReadAirProperties(const AirPropertyTexts& texts, InputNaming naming)
{
    AirProperties air;
    air.nu = ParseField(kViscosity, texts.nu, naming);
    air.rho = ParseField(kDensity, texts.rho, naming);
    air.K = ParseField(kRoughness, texts.K, naming);
    if (!(air.nu > 0))
        throw UserError(QStringLiteral("空气运动粘滞系数必须大于0！"));
    if (!(air.rho > 0))
        throw UserError(QStringLiteral("空气密度必须大于0！"));
    if (air.K < 0)
        throw UserError(QStringLiteral("风管管壁绝对粗糙度不能小于0！"));
    return air;
}

std::optional<double> DuctSpecificFriction(double v, double d, double K, double nu, double rho)
{
    const ColebrookWhiteResult cw = ColebrookWhite(v * d / nu, K, d);
    if (!cw.converged)
        return std::nullopt;
    return DarcyWeisbachGradient(cw.lambda, v, d, rho);
}

DuctSegmentOutcome CalculateDuctSegment(const DuctSegmentInputs& in)
{
    DuctSegmentOutcome outcome;
    try {
        outcome.air = ReadAirProperties(in.air, in.naming);
        outcome.segment = calculate(in, *outcome.air);
    } catch (const UserError& error) {
        outcome.refusal = error.text();
    }
    return outcome;
}

void CheckDuctSegmentRecord(const RecordTableStore& table, const RecordTableStore::Record& record,
                            size_t position)
{
    const TableDeclaration& declaration = table.declaration();
    const auto at = [&](const QString& field) { return size_t(declaration.indexOf(field)); };
    // A segment table opens only with its declared columns, in order: where
    // the checked fields sit is found once, not for every record.
    struct Positions {
        std::vector<size_t> numbers; // those of kNumberFields
        std::vector<size_t> sizes;   // DN, W, H
    };
    static const Positions positions = [] {
        const TableDeclaration& declared = DuctSegmentTableDeclaration();
        Positions found;
        for (const NumberField& field : kNumberFields)
            found.numbers.push_back(size_t(declared.indexOf(QLatin1String(field.name))));
        for (const QString& field : {kDN, kW, kH})
            found.sizes.push_back(size_t(declared.indexOf(field)));
        return found;
    }();
    const std::vector<QVariant>& values = record.values;
    const auto refuseRecord = [&](const QString& field, const QString& fault) {
        RefuseSegmentRecord(table, position, values[at(kDuctNo)].toString(),
                            declaration.fields[int(at(field))].title.trimmed(), field, fault);
    };
    for (size_t k = 0; k < std::size(kNumberFields); ++k) {
        const QVariant& value = values[positions.numbers[k]];
        if (!value.isValid())
            continue;
        const NumberField& field = kNumberFields[k];
        const QString fault = storedNumberFault(field.name, value.toDouble());
        if (!fault.isEmpty())
            refuseRecord(QLatin1String(field.name), fault);
    }
    const QString sizeFields[] = {kDN, kW, kH};
    for (size_t k = 0; k < std::size(sizeFields); ++k) {
        const QString fault = storedSizeFault(values[positions.sizes[k]].toString());
        if (!fault.isEmpty())
            refuseRecord(sizeFields[k], fault);
    }
}

void CheckDuctSegmentRecords(const RecordTableStore& table)
{
    const std::vector<RecordTableStore::Record>& records = table.records();
    for (size_t r = 0; r < records.size(); ++r)
        CheckDuctSegmentRecord(table, records[r], r);
}

void StoreDuctSegment(RecordTableStore& table, const DuctSegment& segment)
{
    if (FindDuctSegment(table, segment.Duct_No))
        table.edit();
    else
        table.append();
    table.setText(kDuctNo, segment.Duct_No);
    table.setText(kDN, segment.DN);
    table.setText(kW, segment.W);
    table.setText(kH, segment.H);
    table.setText(kJZName, segment.JZ_name);
    for (const NumberField& field : kNumberFields)
        table.setNumber(QString::fromLatin1(field.name), segment.*field.member);
    table.post();
}

QStringList DuctSegmentNumbers(RecordTableStore& table)
{
    return KeyValues(table, kDuctNo);
}

bool FindDuctSegment(RecordTableStore& table, const QString& number)
{
    return FindKeyedRecord(table, kDuctNo, number);
}

bool DeleteDuctSegment(RecordTableStore& table, const QString& number)
{
    return DeleteKeyedRecord(table, kDuctNo, number);
}

DuctSegmentTexts CurrentDuctSegmentTexts(const RecordTableStore& table)
{
    DuctSegmentTexts t;
    t.segmentNo = table.text(kDuctNo);
    t.flow = table.text(QStringLiteral("G"));
    t.round = !table.text(kDN).isEmpty();
    t.diameter = table.text(kDN);
    t.width = table.text(kW);
    t.height = table.text(kH);
    t.length = table.text(QStringLiteral("L"));
    t.fittingName = table.text(QStringLiteral("JZ_Name"));
    t.coefficient = unlessZero(table, QStringLiteral("JZ_K"));
    t.count = unlessZero(table, QStringLiteral("JZ_n"));
    return t;
}
