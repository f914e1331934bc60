#include "pipe/PipeSegment.h"

#include "app/KeyedRecords.h"
#include "app/Numbers.h"
#include "pipe/WaterFriction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

namespace
{

// Specific heat of water, J/(kg·K): the heat load carried by a flow.
constexpr double kSpecificHeat = 4186.8;
constexpr double kSecondsPerHour = 3600;
constexpr double kMmPerM = 1000;
constexpr double kWPerKW = 1000;
// The velocity of a chosen size and the automatic sizing use π to eight
// digits, as the calculators' tables have always shown it; the diameter a
// target velocity needs uses π in full.
constexpr double kPiEightDigits = 3.1415926;
// ρ = 1019.87957 · e^(−0.00061019 · tm) written out for the two temperatures,
// as the segment calculation has always evaluated it.
constexpr double kDensityAt0 = 1019.87957;       // kg/m³
constexpr double kDensityExponent = -0.00061019; // 1/℃
// The mean water temperatures the viscosity table covers: above 0, up to 100 ℃.
constexpr double kColdestMean = 0;
constexpr double kHottestMean = 100;
// Bounds of the typed quantities, far beyond any pipe network but small
// enough that every result stays a number the table and the workbook show
// in full: the water of a heating or chilled-water system between 0 and
// 200 ℃; 100 000 m³/h (the largest district-heating mains carry a fifth of
// it); 10 GW; a 100 km segment; a thousand fittings of one kind.
constexpr double kColdestWater = 0;       // ℃
constexpr double kHottestWater = 200;     // ℃
constexpr double kLargestFlow = 1e5;      // m³/h
constexpr double kLargestHeatLoad = 1e10; // W
constexpr double kLongestSegment = 1e5;   // m
constexpr double kMostFittings = 1000;

const char* const kCalculationFailed = "计算失败！";

// A refusal: its message ends the calculation with nothing computed.
struct Refusal {
    QString message;
};

[[noreturn]] void refuse(const QString& message)
{
    throw Refusal{message};
}

qsizetype characters(const QString& text)
{
    return text.toUcs4().size();
}

const QString kPipeNo = QStringLiteral("Pipe_No");
const QString kJZName = QStringLiteral("JZ_name");

// The number fields of a segment in the table's order after Pipe_No and
// around JZ_name.
struct NumberField {
    const char* name;
    double PipeSegment::*member;
};
constexpr NumberField kNumberFields[] = {
    {"G", &PipeSegment::G},       {"Q", &PipeSegment::Q},       {"DN", &PipeSegment::DN},
    {"V", &PipeSegment::V},       {"Pm", &PipeSegment::Pm},     {"L", &PipeSegment::L},
    {"JZ", &PipeSegment::JZ},     {"JZ_N", &PipeSegment::JZ_N}, {"ZL_y", &PipeSegment::ZL_y},
    {"ZL_j", &PipeSegment::ZL_j}, {"ZL_z", &PipeSegment::ZL_z},
};

constexpr double kLargestShown = LargestSegmentNumber;

bool shownInFull(double value)
{
    return std::isfinite(value) && std::fabs(value) < kLargestShown;
}

// A number field's grid title, as messages name it.
QString titleOf(const char* field)
{
    const TableDeclaration& table = PipeSegmentTableDeclaration();
    return table.fields[table.indexOf(QString::fromLatin1(field))].title.trimmed();
}

// The window's eleven checks of empty fields, in their order.
void checkFilled(const PipeSegmentInputs& in)
{
    if (in.pipeType.isEmpty())
        refuse(QStringLiteral("请选择管道类型！"));
    if (in.supplyTemp.isEmpty())
        refuse(QStringLiteral("请输入供水温度！"));
    if (in.returnTemp.isEmpty())
        refuse(QStringLiteral("请输入回水温度！"));
    if (in.segmentNo.isEmpty())
        refuse(QStringLiteral("请输入管道编号！"));
    if (in.sizeEntry == SizeEntry::Velocity && in.velocity.isEmpty())
        refuse(QStringLiteral("请输入流速！"));
    if (in.sizeEntry == SizeEntry::Nominal && in.nominal.isEmpty())
        refuse(QStringLiteral("请选择管径！"));
    if (in.length.isEmpty())
        refuse(QStringLiteral("请输入管段长度！"));
    if (in.fittingCount.isEmpty() && !in.fittingName.isEmpty())
        refuse(QStringLiteral("请输入局部阻力数量！"));
    // Only the exact text "0" means no local resistance; "0.0" still asks
    // for a type.
    if (in.fittingName.isEmpty() && !in.fittingCount.isEmpty() &&
        in.fittingCount != QLatin1String("0"))
        refuse(QStringLiteral("请选择局部阻力类型！"));
    if (in.flowEntry == FlowEntry::Flow && in.flow.isEmpty())
        refuse(QStringLiteral("请输入流量！"));
    if (in.flowEntry == FlowEntry::HeatLoad && in.flow.isEmpty())
        refuse(QStringLiteral("请输入热负荷！"));
}

// The inputs as numbers, each checked for what the calculation can use.
struct ParsedInputs {
    double t1 = 0, t2 = 0;  // ℃
    double flow = 0;        // m³/h, or W for a heat load
    double velocity = 0;    // m/s, velocity mode
    double nominal = 0;     // mm, nominal mode
    double maxFriction = 0; // Pa/m, automatic mode
    double length = 0;      // m
    bool fittings = false;  // local resistances counted
    double fittingCount = 0;
};

WaterState waterOf(double t1, double t2, const PipeTypeRecord& type)
{
    WaterState water;
    water.rho = kDensityAt0 * std::exp((t1 + t2) * kDensityExponent / 2);
    water.nu = KinematicViscosityOfWater((t1 + t2) / 2) * 1e-6;
    water.K = type.K;
    return water;
}

// The fields as the window captions them and the command line names them;
// the friction limit is the one field of the dialog "比摩阻设置" opens.
constexpr NamedInput kSupplyTemp{"供水温度(℃)", "t1"};
constexpr NamedInput kReturnTemp{"回水温度(℃)", "t2"};
constexpr NamedInput kFlow{"流量(m³/h)", "G"};
constexpr NamedInput kHeatLoad{"热负荷(W)", "Q"};
constexpr NamedInput kVelocity{"流速(m/s)", "v"};
constexpr NamedInput kNominal{"管径(mm)", "DN"};
constexpr NamedInput kMaxFriction{"自动选取管径设置中的最大比摩阻(Pa/m)", "Rmax"};
constexpr NamedInput kLength{"管段长度(m)", "L"};
constexpr NamedInput kFittingCount{"局部阻力数量", "n"};

double meanTemperature(const QString& supplyTemp, const QString& returnTemp, InputNaming naming)
{
    const double mean = (ParseField(kSupplyTemp, supplyTemp, naming) +
                         ParseField(kReturnTemp, returnTemp, naming)) /
                        2;
    if (!(mean > kColdestMean && mean <= kHottestMean))
        refuse(QStringLiteral("平均水温必须在0～100℃之间！"));
    return mean;
}

ParsedInputs readNumbers(const PipeSegmentInputs& in)
{
    // Texts the table would store cut: a cut number is never found again, so
    // each save would add a duplicate; a cut fitting name finds no
    // coefficient on the next calculation.
    if (characters(in.segmentNo) > SegmentNumberSize)
        refuse(QStringLiteral("管段编号不能超过%1个字符！").arg(SegmentNumberSize));
    if (characters(in.fittingName) > LocalResistanceNameSize)
        refuse(QStringLiteral("局部阻力类型名称不能超过%1个字符！").arg(LocalResistanceNameSize));

    const auto read = [&in](const NamedInput& input, const QString& text) {
        return ParseField(input, text, in.naming);
    };
    ParsedInputs n;
    n.t1 = read(kSupplyTemp, in.supplyTemp);
    n.t2 = read(kReturnTemp, in.returnTemp);
    meanTemperature(in.supplyTemp, in.returnTemp, in.naming);
    // A mean inside the table may still come of two temperatures no water
    // has (−70 and 131 ℃), whose difference would carry any heat load.
    if (!(n.t1 >= kColdestWater && n.t1 <= kHottestWater))
        refuse(QStringLiteral("供水温度必须在0～200℃之间！"));
    if (!(n.t2 >= kColdestWater && n.t2 <= kHottestWater))
        refuse(QStringLiteral("回水温度必须在0～200℃之间！"));

    // A flow, heat load or velocity of zero or below has no pipe size and no
    // friction (a diameter of NaN, λ = 64/0, a negative friction).
    n.flow = read(in.flowEntry == FlowEntry::Flow ? kFlow : kHeatLoad, in.flow);
    if (!(n.flow > 0))
        refuse(in.flowEntry == FlowEntry::Flow ? QStringLiteral("流量必须大于0！")
                                               : QStringLiteral("热负荷必须大于0！"));
    if (in.flowEntry == FlowEntry::Flow && n.flow > kLargestFlow)
        refuse(QStringLiteral("流量不能大于100000m³/h！"));
    if (in.flowEntry == FlowEntry::HeatLoad && n.flow > kLargestHeatLoad)
        refuse(QStringLiteral("热负荷不能大于10000000000W！"));
    switch (in.sizeEntry) {
    case SizeEntry::Velocity:
        n.velocity = read(kVelocity, in.velocity);
        if (!(n.velocity > 0))
            refuse(QStringLiteral("流速必须大于0！"));
        break;
    case SizeEntry::Nominal:
        n.nominal = read(kNominal, in.nominal);
        break;
    case SizeEntry::Automatic:
        // No friction lies below a limit of 0: every size would fail it and
        // the largest be taken without a word.
        n.maxFriction = read(kMaxFriction, in.maxFriction);
        if (!(n.maxFriction > 0))
            refuse(QStringLiteral("最大比摩阻必须大于0！"));
        break;
    }
    n.length = read(kLength, in.length);
    if (n.length < 0)
        refuse(QStringLiteral("管段长度不能小于0！"));
    if (n.length > kLongestSegment)
        refuse(QStringLiteral("管段长度不能大于100000m！"));
    n.fittings = !in.fittingName.isEmpty() && !in.fittingCount.isEmpty() &&
                 in.fittingCount != QLatin1String("0");
    if (n.fittings) {
        n.fittingCount = read(kFittingCount, in.fittingCount);
        if (n.fittingCount < 0)
            refuse(QStringLiteral("局部阻力数量不能小于0！"));
        // Counted fittings are whole: the table shows the count as "0", so
        // 1.5 would show as 2 beside a resistance of 1.5.
        if (n.fittingCount != std::floor(n.fittingCount))
            refuse(QStringLiteral("局部阻力数量必须为整数！"));
        if (n.fittingCount > kMostFittings)
            refuse(QStringLiteral("局部阻力数量不能大于1000！"));
    }
    if (in.flowEntry == FlowEntry::HeatLoad && n.t1 == n.t2)
        refuse(QStringLiteral("供水温度与回水温度相同，无法由热负荷计算流量！"));
    return n;
}

// The size whose inner diameter is nearest, relatively, to the diameter D (mm)
// a target velocity needs; a tie takes the larger size. sizes ascend in Di.
size_t sizeForDiameter(const std::vector<PipeSize>& sizes, double D)
{
    if (D <= sizes.front().Di)
        return 0;
    if (D >= sizes.back().Di)
        return sizes.size() - 1;
    size_t i = 1;
    while (i < sizes.size() && !(D < sizes[i].Di))
        ++i;
    if (i == sizes.size()) // a diameter that is no number among them
        return sizes.size() - 1;
    const double larger = std::fabs(sizes[i].Di - D) / D;
    const double smaller = std::fabs(sizes[i - 1].Di - D) / D;
    return larger > smaller ? i - 1 : i;
}

// The type's sizes by ascending inner diameter, those of equal Di in the
// type's order. A catalogue lists them by ascending DN, and the inner
// diameters then ascend too; sizing by velocity and by friction goes by the
// inner diameter, so that a size list whose diameters do not follow the
// nominal sizes still gives the nearest and the smallest sufficient size.
std::vector<PipeSize> byInnerDiameter(std::vector<PipeSize> sizes)
{
    // A diameter that is no number goes last, so that the order stays strict.
    const auto key = [](const PipeSize& size) {
        return std::isnan(size.Di) ? std::numeric_limits<double>::infinity() : size.Di;
    };
    std::stable_sort(sizes.begin(), sizes.end(),
                     [&](const PipeSize& a, const PipeSize& b) { return key(a) < key(b); });
    return sizes;
}

double friction(double v, double Di, double K, const WaterState& water)
{
    const std::optional<double> R = PipeSpecificFriction(v, Di / kMmPerM, K, water.nu, water.rho);
    if (!R)
        refuse(QString::fromUtf8(kCalculationFailed));
    return *R;
}

// Velocity (m/s) of a flow G (m³/h) in an inner diameter Di (mm).
double velocityIn(double G, double Di)
{
    const double d = Di / kMmPerM;
    return 4 * G / (kSecondsPerHour * d * d * kPiEightDigits);
}

PipeSize chooseSize(const PipeSegmentInputs& in, const ParsedInputs& n, const PipeTypeRecord& type,
                    double G, const WaterState& water)
{
    if (in.sizeEntry == SizeEntry::Nominal) {
        for (const PipeSize& size : type.sizes) {
            if (size.DN == n.nominal)
                return size;
        }
        refuse(QStringLiteral("管道类型“%1”中没有DN%2的管径！")
                   .arg(type.name, QuotedInput(in.nominal.trimmed())));
    }
    const std::vector<PipeSize> sizes = byInnerDiameter(type.sizes);
    if (in.sizeEntry == SizeEntry::Velocity) {
        const double D =
            kMmPerM * std::sqrt(4 * G / (std::numbers::pi * n.velocity * kSecondsPerHour));
        return sizes[sizeForDiameter(sizes, D)];
    }
    // The first size, from the smallest, whose friction stays strictly
    // below the limit; the largest when none does.
    for (const PipeSize& size : sizes) {
        if (!(size.Di > 0))
            continue; // refused below if it is the one taken
        const double v =
            4 * G / ((size.Di * kSecondsPerHour / kMmPerM) * size.Di / kMmPerM * kPiEightDigits);
        if (friction(v, size.Di, type.K, water) < n.maxFriction)
            return size;
    }
    return sizes.back();
}

PipeSegment calculate(const PipeSegmentInputs& in, const PipeSegmentData& data,
                      std::optional<WaterState>& waterOut)
{
    checkFilled(in);
    const ParsedInputs n = readNumbers(in);

    const std::optional<PipeTypeRecord> type = data.pipeType(in.pipeType);
    if (!type)
        refuse(QStringLiteral("管道库中没有管道类型“%1”！").arg(QuotedInput(in.pipeType)));
    if (type->sizes.empty())
        refuse(QStringLiteral("管道类型“%1”没有管径数据！").arg(QuotedInput(type->name)));

    const WaterState water = waterOf(n.t1, n.t2, *type);
    waterOut = water;

    // A name counted zero times needs no coefficient; one counted more is
    // refused when the table does not hold it rather than taken as ξ = 0.
    LocalResistance fitting;
    if (n.fittings) {
        if (const std::optional<LocalResistance> found = data.localResistance(in.fittingName))
            fitting = *found;
        else if (n.fittingCount > 0)
            refuse(QStringLiteral("局部阻力系数表中没有局部阻力类型“%1”！")
                       .arg(QuotedInput(in.fittingName)));
    }

    const double dt = std::fabs(n.t1 - n.t2);
    PipeSegment segment;
    double heatLoad; // W
    if (in.flowEntry == FlowEntry::HeatLoad) {
        heatLoad = n.flow;
        segment.G = heatLoad * kSecondsPerHour / (kSpecificHeat * dt * water.rho);
    } else {
        segment.G = n.flow;
        heatLoad = kSpecificHeat * dt * water.rho * segment.G / kSecondsPerHour;
    }

    const PipeSize size = chooseSize(in, n, *type, segment.G, water);
    if (!(size.Di > 0) || !std::isfinite(size.Di))
        refuse(QStringLiteral("管道类型“%1”中DN%2的内径不大于0，无法计算！")
                   .arg(QuotedInput(type->name))
                   .arg(size.DN));
    segment.Pipe_No = in.segmentNo;
    segment.Q = heatLoad / kWPerKW;
    segment.DN = size.DN;
    segment.V = velocityIn(segment.G, size.Di);
    segment.Pm = friction(segment.V, size.Di, type->K, water);
    segment.L = n.length;
    segment.ZL_y = segment.L * segment.Pm;
    segment.JZ_name = in.fittingName;
    if (n.fittings) {
        segment.JZ_N = n.fittingCount;
        segment.JZ = CoefficientForDN(fitting, segment.DN);
        segment.ZL_j = segment.JZ_N * segment.JZ * water.rho * segment.V * segment.V / 2;
    }
    segment.ZL_z = segment.ZL_y + segment.ZL_j;
    for (const NumberField& field : kNumberFields) {
        if (!shownInFull(segment.*field.member))
            refuse(QStringLiteral("%1超出可计算的范围，请检查输入数据！").arg(titleOf(field.name)));
    }
    return segment;
}

// Why a stored number breaks the rules of the segment it belongs to, or
// nothing. A field that holds nothing reads as 0 and breaks none.
QString storedNumberFault(const char* field, double value)
{
    const QLatin1String name(field);
    const bool whole = name == QLatin1String("DN") || name == QLatin1String("JZ_N");
    const double largest = name == QLatin1String("G")      ? kLargestFlow
                           : name == QLatin1String("L")    ? kLongestSegment
                           : name == QLatin1String("JZ")   ? LargestLocalResistance
                           : name == QLatin1String("JZ_N") ? kMostFittings
                                                           : kLargestShown;
    return StoredNumberFault(value, whole, largest);
}

} // namespace

const TableDeclaration& PipeSegmentTableDeclaration()
{
    // Titles keep their leading spaces: they centre short titles over their
    // columns.
    static const TableDeclaration declaration{{
        {.name = kPipeNo,
         .type = FieldType::Text,
         .size = SegmentNumberSize,
         .title = QStringLiteral("管段编号"),
         .gridWidth = 6,
         .alignment = Qt::AlignHCenter},
        NumberColumn("G", " 流量", 6, "0.0"),
        NumberColumn("Q", "热负荷kw", 8, "0.0"),
        NumberColumn("DN", "管径", 4, "0", Qt::AlignHCenter),
        NumberColumn("V", "流速", 5, "0.00"),
        NumberColumn("Pm", "比摩阻", 6, "0.00"),
        NumberColumn("L", " 管长", 5, "0.0"),
        {.name = kJZName,
         .type = FieldType::Text,
         .size = LocalResistanceNameSize,
         .title = QStringLiteral(" 局阻名称"),
         .gridWidth = 10,
         .alignment = Qt::AlignHCenter},
        NumberColumn("JZ", "局阻系数", 6, "0.00", Qt::AlignHCenter),
        NumberColumn("JZ_N", "局阻数量", 6, "0", Qt::AlignHCenter),
        NumberColumn("ZL_y", "沿程阻力", 8, "0.0"),
        NumberColumn("ZL_j", "局部阻力", 8, "0.0"),
        NumberColumn("ZL_z", "  总阻力", 10, "0.0"),
    }};
    return declaration;
}

void CheckPipeSegmentRecord(const RecordTableStore& table, const RecordTableStore::Record& record,
                            size_t position)
{
    // A segment table opens only with its declared columns, in order: where
    // the checked fields sit is found once, not for every record.
    struct Positions {
        size_t number = 0;
        std::vector<size_t> numbers; // those of kNumberFields
    };
    static const Positions positions = [] {
        const TableDeclaration& declaration = PipeSegmentTableDeclaration();
        Positions found{size_t(declaration.indexOf(kPipeNo)), {}};
        for (const NumberField& field : kNumberFields)
            found.numbers.push_back(size_t(declaration.indexOf(QLatin1String(field.name))));
        return found;
    }();
    const std::vector<QVariant>& values = record.values;
    for (size_t k = 0; k < std::size(kNumberFields); ++k) {
        const QVariant& value = values[positions.numbers[k]];
        if (!value.isValid())
            continue;
        const NumberField& field = kNumberFields[k];
        const QString fault = storedNumberFault(field.name, value.toDouble());
        if (!fault.isEmpty())
            RefuseSegmentRecord(table, position, values[positions.number].toString(),
                                titleOf(field.name), QLatin1String(field.name), fault);
    }
}

void CheckPipeSegmentRecords(const RecordTableStore& table)
{
    const std::vector<RecordTableStore::Record>& records = table.records();
    for (size_t r = 0; r < records.size(); ++r)
        CheckPipeSegmentRecord(table, records[r], r);
}

PipeSegmentData FileSegmentData(const QString& cataloguePath, RecordTableStore& coefficients)
{
    return {
        [cataloguePath](const QString& name) -> std::optional<PipeTypeRecord> {
            const std::vector<PipeTypeRecord> catalogue = ReadPipeCatalogue(cataloguePath);
            if (const PipeTypeRecord* type = FindPipeType(catalogue, name))
                return *type;
            return std::nullopt;
        },
        [&coefficients](const QString& name) { return LookUpLocalResistance(coefficients, name); }};
}

PipeSegmentData MemorySegmentData(std::vector<PipeTypeRecord> catalogue,
                                  std::vector<LocalResistance> coefficients)
{
    const auto types = std::make_shared<const std::vector<PipeTypeRecord>>(std::move(catalogue));
    const auto fittings =
        std::make_shared<const std::vector<LocalResistance>>(std::move(coefficients));
    return {[types](const QString& name) -> std::optional<PipeTypeRecord> {
                if (const PipeTypeRecord* type = FindPipeType(*types, name))
                    return *type;
                return std::nullopt;
            },
            [fittings](const QString& name) -> std::optional<LocalResistance> {
                for (const LocalResistance& fitting : *fittings) {
                    if (fitting.name == name)
                        return fitting;
                }
                return std::nullopt;
            }};
}

PipeWaterOutcome PipeWater(const QString& pipeType, const QString& supplyTemp,
                           const QString& returnTemp, const PipeSegmentData& data)
{
    PipeWaterOutcome outcome;
    try {
        if (pipeType.isEmpty())
            refuse(QStringLiteral("请选择管道类型！"));
        if (supplyTemp.isEmpty())
            refuse(QStringLiteral("请输入供水温度！"));
        if (returnTemp.isEmpty())
            refuse(QStringLiteral("请输入回水温度！"));
        outcome.meanTemperature = meanTemperature(supplyTemp, returnTemp, InputNaming::Caption);
        const std::optional<PipeTypeRecord> type = data.pipeType(pipeType);
        if (!type)
            refuse(QStringLiteral("管道库中没有管道类型“%1”！").arg(QuotedInput(pipeType)));
        outcome.water = waterOf(ParseNumber(supplyTemp), ParseNumber(returnTemp), *type);
    } catch (const Refusal& refusal) {
        outcome.refusal = refusal.message;
    } catch (const ConversionError& error) {
        outcome.refusal = error.text();
    }
    return outcome;
}

PipeSegmentOutcome CalculatePipeSegment(const PipeSegmentInputs& in, const PipeSegmentData& data)
{
    PipeSegmentOutcome outcome;
    try {
        outcome.segment = calculate(in, data, outcome.water);
    } catch (const Refusal& refusal) {
        outcome.refusal = refusal.message;
    } catch (const ConversionError& error) {
        outcome.refusal = error.text();
    }
    return outcome;
}

void StorePipeSegment(RecordTableStore& table, const PipeSegment& segment)
{
    if (FindSegment(table, segment.Pipe_No))
        table.edit();
    else
        table.append();
    table.setText(kPipeNo, segment.Pipe_No);
    table.setText(kJZName, segment.JZ_name);
    for (const NumberField& field : kNumberFields)
        table.setNumber(QString::fromLatin1(field.name), segment.*field.member);
    table.post();
}

QStringList SegmentNumbers(RecordTableStore& table)
{
    return KeyValues(table, kPipeNo);
}

bool FindSegment(RecordTableStore& table, const QString& number)
{
    return FindKeyedRecord(table, kPipeNo, number);
}

bool DeleteSegment(RecordTableStore& table, const QString& number)
{
    return DeleteKeyedRecord(table, kPipeNo, number);
}

PipeSegment CurrentSegment(const RecordTableStore& table)
{
    PipeSegment segment;
    segment.Pipe_No = table.text(kPipeNo);
    segment.JZ_name = table.text(kJZName);
    for (const NumberField& field : kNumberFields)
        segment.*field.member = table.number(QString::fromLatin1(field.name));
    return segment;
}

SegmentFieldTexts CurrentSegmentTexts(const RecordTableStore& table)
{
    return {table.text(kPipeNo),
            table.text(QStringLiteral("G")),
            table.text(QStringLiteral("DN")),
            table.text(QStringLiteral("L")),
            table.text(QStringLiteral("JZ_Name")),
            table.text(QStringLiteral("JZ_N"))};
}
