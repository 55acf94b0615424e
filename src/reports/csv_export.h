// CSV detail lines of the data exports: one line per function and per file,
// each block closed by its Total, Average, Maximum and Minimum rows.
#pragma once

#include <cstdio>
#include <ctime>

struct CsvFileRow;
struct GlobalData;

// One CSV function line, or with totals set the function totals rows.
void CSV_Function_Line(FILE* stream, const char* name, const char* parameters, int loc, int eloc, int lloc,
                       int comments, int blanks, int lines, int functions, int parameterCount, int returns,
                       int cyclomatic, int totals, GlobalData& gcd);
// One CSV file line, or with totals set the file totals rows. A file line's
// values are added to the run's file block, or kept in row when one is given
// (the driver adds them when the file is merged, AddCsvFileRow).
void CSV_File_Line(FILE* stream, const char* name, time_t date, long size, int loc, int eloc, int lloc, int comments,
                   int blanks, int lines, int classes, int functions, int parameters, int returns, int cyclomatic,
                   int notices, int totals, GlobalData& gcd, CsvFileRow* row = nullptr);
void AddCsvFileRow(const CsvFileRow& row, GlobalData& gcd);
// The column header line: kind "File" for file lines, anything else for
// function lines.
void CSV_LineHeader(const char* kind, GlobalData& gcd);
