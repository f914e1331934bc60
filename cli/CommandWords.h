// The words of a command line as the commands take them: key=value
// parameters, options with a value, flags and plain words. A word given twice,
// an option without its value or with an empty one, and options that would
// be ignored beside others are refused, never passed over.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

struct CommandGrammar {
    const char* command = ""; // for the message of an unknown word
    QStringList keys;         // key=value parameters, lower case (keys match in any case)
    QStringList options;      // "--csv", ...: take the next word as their value
    QStringList flags;        // "--json", "auto", ...: stand alone
    bool positional = false;  // a word without "=" that is no option is kept
    QStringList repeatable{}; // "--loop", ...: options that may come again, each with its value
};

struct CommandWords {
    QMap<QString, QString> given;        // lower-case key -> text
    QStringList keys;                    // the keys of given in the order given
    QMap<QString, QString> options;      // "--csv" -> its value, never empty
    QStringList flags;                   // in the order given, each once
    QStringList positional;              // in the order given
    QMap<QString, QStringList> repeated; // a repeatable option -> its values in the order given

    bool has(const char* optionOrFlag) const;
};

// Throws UserError naming the word: unknown, given twice, an option at the
// end without its value, an option with an empty value.
CommandWords ParseCommandWords(const QStringList& args, const CommandGrammar& grammar);

// The batch commands' rules: --threads only with --csv; --csv and --json not
// together (a batch writes CSV); --json and --xlsx not together (a workbook
// is written, nothing printed). Throws UserError naming the option.
void CheckBatchWords(const CommandWords& words);

// Each command's words, checked as the command checks them before computing
// anything. Throw UserError with the refusal.
CommandWords ParseStateWords(const QStringList& args);
CommandWords ParsePmvWords(const QStringList& args);
CommandWords ParseProcessWords(const QStringList& args);
CommandWords ParsePipeWords(const QStringList& args);
CommandWords ParseDuctWords(const QStringList& args);
CommandWords ParseConvertWords(const QStringList& args);

// The words of a command that draws the chart (chart, weather): its options
// each once, and after --process the process's key=value parameters (as
// ProcessArguments.h takes them).
struct ChartArgs {
    QString out;
    QString pressure = QStringLiteral("101325");
    bool pressureGiven = false;
    QString points;
    QString scale;
    bool zones = false;
    bool process = false;
    QString processNumber;
    QMap<QString, QString> given;
    // The command's own words beside the chart's (ChartGrammar).
    QMap<QString, QString> options;
    QStringList flags;
    QStringList positional;

    bool has(const char* optionOrFlag) const;
};
struct ChartGrammar {
    const char* command = "chart";   // for the message of an unknown word
    const char* outOption = "--out"; // the option naming the picture file
    QStringList options;             // the command's own options with a value
    QStringList flags;               // and flags
    // Plain words are kept (a word holding "=" after --process is a process
    // parameter or refused).
    bool positional = false;
};
// Throws UserError for a word that belongs nowhere, an option given twice,
// without its value or with an empty one.
ChartArgs ParseChartWords(const QStringList& args, const ChartGrammar& grammar);
// The chart command's words.
ChartArgs ParseChartArgs(const QStringList& args);
// The weather command's: FILE, --months, --hours, --json, --bins and the
// chart's words with --chart for --out; a chart option without --chart,
// other than --pressure, is refused, and so is anything but one FILE.
ChartArgs ParseWeatherArgs(const QStringList& args);
