// Running the built ventacalc-cli as a script would, for the CLI tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct CliRun {
    int status = -1; // exit status; -1 when it crashed or did not end within 30 s
    QString out, err;
};

// Runs ventacalc-cli with args, input on its standard input, and collects its
// exit status and both outputs (UTF-8).
CliRun RunCli(const QStringList& args, const QByteArray& input = {});
