// ventacalc-cli's argument parsers over arbitrary words: the first byte picks
// the parser, the rest are the words, one a line. A parser either refuses
// with a short message free of control characters, or gives words that obey
// the command's rules; the commands that compute without files then run on
// them, and a refusal (status 2) never prints a result, a result never holds
// a number that is not finite.
#include "FuzzCheck.h"
#include "app/Numbers.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProcessArguments.h"
#include "convert/UnitTables.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{

// A message line quotes at most 40 characters of a word, each escaped in at
// most four: far below this.
constexpr qsizetype kLongestMessageLine = 400;

void checkMessage(const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        FUZZ_CHECK(line.size() <= kLongestMessageLine);
        for (const QChar c : line)
            FUZZ_CHECK(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() < 0xA0));
    }
}

void checkWords(const CommandWords& words)
{
    for (auto it = words.options.begin(); it != words.options.end(); ++it)
        FUZZ_CHECK(!it.value().isEmpty());
    FUZZ_CHECK(words.flags.size() == QSet<QString>(words.flags.begin(), words.flags.end()).size());
    FUZZ_CHECK(words.keys.size() == words.given.size());
    FUZZ_CHECK(!words.has("--threads") || words.has("--csv"));
    FUZZ_CHECK(!(words.has("--csv") && words.has("--json")));
    FUZZ_CHECK(!(words.has("--xlsx") && words.has("--json")));
}

bool namesAFile(const QStringList& words)
{
    for (const QString& w : words) {
        for (const char* option :
             {"--csv", "--data-dir", "--project", "--xlsx", "--out", "--points"})
            if (w == QLatin1String(option))
                return true;
    }
    return false;
}

// Runs a command that reads and writes no file.
void run(const char* name, const QStringList& args)
{
    if (namesAFile(args) || args.contains(QStringLiteral("--help")) ||
        args.contains(QStringLiteral("-h")))
        return;
    for (const CliCommand& command : CliCommands()) {
        if (command.name != QLatin1String(name))
            continue;
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        CliIo io{outStream, errStream};
        const int status = command.run(args, io);
        outStream.flush();
        errStream.flush();
        FUZZ_CHECK(status == ExitOk || status == ExitRefused);
        checkMessage(err.trimmed());
        if (status == ExitRefused) {
            FUZZ_CHECK(out.isEmpty());
            FUZZ_CHECK(!err.trimmed().isEmpty());
        } else {
            FUZZ_CHECK(!out.isEmpty());
            const QString lower = out.toLower();
            FUZZ_CHECK(!lower.contains(QStringLiteral("nan")) &&
                       !lower.contains(QStringLiteral("inf")));
        }
        return;
    }
    FUZZ_CHECK(false); // every command named here is registered
}

void processCase(const QString& pressure, const QString& number,
                 const QMap<QString, QString>& given)
{
    try {
        ProcessCalculator calculator(pressure);
        const ProcessComputed computed = calculator.compute(number, given);
        for (const QString& m : computed.messages)
            checkMessage(m);
        if (!computed.calculation) {
            FUZZ_CHECK(!computed.messages.isEmpty());
            return;
        }
        for (const ShownResult& row : ShownResults(*computed.calculation))
            FUZZ_CHECK(std::isfinite(row.value));
    } catch (const UserError& e) {
        checkMessage(e.text());
    }
}

void units(const QStringList& words)
{
    const QString value = words.value(0);
    const UnitLookup lookup = FindUnit(words.value(1));
    if (!lookup.found)
        return;
    const auto pages = ConversionPages();
    FUZZ_CHECK(lookup.found->page >= 0 && lookup.found->page < int(pages.size()));
    const ConversionPage& page = pages[lookup.found->page];
    FUZZ_CHECK(lookup.found->unit >= 0 && lookup.found->unit < int(page.units.size()));
    try {
        const std::vector<double> values =
            ConvertToAllUnits(page, lookup.found->unit, ParseNumber(value));
        FUZZ_CHECK(values.size() == page.units.size());
        for (const double v : values)
            FUZZ_CHECK(std::isfinite(v));
    } catch (const UserError& e) {
        checkMessage(e.text());
    }
}

using Parser = CommandWords (*)(const QStringList&);

struct Command {
    const char* name;
    Parser parse;
    bool computesWithoutFiles; // its run reads no data directory
};

const Command kCommands[] = {
    {"state", &ParseStateWords, true},     {"pmv", &ParsePmvWords, true},
    {"process", &ParseProcessWords, true}, {"convert", &ParseConvertWords, true},
    {"pipe", &ParsePipeWords, false},      {"duct", &ParseDuctWords, false},
};
constexpr int kCommandCount = int(sizeof kCommands / sizeof kCommands[0]);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int choice = data[0] % (kCommandCount + 3);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    const QStringList words = text.split(QLatin1Char('\n'));

    if (choice < kCommandCount) {
        const Command& command = kCommands[choice];
        try {
            checkWords(command.parse(words));
        } catch (const UserError& e) {
            checkMessage(e.text());
            return 0;
        }
        if (command.computesWithoutFiles)
            run(command.name, words);
        return 0;
    }
    switch (choice - kCommandCount) {
    case 0: { // chart, with its process; the weather command's words too
        try {
            const ChartArgs w = ParseWeatherArgs(words);
            FUZZ_CHECK(w.positional.size() <= 1);
            FUZZ_CHECK(!w.out.isEmpty() ||
                       (!w.zones && !w.process && w.points.isEmpty() && w.scale.isEmpty()));
            for (auto it = w.options.begin(); it != w.options.end(); ++it)
                FUZZ_CHECK(!it.value().isEmpty());
        } catch (const UserError& e) {
            checkMessage(e.text());
        }
        ChartArgs a;
        try {
            a = ParseChartArgs(words);
        } catch (const UserError& e) {
            checkMessage(e.text());
            return 0;
        }
        FUZZ_CHECK(!a.pressure.isEmpty());
        FUZZ_CHECK(a.given.isEmpty() || a.process);
        if (a.process)
            processCase(a.pressure, a.processNumber, a.given);
        return 0;
    }
    case 1: { // thread counts
        try {
            const int n = ParseThreadCount(words.value(0));
            FUZZ_CHECK(n >= 0 && n <= 256);
        } catch (const UserError& e) {
            checkMessage(e.text());
        }
        return 0;
    }
    default: // a value and its unit
        units(words);
        return 0;
    }
}
