// Placeholder until the CSV detail lines land: nothing is written.
#include "reports/csv_export.h"

void CSV_Function_Line(FILE*, const char*, const char*, int, int, int, int, int, int, int, int, int, int, int,
                       GlobalData&) {}
