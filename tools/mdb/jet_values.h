#pragma once

#include <stdexcept>
#include <string>

#include "db/value.h"
#include "tools/mdb/jet_types.h"

namespace planora::jet {

// Why a value cannot be stored in a column, in Italian; the table writer adds the file, the
// table, the field and the row.
class ValueRejected : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The bytes of a value of a fixed-size column (Byte to Date/Time; not Yes/No, which has none).
// Throws ValueRejected for a value the type cannot hold exactly.
std::string fixedValueBytes(ColumnType type, const db::Value& value);

// The bit of a Yes/No value.
bool yesNoValue(const db::Value& value);

// The stored bytes of a Text, Binary, Memo or OLE value (the content of a long value, before
// its field is made).
std::string variableValueBytes(const Column& column, const db::Value& value);

// A value as a message shows it.
std::string shownValue(const db::Value& value);

// Days since 30/12/1899 as Access keeps a date: whole days, and the time of day as a fraction
// that counts away from zero for days before 1899.
double accessDays(const db::DateTime& date);

}  // namespace planora::jet
