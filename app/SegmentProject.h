// The files of a resistance calculation project: the project file (a few GBK
// lines, CR LF, written once when the project is created), the segment table
// beside it (base + ".DB") and the results workbook proposed for it
// (base + ".xlsx"). The base is the project path up to the first dot of the
// file name: D:\calc\loop1.gzl -> D:\calc\loop1, /data.old/a.gzl ->
// /data.old/a, loop.v1.gzl -> loop.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

QString ProjectBasePath(const QString& projectPath);
QString ProjectTablePath(const QString& projectPath);
QString ProjectWorkbookPath(const QString& projectPath);
// The file name without its directory ("loop1.gzl"), as captions and the
// workbook's "文件名" show it.
QString ProjectFileName(const QString& projectPath);

// The first `count` lines of a project file's bytes (GBK; lines ended by
// CR LF, LF or CR; more lines are ignored). Throws UserError naming `path`
// when the file has fewer lines or is not GBK.
QStringList ParseProjectLines(const QByteArray& bytes, int count, const QString& path);
// The same read from the file; throws UserError when it cannot be read.
QStringList ReadProjectLines(const QString& path, int count);
// Writes the lines as the project file (GBK, CR LF), through a temporary file
// renamed over an existing one. Throws UserError.
void WriteProjectFile(const QString& path, const QStringList& lines);

// Throws UserError when `output` is the project file at projectPath or its
// segment table: a results workbook written there would destroy the project.
void RefuseProjectFileAsOutput(const QString& output, const QString& projectPath);
