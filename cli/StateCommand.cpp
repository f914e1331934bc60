// ventacalc-cli state: one moist-air state from two known quantities, or one
// state per row of a CSV file.
#include "app/Numbers.h"
#include "cli/Commands.h"
#include "psychro/StatePointCalc.h"

#include <QFile>
#include <QMap>
#include <charconv>

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
    "                 含全部参数和 error 列，出错的行在 error 列给出原因，不中断批量计算\n"
    "\n"
    "输出: 八行结果（窗口的标签，两位小数）。\n"
    "输入超出窗口的范围检查时，在标准错误输出给出提示并以状态 2 退出；\n"
    "计算库的警告（如湿球温度大于干球温度）写到标准错误输出，结果照常输出。\n"
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

struct Computed {
    bool ok = false;
    QStringList messages; // refusal or library messages
    MoistAirState state;
};

Computed compute(const QString& pressure, GivenValue first, GivenValue second)
{
    Computed out;
    ID_lib lib([&out](const std::string& m) { out.messages << QString::fromStdString(m); });
    ApplyPressureText(lib, pressure);
    const StateCalcResult result = CalculateState(lib, first, second);
    if (result.refusal)
        out.messages << *result.refusal;
    out.ok = !result.refusal && result.completed;
    out.state = lib.CurrentState;
    return out;
}

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

QString csvField(QString text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QStringList splitCsvLine(const QString& line)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (int k = 0; k < line.size(); ++k) {
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

int runCsv(const QString& path, const QString& pressure, CliIo& io)
{
    QFile file;
    const bool opened =
        path == QLatin1String("-")
            ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
            : (file.setFileName(path), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened) {
        io.err << "无法读取文件“" << path << "”：" << file.errorString() << "\n";
        return ExitFailure;
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        lines.first().remove(0, 1);
    if (lines.isEmpty() || lines.first().trimmed().isEmpty()) {
        io.err << "CSV文件没有列名行\n";
        return ExitRefused;
    }
    const QStringList header = splitCsvLine(lines.takeFirst());
    QList<QPair<int, Quantity>> columns;
    for (int c = 0; c < header.size(); ++c) {
        const QString name = header[c].toLower();
        if (quantityNames().contains(name))
            columns.append({c, quantityNames().value(name)});
    }
    io.out << "t,ts,rh,d,i,tdew,rho,pv,error\n";
    for (const QString& raw : lines) {
        if (raw.trimmed().isEmpty())
            continue;
        const QStringList fields = splitCsvLine(raw);
        QString error;
        Computed result;
        try {
            QList<GivenValue> given;
            for (const auto& [column, quantity] : columns) {
                const QString text = column < fields.size() ? fields[column] : QString();
                if (!text.isEmpty())
                    given.append({quantity, ParseNumber(text)});
            }
            if (given.size() != 2)
                throw UserError(QStringLiteral("每行须恰好给出两个已知参数"));
            result = compute(pressure, given[0], given[1]);
            if (!result.ok || !result.messages.isEmpty())
                error = result.messages.join(QLatin1Char(' '));
        } catch (const UserError& e) {
            error = e.text();
        }
        QStringList row;
        if (result.ok) {
            const MoistAirState& s = result.state;
            for (double v : {s.t, s.ts, s.RH, s.d * 1000, s.i, s.tdew, s.rho, s.pv})
                row << FullPrecision(v);
        } else {
            for (int k = 0; k < 8; ++k)
                row << QString();
        }
        row << csvField(error);
        io.out << row.join(QLatin1Char(',')) << "\n";
    }
    return ExitOk;
}

int runState(const QStringList& args, CliIo& io)
{
    QString pressure = QStringLiteral("101325");
    QString csvPath;
    bool json = false;
    QList<QPair<Quantity, QString>> given;
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a == QLatin1String("--json")) {
            json = true;
        } else if ((a == QLatin1String("--pressure") || a == QLatin1String("--csv")) &&
                   k + 1 < args.size()) {
            (a == QLatin1String("--pressure") ? pressure : csvPath) = args[++k];
        } else if (a.contains(QLatin1Char('=')) &&
                   quantityNames().contains(a.section(QLatin1Char('='), 0, 0).toLower())) {
            given.append({quantityNames().value(a.section(QLatin1Char('='), 0, 0).toLower()),
                          a.section(QLatin1Char('='), 1)});
        } else {
            io.err << "无法识别的参数: " << a << "\n" << kHelp;
            return ExitRefused;
        }
    }
    try {
        if (!csvPath.isEmpty())
            return runCsv(csvPath, pressure, io);
        if (given.size() != 2 || given[0].second.isEmpty() || given[1].second.isEmpty()) {
            io.err << "请输入计算参数！\n";
            return ExitRefused;
        }
        const Computed result = compute(pressure, {given[0].first, ParseNumber(given[0].second)},
                                        {given[1].first, ParseNumber(given[1].second)});
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
