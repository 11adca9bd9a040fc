#pragma once
// Records with every field set to a distinctive value, for round trips and
// benchmarks.

#include "model/property_base.h"

#include <memory>

// The list types that have a list file.
extern const int kListTypes[13];

// A record of contentType whose fields all differ from their defaults and
// depend on serial (Japanese texts, a size above 4 GiB, dates, times).
std::unique_ptr<CPropertyBase> MakeFullRecord(int contentType, int serial);

// The field texts of a record, "name=text" joined by newlines: equal for two
// records exactly when every stored field is equal.
QString FieldDump(const CPropertyBase &record);
