#include "cli/ProcessArguments.h"

#include "app/Numbers.h"
#include "cli/Commands.h"
#include "psychro/StatePointCalc.h"

namespace
{

// The parameters as the help names them.
const char* const kParameters[] = {"tW", "tsW",   "phiW",  "tN", "phiN", "Q", "W",
                                   "tO", "ratio", "fresh", "G",  "GW",   "G1"};

QString parameterName(const QString& key)
{
    return QLatin1String(kParameters[ProcessParameterKeys().indexOf(key)]);
}

bool usedBy(const QString& key, const ProcessFields& fields)
{
    if (key == QLatin1String("tsw"))
        return fields.wetBulb;
    if (key == QLatin1String("phiw"))
        return fields.outdoorRH;
    if (key == QLatin1String("to") || key == QLatin1String("ratio") ||
        key == QLatin1String("fresh"))
        return fields.supply;
    if (key == QLatin1String("g") || key == QLatin1String("gw") || key == QLatin1String("g1"))
        return fields.airFlows;
    return true;
}

// The window's initial fresh-air entry: a ratio of 25 %.
const char* const kInitialRatio = "25";

TreatmentProcess parseProcess(const QString& text)
{
    const QString t = text.trimmed();
    for (int p = 1; p <= 4; ++p) {
        if (t == QString::number(p))
            return static_cast<TreatmentProcess>(p);
    }
    if (t.isEmpty())
        throw UserError(QStringLiteral("请给出处理过程 1～4（见 ventacalc-cli process --help）"));
    throw UserError(QStringLiteral("处理过程应为1、2、3或4，而不是“%1”").arg(QuotedInput(text)));
}

bool allFinite(const TreatmentCalculation& c)
{
    bool finite = true;
    for (const ShownResult& row : ShownResults(c))
        finite = finite && AllFinite({row.value});
    const TreatmentResult& p = c.points;
    return finite && AllFinite({p.iW, p.dW, p.iWh, p.iN, p.dN, p.iC, p.dC, p.iL, p.dL, p.iO, p.dO,
                                p.iOs, p.dOs});
}

} // namespace

// The same in lower case, as they are matched; the CSV's input columns after
// "process".
const QStringList& ProcessParameterKeys()
{
    static const QStringList keys = [] {
        QStringList lower;
        for (const char* name : kParameters)
            lower << QString::fromLatin1(name).toLower();
        return lower;
    }();
    return keys;
}

bool TakeProcessParameter(const QString& word, QMap<QString, QString>& given)
{
    const qsizetype eq = word.indexOf(QLatin1Char('='));
    const QString key = word.left(eq).toLower();
    if (eq < 0 || !ProcessParameterKeys().contains(key))
        return false;
    if (given.contains(key))
        throw UserError(QStringLiteral("参数 %1 给出了两次").arg(word.left(eq)));
    given.insert(key, word.mid(eq + 1));
    return true;
}

ProcessCalculator::ProcessCalculator(const QString& pressure)
    : pressure_(pressure), lib_([this](const std::string& m, ID_lib::MessageKind) {
          messages_ << QString::fromStdString(m);
      })
{
    ApplyPressureText(lib_, pressure, InputNaming::Argument);
}

ProcessComputed ProcessCalculator::compute(const QString& processText,
                                           const QMap<QString, QString>& given)
{
    messages_.clear();
    ProcessComputed out;
    try {
        out.process = parseProcess(processText);
        TreatmentInputs in;
        in.process = out.process;
        const ProcessFields fields = FieldsOf(in.process);
        for (auto it = given.begin(); it != given.end(); ++it) {
            if (!usedBy(it.key(), fields))
                throw UserError(
                    QStringLiteral("过程%1不使用参数 %2（见 ventacalc-cli process --help）")
                        .arg(static_cast<int>(in.process))
                        .arg(parameterName(it.key())));
        }
        const auto text = [&given](const char* key) { return given.value(QLatin1String(key)); };
        if (given.contains(QStringLiteral("ratio")) && given.contains(QStringLiteral("fresh")))
            throw UserError(QStringLiteral("ratio 与 fresh 只能给出一个"));
        const bool quantity = given.contains(QStringLiteral("fresh"));
        in.freshAirEntry = quantity ? FreshAirEntry::Quantity : FreshAirEntry::Ratio;
        const QString freshAir =
            quantity ? text("fresh")
                     : given.value(QStringLiteral("ratio"), QString::fromUtf8(kInitialRatio));
        ReadTreatmentFields({pressure_, text("tw"), text("tsw"), text("phiw"), text("tn"),
                             text("phin"), text("q"), text("w"), text("to"), freshAir},
                            in, InputNaming::Argument);
        if (fields.airFlows)
            ReadAirFlows({text("g"), text("gw"), text("g1")}, in, InputNaming::Argument);

        const TreatmentOutcome outcome = CalculateTreatment(lib_, in);
        out.messages = messages_;
        if (!outcome.refusal.isEmpty())
            out.messages << outcome.refusal;
        if (outcome.calculation && allFinite(*outcome.calculation))
            out.calculation = outcome.calculation;
        else if (out.messages.isEmpty())
            out.messages << QString::fromUtf8(ID_lib::CalculationFailedText);
    } catch (const UserError& e) {
        out.messages = messages_;
        out.messages << e.text();
    }
    return out;
}
