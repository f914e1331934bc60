// The standard streams of ventacalc-cli. Files and pipes get UTF-8 with bare
// line ends on every system, the same bytes everywhere; a Windows console gets
// the text as its own characters (through the console's wide-character
// output), so Chinese reads right whatever its code page.
#pragma once

#include <QIODevice>

#include <cstdio>
#include <memory>

// Sets standard input, output and error to pass bytes as they are (no
// line-end translation). Nothing to do where the system never translates.
void UseUntranslatedStandardStreams();

// A device writing to the console that stream (stdout or stderr) shows, or
// nullptr when the stream is a file or a pipe, or the system needs none.
std::unique_ptr<QIODevice> ConsoleDevice(FILE* stream);
