#include "db/sqlite_connection.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "db/error.h"
#include "messages/db_messages.h"

namespace planora::db::sqlite {

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string upper(const char* declared) {
    std::string type = declared ? declared : "";
    for (char& c : type) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return type;
}

// "yyyy-mm-dd" optionally followed by " hh:mm:ss" (or 'T'), as SQLite's date functions write.
bool parseDateTime(const char* text, DateTime& d) {
    int consumed = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%n", &d.year, &d.month, &d.day, &consumed) != 3 ||
        consumed != 10) {
        return false;
    }
    if (text[consumed] == '\0') {
        return true;
    }
    int rest = 0;
    return (text[10] == ' ' || text[10] == 'T') &&
           std::sscanf(text + 11, "%2d:%2d:%2d%n", &d.hour, &d.minute, &d.second, &rest) == 3 &&
           text[11 + rest] == '\0';
}

// Currency amounts are kept by SQLite as REAL (or as INTEGER when whole); they are turned into
// the exact ten-thousandths by rounding to four decimals, which recovers any amount that was
// written with at most four decimals.
// An amount beyond the currency range (about 922 billion) stays a plain number.
Value currencyOf(double amount) {
    constexpr double kLimit = 9.2e14;
    if (!(std::fabs(amount) < kLimit)) {
        return Value::real(amount);
    }
    return Value::currency(Currency{std::llround(amount * 10000.0)});
}

Value integerCell(sqlite3_int64 v, ColumnType type) {
    switch (type) {
        case ColumnType::Boolean:
            return Value::boolean(v != 0);
        case ColumnType::Currency: {
            std::int64_t scaled = 0;
            if (__builtin_mul_overflow(v, std::int64_t{10000}, &scaled)) {
                return Value::integer(v);
            }
            return Value::currency(Currency{scaled});
        }
        case ColumnType::Real:
            return Value::real(static_cast<double>(v));
        default:
            return Value::integer(v);
    }
}

Value realCell(double v, ColumnType type) {
    switch (type) {
        case ColumnType::Currency:
            return currencyOf(v);
        case ColumnType::Boolean:
            return Value::boolean(v != 0.0);
        default:
            return Value::real(v);
    }
}

// The bytes of a text or blob cell, valid until the statement steps on.
std::string_view bytesOf(sqlite3_stmt* statement, int column, int stored) {
    const void* data = stored == SQLITE_TEXT ? sqlite3_column_text(statement, column)
                                             : sqlite3_column_blob(statement, column);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    return data ? std::string_view(static_cast<const char*>(data), size) : std::string_view();
}

// A text or blob cell. Bytes that are not UTF-8 were written in the hotel's code page, but for
// binary data, which is kept as it is.
Value textCell(std::string_view bytes, ColumnType type, Windows1252Decoder& decoder) {
    if (type == ColumnType::Binary) {
        return Value::text(std::string(bytes));
    }
    if (type == ColumnType::DateTime) {
        DateTime d;
        if (parseDateTime(std::string(bytes).c_str(), d)) {
            return Value::dateTime(d);
        }
    }
    return Value::text(asUtf8(bytes, decoder));
}

}  // namespace

Connection::Connection(std::filesystem::path file) : file_(std::move(file)) {
    OpenedDatabase opened = openForReading(file_);
    db_ = std::move(opened.handle);
    tables_ = std::move(opened.tables);
}

void Connection::fail(int rc, const std::string& table) const {
    throw Error(msg::cannotReadDatabase(file_, table, reasonOf(db_.get(), rc)));
}

StatementHandle Connection::prepare(const std::string& text, const std::string& table) const {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db_.get(), text.c_str(), -1, &raw, nullptr);
    StatementHandle statement(raw);
    if (rc != SQLITE_OK) {
        fail(rc, table);
    }
    return statement;
}

bool Connection::step(sqlite3_stmt* statement, const std::string& table) const {
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail(rc, table);
    }
    return rc == SQLITE_ROW;
}

void Connection::hold() {
    if (holds_ == 0) {
        const int rc = sqlite3_exec(db_.get(), "BEGIN", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            fail(rc);
        }
    }
    ++holds_;
}

void Connection::release() {
    if (holds_ > 0 && --holds_ == 0) {
        // Ending a read changes nothing in the file; a failure leaves nothing to undo.
        if (sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
}

std::int64_t Connection::dataVersion() const {
    StatementHandle statement = prepare("PRAGMA data_version");
    if (!step(statement.get(), {})) {
        return 0;
    }
    return sqlite3_column_int64(statement.get(), 0);
}

ColumnType columnTypeOf(const char* declared) {
    const std::string type = upper(declared);
    if (contains(type, "CURRENCY") || contains(type, "MONEY") || contains(type, "DECIMAL") ||
        contains(type, "NUMERIC")) {
        return ColumnType::Currency;
    }
    if (contains(type, "BOOL") || contains(type, "YESNO") || type == "BIT") {
        return ColumnType::Boolean;
    }
    if (contains(type, "DATE") || contains(type, "TIME")) {
        return ColumnType::DateTime;
    }
    if (contains(type, "INT")) {
        return ColumnType::Integer;
    }
    if (contains(type, "REAL") || contains(type, "DOUB") || contains(type, "FLOA")) {
        return ColumnType::Real;
    }
    if (contains(type, "BLOB") || contains(type, "BINARY")) {
        return ColumnType::Binary;
    }
    return ColumnType::Text;
}

Affinity affinityOf(const char* declared) {
    const std::string type = upper(declared);
    if (contains(type, "INT")) {
        return Affinity::Integer;
    }
    if (contains(type, "CHAR") || contains(type, "CLOB") || contains(type, "TEXT")) {
        return Affinity::Text;
    }
    if (type.empty() || contains(type, "BLOB")) {
        return Affinity::Blob;
    }
    if (contains(type, "REAL") || contains(type, "FLOA") || contains(type, "DOUB")) {
        return Affinity::Real;
    }
    return Affinity::Numeric;
}

Value cellOf(sqlite3_stmt* statement, int column, ColumnType type, Windows1252Decoder& decoder) {
    const int stored = sqlite3_column_type(statement, column);
    switch (stored) {
        case SQLITE_INTEGER:
            return integerCell(sqlite3_column_int64(statement, column), type);
        case SQLITE_FLOAT:
            return realCell(sqlite3_column_double(statement, column), type);
        case SQLITE_TEXT:
        case SQLITE_BLOB:
            return textCell(bytesOf(statement, column, stored), type, decoder);
        default:
            return Value();
    }
}

}  // namespace planora::db::sqlite
