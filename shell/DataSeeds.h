// The files the program creates in the data directory when they are missing.
#pragma once

// Registers every seeded data file with DataDir (once; later calls do
// nothing). Call before DataDir::ensure().
void RegisterDataSeeds();
