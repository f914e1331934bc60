// ventacalc-cli's commands. Each command's source file registers itself with
// a static CliCommandRegistrar, so adding a command touches no other file.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <initializer_list>

// Exit statuses shared by every command.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1; // a file could not be read or written
constexpr int ExitRefused = 2; // bad usage or refused input

struct CliIo {
    QTextStream& out;
    QTextStream& err;
};

struct CliCommand {
    QString name;    // e.g. "state"
    QString summary; // one line for the overview
    QString help;    // the full text of "<name> --help"
    int (*run)(const QStringList& args, CliIo& io);
    // Draws text, so needs the window system's fonts: main gives it a
    // QGuiApplication (on the offscreen platform unless one is named).
    bool drawsText = false;
};

class CliCommandRegistrar
{
public:
    explicit CliCommandRegistrar(const CliCommand& command);
};

const QList<CliCommand>& CliCommands();

// The shortest decimal text that reads back as the same double (JSON, CSV).
QString FullPrecision(double value);

// Prints a refusal on standard error; returns ExitRefused.
int Refuse(CliIo& io, const QString& message);

// Flushes standard output; true when anything written to it was lost (a full
// disk, a closed pipe).
bool WriteFailed(CliIo& io);
// Says so on standard error; returns ExitFailure.
int ReportWriteFailure(CliIo& io);

// Every output value is a finite number: a failed calculation never reaches
// JSON or CSV as nan or inf.
bool AllFinite(std::initializer_list<double> values);

// The value of --threads: 0 (every core) up to 256. Throws UserError otherwise.
int ParseThreadCount(const QString& text);
