#pragma once
// Shared by the parts of vrin-bench: timing, reporting and the raw engine's reference scan.

#include <QString>

#include <functional>

double Seconds(const std::function<void()>& work);
// The best of a few runs, to keep the machine's noise out of the figures.
double Best(int runs, const std::function<void()>& work);
void Report(const char* name, double ours, double raw);
double PeakMegabytes();
// sqlite3_step over every column of every row of a table.
double RawReadAll(const QString& path, const char* table);

// The delivered database with demo residents at path, announced under the part's name;
// FALSE (with the reason on stderr) when it cannot be written.
bool CreateDemoDatabase(const QString& path, int rows, const char* part);

// The grid on the delivered database with demo residents; returns the exit code.
int RunGridBench(int rows);
// The archive window and the unit hierarchy.
int RunArchiveBench(int rows);
// Export to and import from .xlsx and .xls.
int RunSpreadsheetBench(int rows);
// Reading a workbook whose one cell holds 1 000 MB of text.
int RunHugeCellBench();
