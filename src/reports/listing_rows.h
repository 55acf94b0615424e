// CSV rows of the project listings: one per record, and the Total, Average,
// Maximum and Minimum rows of their summaries, in the column order of the
// listing column headers.
#pragma once

#include "reports/entity_metrics.h"

enum class RowLayout { Function, Class, Namespace };
enum class RowStat { Total, Average, Maximum, Minimum };

// "Type,Name,..." header line of a listing.
const char* ListingColumnHeader(RowLayout layout);

// Class and namespace rows: type, name and the counts.
void WriteEntryRow(RowLayout layout, const char* name, const EntityValues& values, double ratio);
// Function rows carry the parameter text after the name.
void WriteFunctionRow(const char* name, const char* parameters, const EntityValues& values, double ratio);
// A summary row; its name column holds the statistic's name.
void WriteSummaryRow(RowLayout layout, RowStat stat, const EntitySummary& summary);
