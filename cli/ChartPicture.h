// The chart picture as the commands that draw one write it (chart, weather):
// the file's format and scale from the words, the treatment process, and the
// point file's points and the process drawn over whatever the command put on
// the picture first.
#pragma once

#include "chart/ChartExport.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProcessArguments.h"

#include <optional>

class ChartDisplayList;

struct ChartPictureOptions {
    ChartFileFormat format = ChartFileFormat::Png;
    int scale = kDefaultPngScale;
};

// The format of a.out and the PNG scale of --scale. Throws UserError for an
// extension other than .png, .svg, .pdf, a --scale out of range or given for
// another format.
ChartPictureOptions CheckChartPictureOptions(const ChartArgs& a);

// The process of --process at the pressure (as typed); nothing without
// --process. Throws UserError with the calculator's messages when it gives
// no calculation.
std::optional<ProcessComputed> ComputeChartProcess(const ChartArgs& a, const QString& pressureText);

// Draws the point file's points (a.points) and the process over list's steps,
// checks that the grid can be computed and writes the file. Returns the exit
// status: ExitRefused for a grid the library cannot compute, ExitFailure for
// a point file that cannot be read or a picture file that cannot be written
// (nothing is written then), ExitOk otherwise. Warnings go to standard error.
int WriteChartPicture(const ChartArgs& a, const ChartPictureOptions& options,
                      const std::optional<ProcessComputed>& process, ChartDisplayList& list,
                      CliIo& io);
