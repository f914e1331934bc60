// ventacalc-cli state: one moist-air state from two known quantities, or one
// state per row of a CSV file.
#include "app/AsciiNumber.h"
#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "cli/Batch.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "psychro/StatePointCalc.h"

#include <QMap>
#include <algorithm>
#include <bit>
#include <charconv>
#include <memory>
#include <vector>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli state <量>=<值> <量>=<值> [--pressure PA] [--json]\n"
    "      ventacalc-cli state --csv FILE [--pressure PA]\n"
    "\n"
    "由湿空气的两个已知参数计算其全部状态参数，与“湿空气状态参数计算”窗口相同。\n"
    "\n"
    "已知参数（任意两个、任意顺序；第一个相当于窗口的“第一参数”）:\n"
    "  t    干球温度 (℃)\n"
    "  ts   湿球温度 (℃)\n"
    "  rh   相对湿度 (%)\n"
    "  d    含湿量 (g/kg干空气)\n"
    "  i    焓 (kj/kg干空气)\n"
    "  湿球温度与焓不能成对给出。\n"
    "\n"
    "选项:\n"
    "  --pressure PA  当地大气压 (Pa)，默认 101325\n"
    "  --json         输出一个JSON对象，键为 t, ts, rh, d (g/kg), i, tdew, rho, pv，全精度\n"
    "  --csv FILE     批量计算: FILE 为CSV文件（- 表示标准输入），首行为列名，\n"
    "                 列名为 t, ts, rh, d, i，每行恰好填两列；输出CSV到标准输出，\n"
    "                 含全部参数和 error 列，出错的行参数列为空、在 error 列给出原因，\n"
    "                 不中断批量计算。列名行中没有可识别的列名时拒绝整个文件。\n"
    "                 各行在全部处理器核上并行计算，输出保持输入的顺序。\n"
    "  --threads N    批量计算所用的线程数，默认为处理器核数\n"
    "\n"
    "输出: 八行结果（窗口的标签，两位小数）。\n"
    "输入超出窗口的范围检查、或计算失败（如“计算失败！”、水蒸汽分压力超出计算范围）时，\n"
    "在标准错误输出给出提示、不输出结果并以状态 2 退出；计算库的警告（如湿球温度大于\n"
    "干球温度）写到标准错误输出，结果照常输出。写标准输出失败时以状态 1 退出。\n"
    "\n"
    "例: ventacalc-cli state t=20 rh=50\n";

const QMap<QString, Quantity>& quantityNames()
{
    static const QMap<QString, Quantity> names{{QStringLiteral("t"), Quantity::DryBulb},
                                               {QStringLiteral("ts"), Quantity::WetBulb},
                                               {QStringLiteral("rh"), Quantity::RH},
                                               {QStringLiteral("d"), Quantity::D},
                                               {QStringLiteral("i"), Quantity::I}};
    return names;
}

} // namespace

CommandWords ParseStateWords(const QStringList& args)
{
    const CommandWords words = ParseCommandWords(
        args, {"state", quantityNames().keys(), {"--pressure", "--csv", "--threads"}, {"--json"}});
    CheckBatchWords(words);
    if (words.has("--csv") && !words.given.isEmpty())
        throw UserError(QStringLiteral("--csv 不能与单独给出的参数同时使用"));
    return words;
}

namespace
{

struct Computed {
    bool ok = false;
    QStringList messages; // refusal, failures and warnings, in their order
    MoistAirState state;
};

// One state at a time with its own library, so that batch workers share nothing.
class StateCalculator
{
public:
    explicit StateCalculator(const QString& pressure)
        : lib_([this](const std::string& m, ID_lib::MessageKind) {
              messages_ << QString::fromStdString(m);
          })
    {
        ApplyPressureText(lib_, pressure, InputNaming::Argument);
    }

    // A state is a result only when the library completed it without a
    // failure and every quantity is a number.
    Computed compute(GivenValue first, GivenValue second)
    {
        messages_.clear();
        lib_.CurrentState = MoistAirState();
        const int failures = lib_.FailureCount();
        const StateCalcResult result = CalculateState(lib_, first, second);
        Computed out;
        out.state = lib_.CurrentState;
        out.messages = messages_;
        if (result.refusal)
            out.messages << *result.refusal;
        const MoistAirState& s = out.state;
        out.ok = !result.refusal && result.completed && lib_.FailureCount() == failures;
        if (out.ok && !AllFinite({s.t, s.ts, s.RH, s.d, s.i, s.tdew, s.rho, s.pv})) {
            out.ok = false;
            out.messages << QString::fromUtf8(ID_lib::CalculationFailedText);
        }
        return out;
    }

    double pressure() const { return lib_.AtmPressure; }

private:
    QStringList messages_;
    ID_lib lib_;
};

QString jsonObject(const MoistAirState& s)
{
    const QList<QPair<const char*, double>> fields{
        {"t", s.t}, {"ts", s.ts},     {"rh", s.RH},   {"d", s.d * 1000},
        {"i", s.i}, {"tdew", s.tdew}, {"rho", s.rho}, {"pv", s.pv}};
    QStringList parts;
    for (const auto& [key, value] : fields)
        parts << QStringLiteral("\"%1\": %2").arg(QLatin1String(key), FullPrecision(value));
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

// The quantities of the input columns, in their order.
constexpr Quantity kQuantities[] = {Quantity::DryBulb, Quantity::WetBulb, Quantity::RH, Quantity::D,
                                    Quantity::I};

const QStringList& inputColumns()
{
    static const QStringList columns{QStringLiteral("t"), QStringLiteral("ts"),
                                     QStringLiteral("rh"), QStringLiteral("d"),
                                     QStringLiteral("i")};
    return columns;
}

// A worker's cache holds 65,536 rows (7 MiB): more than the (t, RH) pairs of
// −10…40 ℃ at 0.1 ℃ and 10…95 % at 1 % (about 43,000; a year of hourly
// weather is 8,760 rows), so a file of such rows computes each pair about
// once per worker.
constexpr size_t kStateCacheRows = size_t(1) << 16;

class StateBatchWorker : public BatchWorker
{
public:
    StateBatchWorker(const QString& pressure, size_t cacheRows)
        : calculator_(pressure), cache_(cacheRows)
    {
    }

    BatchOutcome compute(const QStringList& inputs) override
    {
        QList<GivenValue> given;
        given.reserve(2);
        std::uint64_t columns = 0;
        for (qsizetype k = 0; k < inputs.size(); ++k) {
            if (!inputs[k].isEmpty()) {
                given.append({quantityNames().value(inputColumns()[k]),
                              ParseField(inputColumns()[k], inputs[k])});
                columns = columns << 4 | static_cast<std::uint64_t>(k + 1);
            }
        }
        if (given.size() != 2)
            throw UserError(QStringLiteral("每行须恰好给出两个已知参数"));
        const Cached& row = computeCached(given[0], given[1], columns);
        BatchOutcome out{{}, messageText(row.message)};
        if (row.ok) {
            out.results.reserve(8);
            for (const double v : row.values)
                out.results << FullPrecision(v);
        }
        return out;
    }

    bool appendPlainRow(std::span<const QByteArrayView> inputs, QByteArray& line) override
    {
        GivenValue given[2];
        int count = 0;
        std::uint64_t columns = 0;
        for (size_t k = 0; k < inputs.size(); ++k) {
            if (inputs[k].isEmpty())
                continue;
            const std::optional<double> value = ParseAsciiNumber(inputs[k]);
            if (!value || count == 2)
                return false; // the message is compute()'s
            given[count++] = {kQuantities[k], *value};
            columns = columns << 4 | static_cast<std::uint64_t>(k + 1);
        }
        if (count != 2)
            return false;
        const Cached& row = computeCached(given[0], given[1], columns);
        // What the batch writes for compute()'s outcome: eight result
        // columns (empty for a failure), then the error column.
        char buffer[8 * 32];
        char* end = buffer;
        for (const double v : row.values) {
            if (row.ok)
                end = std::to_chars(end, buffer + sizeof buffer, v).ptr;
            *end++ = ',';
        }
        line.append(buffer, end - buffer);
        line += messageField(row.message);
        line += '\n';
        return true;
    }

private:
    // A row as computed: its eight results and the index of its message text.
    struct Cached {
        double values[8];
        bool ok;
        std::uint16_t message;
    };
    using Cache = BatchCache<Cached, 4>;
    // Rows rarely carry messages, and few distinct ones: a row whose text is
    // none of the first kMessages is computed every time.
    static constexpr std::uint16_t kMessages = 256;
    static constexpr std::uint16_t kUnlisted = kMessages;

    // Keys: the two values and the pressure bit for bit, and which columns
    // gave the values in their order: all that a row's result depends on.
    const Cached& computeCached(GivenValue first, GivenValue second, std::uint64_t columns)
    {
        const Cache::Key key{std::bit_cast<std::uint64_t>(first.value),
                             std::bit_cast<std::uint64_t>(second.value),
                             std::bit_cast<std::uint64_t>(calculator_.pressure()), columns};
        if (const Cached* hit = cache_.find(key))
            return *hit;
        const Computed result = calculator_.compute(first, second);
        const MoistAirState& s = result.state;
        last_ = {{s.t, s.ts, s.RH, s.d * 1000, s.i, s.tdew, s.rho, s.pv},
                 result.ok,
                 messageIndex(result.messages.join(QLatin1Char(' ')))};
        if (last_.message != kUnlisted)
            cache_.insert(key, last_);
        return last_;
    }

    std::uint16_t messageIndex(const QString& text)
    {
        const auto found = std::find(messages_.cbegin(), messages_.cend(), text);
        if (found != messages_.cend())
            return static_cast<std::uint16_t>(found - messages_.cbegin());
        if (messages_.size() == kMessages) {
            // Not kept: the text of this row alone.
            unlisted_ = text;
            unlistedField_ = CsvField(text).toUtf8();
            return kUnlisted;
        }
        messages_.push_back(text);
        messageFields_.push_back(CsvField(text).toUtf8());
        return static_cast<std::uint16_t>(messages_.size() - 1);
    }

    const QString& messageText(std::uint16_t index) const
    {
        return index == kUnlisted ? unlisted_ : messages_[index];
    }
    const QByteArray& messageField(std::uint16_t index) const
    {
        return index == kUnlisted ? unlistedField_ : messageFields_[index];
    }

    StateCalculator calculator_;
    Cache cache_;
    // The distinct message texts, the empty one first, and the same as the
    // error column writes them; the text of the last row not kept.
    std::vector<QString> messages_{QString()};
    std::vector<QByteArray> messageFields_{QByteArray()};
    QString unlisted_;
    QByteArray unlistedField_;
    Cached last_{};
};

} // namespace

BatchCommand StateCsvBatch(const QString& pressure, size_t cacheRows)
{
    return {
        inputColumns(),
        {QStringLiteral("t"), QStringLiteral("ts"), QStringLiteral("rh"), QStringLiteral("d"),
         QStringLiteral("i"), QStringLiteral("tdew"), QStringLiteral("rho"), QStringLiteral("pv")},
        {},
        [pressure, cacheRows] { return std::make_unique<StateBatchWorker>(pressure, cacheRows); }};
}

namespace
{

int runState(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParseStateWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    const QString pressure =
        words.options.value(QStringLiteral("--pressure"), QStringLiteral("101325"));
    const QString csvPath = words.options.value(QStringLiteral("--csv"));
    const QString threads = words.options.value(QStringLiteral("--threads"), QStringLiteral("0"));
    const bool json = words.has("--json");
    // The first quantity as the user gave it first: the window's first group.
    struct Given {
        Quantity quantity;
        QString key, text;
    };
    QList<Given> given;
    for (const QString& key : words.keys)
        given.append({quantityNames().value(key), key, words.given.value(key)});
    try {
        // The pressure is checked once, before any row.
        StateCalculator calculator(pressure);
        if (!csvPath.isEmpty()) {
            return RunCsvBatch(csvPath, StateCsvBatch(pressure, kStateCacheRows),
                               ParseThreadCount(threads), io);
        }
        if (given.size() != 2 || given[0].text.isEmpty() || given[1].text.isEmpty()) {
            io.err << "请输入计算参数！\n";
            return ExitRefused;
        }
        const auto value = [](const Given& g) {
            return GivenValue{g.quantity, ParseField(g.key, g.text)};
        };
        const Computed result = calculator.compute(value(given[0]), value(given[1]));
        for (const QString& m : result.messages)
            io.err << m << "\n";
        if (!result.ok)
            return ExitRefused;
        if (json) {
            io.out << jsonObject(result.state) << "\n";
        } else {
            for (const ResultRow& row : StateResults(result.state))
                io.out << QString::fromUtf8(row.label) << " "
                       << FormatNumber(row.value, QStringLiteral("0.00")) << "\n";
        }
        return ExitOk;
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitRefused;
    }
}

const CliCommandRegistrar registrar({QStringLiteral("state"),
                                     QStringLiteral("由两个已知参数计算湿空气状态"),
                                     QString::fromUtf8(kHelp), &runState});

} // namespace
