#include "chart/PointTable.h"

#include "app/Numbers.h"

namespace
{

// Width of the name field: point names are at most four characters.
constexpr int kNameSize = 4;

FieldDeclaration quantity(const char* name, const char* title, int gridWidth, const char* pattern)
{
    return {.name = QString::fromLatin1(name),
            .type = FieldType::Double,
            .title = QString::fromUtf8(title),
            .gridWidth = gridWidth,
            .pattern = QString::fromLatin1(pattern),
            .alignment = Qt::AlignRight};
}

} // namespace

const TableDeclaration& PointTableDeclaration()
{
    // Grid titles keep their leading spaces: they centre the short titles
    // over their columns.
    static const TableDeclaration declaration{{
        {.name = QStringLiteral("No"),
         .type = FieldType::Text,
         .size = kNameSize,
         .title = QStringLiteral("状态点"),
         .gridWidth = 6,
         .alignment = Qt::AlignHCenter},
        quantity("T", "干球温度", 6, "0.00"),
        quantity("RH", "相对湿度", 6, "0.00"),
        quantity("Ts", "湿球温度", 6, "0.00"),
        quantity("D", " 含湿量", 6, "0.00"),
        quantity("I", "   焓", 8, "0.00"),
        quantity("Ruo", " 密度", 6, "0.00"),
        quantity("Tv", "露点温度", 6, "0.00"),
        quantity("P", " 分压力", 8, "0.0"),
    }};
    return declaration;
}

bool FindPoint(RecordTableStore& table, const QString& name)
{
    SuspendedUpdates suspended(table);
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(QStringLiteral("No")) == name)
            return true;
    }
    return false;
}

StatePoint CurrentPoint(const RecordTableStore& table)
{
    StatePoint point;
    point.No = table.text(QStringLiteral("No")).toStdString();
    point.T = table.number(QStringLiteral("T"));
    point.RH = table.number(QStringLiteral("RH"));
    point.Ts = table.number(QStringLiteral("Ts"));
    point.D = table.number(QStringLiteral("D"));
    point.I = table.number(QStringLiteral("I"));
    point.Ruo = table.number(QStringLiteral("Ruo"));
    point.Tv = table.number(QStringLiteral("Tv"));
    point.P = table.number(QStringLiteral("P"));
    return point;
}

void StorePoint(RecordTableStore& table, const StatePoint& point)
{
    const QString name = QString::fromStdString(point.No);
    if (FindPoint(table, name))
        table.edit();
    else
        table.append();
    table.setText(QStringLiteral("No"), name);
    table.setNumber(QStringLiteral("T"), point.T);
    table.setNumber(QStringLiteral("RH"), point.RH);
    table.setNumber(QStringLiteral("Ts"), point.Ts);
    table.setNumber(QStringLiteral("D"), point.D);
    table.setNumber(QStringLiteral("I"), point.I);
    table.setNumber(QStringLiteral("Ruo"), point.Ruo);
    table.setNumber(QStringLiteral("Tv"), point.Tv);
    table.setNumber(QStringLiteral("P"), point.P);
    table.post();
}

bool DeletePoint(RecordTableStore& table, const QString& name)
{
    if (!FindPoint(table, name))
        return false;
    table.remove();
    return true;
}

void DeleteAllPoints(RecordTableStore& table)
{
    table.removeAll();
}

std::vector<StatePoint> ReadPoints(RecordTableStore& table)
{
    SuspendedUpdates suspended(table);
    std::vector<StatePoint> points;
    points.reserve(table.recordCount());
    for (table.first(); !table.eof(); table.next())
        points.push_back(CurrentPoint(table));
    return points;
}

QStringList PointReportLines(const std::vector<StatePoint>& points, const QString& pressureText,
                             const PointReportStyle& style)
{
    // Title and rule stand 22 columns in, over the middle of the table.
    const QString centre(22, QLatin1Char(' '));
    const QString dashLine =
        QStringLiteral(" -----------------------------------------------------------------");
    QStringList lines{
        QStringLiteral(" "),
        centre + style.title,
        centre + QString(style.ruleLength, QChar(u'━')),
        QStringLiteral(" "),
        QStringLiteral(" 大气压力：") + pressureText + QStringLiteral("Pa"),
        dashLine,
        QStringLiteral("        干球   湿球   相对  含湿量     焓      密度   露点  水蒸气"),
        QStringLiteral(" 状态点 温度   温度   湿度 (g/kg干) (kj/kg干) (m3/kg) 温度  分压力"),
        QStringLiteral("        (℃)   (℃)    (%)                            (℃)   (Pa) "),
        dashLine,
    };
    // Numbers are not padded: columns line up only where widths agree.
    const auto f2 = [](double value) { return FormatNumber(value, QStringLiteral("0.00")); };
    for (const StatePoint& p : points) {
        lines << QString(style.indent, QLatin1Char(' ')) + QString::fromStdString(p.No) +
                     QStringLiteral("  ") + f2(p.T) + QStringLiteral("  ") + f2(p.Ts) +
                     QStringLiteral("  ") + f2(p.RH) + QStringLiteral("   ") + f2(p.D) +
                     QStringLiteral("   ") + f2(p.I) + QStringLiteral("    ") + f2(p.Ruo) +
                     QStringLiteral("   ") + f2(p.Tv) + QStringLiteral("  ") +
                     FormatNumber(p.P, QStringLiteral("0.0"));
    }
    lines << dashLine;
    return lines;
}
