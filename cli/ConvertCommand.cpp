// ventacalc-cli convert: one value in a unit, converted into every unit of its
// quantity.
#include "app/Numbers.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "convert/UnitTables.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace
{

QString helpText()
{
    QString text = QStringLiteral(
        "用法: ventacalc-cli convert <数值> <单位> [--json]\n"
        "\n"
        "把一个数值由给定单位换算为同一物理量的全部单位，与“常用单位换算器”窗口相同。\n"
        "单位按窗口中的名称给出；上下标可写成普通数字（kgf/cm2、mmH2O、kg/m3），\n"
        "也可写成 kgf/cm²、mmH₂O。名称先按大小写完全一致查找，找不到时再不区分大小写查找\n"
        "（如 KW、mmhg），结果唯一时才采用。\n"
        "\n"
        "选项:\n"
        "  --json  输出JSON对象，键为单位名称，值为全精度（17位有效数字）的换算结果\n"
        "\n"
        "输出: 该物理量的每个单位一行：单位名称和换算结果（四位小数，与窗口相同）。\n"
        "数值为空、不是数值、单位无法识别或换算结果超出数值范围（约 1.8e308）时，\n"
        "在标准错误输出给出提示并以状态 2 退出。\n"
        "\n"
        "单位:\n");
    for (const ConversionPage& page : ConversionPages()) {
        QStringList names;
        for (const ConversionUnit& u : page.units)
            names << u.plainName();
        text += QStringLiteral("  %1: %2\n").arg(page.title, names.join(QStringLiteral("  ")));
    }
    text += QStringLiteral("\n例: ventacalc-cli convert 1 atm\n");
    return text;
}

} // namespace

CommandWords ParseConvertWords(const QStringList& args)
{
    CommandWords words;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json") && words.flags.contains(arg))
            throw UserError(QStringLiteral("选项 --json 给出了两次"));
        else if (arg == QLatin1String("--json"))
            words.flags << arg;
        else if (arg.startsWith(QLatin1String("--")))
            throw UserError(QStringLiteral("无法识别的选项: %1（见 ventacalc-cli convert --help）")
                                .arg(QuotedInput(arg)));
        else
            words.positional << arg;
    }
    if (words.positional.size() != 2)
        throw UserError(QStringLiteral("用法: ventacalc-cli convert <数值> <单位> [--json]"));
    return words;
}

namespace
{

QString jsonString(QString text)
{
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("\""), QLatin1String("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

int run(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParseConvertWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    const bool json = words.has("--json");
    const QStringList& positional = words.positional;

    const QString& valueText = positional[0];
    const UnitLookup lookup = FindUnit(positional[1]);
    if (!lookup.found) {
        if (!lookup.candidates.isEmpty())
            return Refuse(io, QStringLiteral("单位“%1”不明确，可能是: %2")
                                  .arg(QuotedInput(positional[1]),
                                       lookup.candidates.join(QStringLiteral(", "))));
        return Refuse(io, QStringLiteral("无法识别的单位“%1”（见 ventacalc-cli convert --help）")
                              .arg(QuotedInput(positional[1])));
    }
    // The window's checks, in its order.
    if (valueText.isEmpty())
        return Refuse(io, QStringLiteral("请输入要换算的数据"));
    const ConversionPage& page = ConversionPages()[lookup.found->page];
    std::vector<double> values;
    try {
        values = ConvertToAllUnits(page, lookup.found->unit,
                                   ParseField(QStringLiteral("数值"), valueText));
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    if (json) {
        QStringList members;
        for (size_t r = 0; r < values.size(); ++r)
            members << jsonString(page.units[r].displayName()) + QStringLiteral(": ") +
                           FullPrecision(values[r]);
        io.out << "{" << members.join(QStringLiteral(", ")) << "}\n";
        return ExitOk;
    }
    qsizetype width = 0;
    for (const ConversionUnit& u : page.units)
        width = std::max(width, u.displayName().size());
    for (size_t r = 0; r < values.size(); ++r)
        io.out << page.units[r].displayName().leftJustified(width + 2) << FormatConverted(values[r])
               << "\n";
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("convert"), QStringLiteral("常用单位换算"),
                                     helpText(), &run});

} // namespace
