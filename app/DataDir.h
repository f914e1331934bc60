// The data directory: the per-user data location (C:\VADE on Windows) or the
// directory given by --data-dir. Missing data files are created on start from
// seed data built into the program; an existing file is never overwritten.
#pragma once

#include <QString>
#include <functional>

namespace DataDir
{

// The directory in use (absolute path, no trailing separator).
QString path();
// A file in the data directory, e.g. file("id_tu.DB").
QString file(const QString& name);
// Use dir instead of the per-user location (command line --data-dir, tests).
void setOverride(const QString& dir);

// A data file and how to create it at a path when it is missing.
using SeedWriter = std::function<void(const QString& fullPath)>;
// Register a seed. Registration happens once per file name, before ensure().
void registerSeed(const QString& fileName, SeedWriter writer);
// Create the directory and every missing seeded file. Nothing else in the
// directory is written or removed, and a symbolic link that leads nowhere is
// refused rather than written through. Throws one UserError naming every
// file that could not be created, after creating the others.
void ensure();

} // namespace DataDir
