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

// The chart command's words: its options each once, and after --process the
// process's key=value parameters (as ProcessArguments.h takes them).
struct ChartArgs {
    QString out;
    QString pressure = QStringLiteral("101325");
    QString points;
    QString scale;
    bool zones = false;
    bool process = false;
    QString processNumber;
    QMap<QString, QString> given;
};
// Throws UserError for a word that belongs nowhere, an option given twice,
// without its value or with an empty one.
ChartArgs ParseChartArgs(const QStringList& args);
