#include "tools/mdb/jet_values.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "messages/mdb_messages.h"
#include "tools/mdb/jet_format.h"
#include "tools/mdb/jet_text.h"

namespace planora::jet {

namespace {

using Kind = db::Value::Kind;

[[noreturn]] void wrongKind(const db::Value& value) {
    switch (value.kind()) {
        case Kind::Null:
            throw ValueRejected(msg::mdbWrongKind("Null"));
        case Kind::Integer:
            throw ValueRejected(msg::mdbWrongKind("un numero intero"));
        case Kind::Real:
            throw ValueRejected(msg::mdbWrongKind("un numero con la virgola"));
        case Kind::Currency:
            throw ValueRejected(msg::mdbWrongKind("un importo"));
        case Kind::Text:
            throw ValueRejected(msg::mdbWrongKind("un testo"));
        case Kind::DateTime:
            throw ValueRejected(msg::mdbWrongKind("una data"));
        case Kind::Boolean:
            throw ValueRejected(msg::mdbWrongKind("un valore Sì/No"));
    }
    throw ValueRejected(msg::mdbWrongKind("?"));
}

// Whole numbers: integers, and yes/no as 1 and 0.
std::int64_t wholeNumber(const db::Value& value) {
    if (value.kind() == Kind::Integer) {
        return value.asInteger();
    }
    if (value.kind() == Kind::Boolean) {
        return value.asBoolean() ? 1 : 0;
    }
    wrongKind(value);
}

std::string integerBytes(const db::Value& value, std::int64_t lowest, std::int64_t highest,
                         std::size_t width) {
    const std::int64_t number = wholeNumber(value);
    if (number < lowest || number > highest) {
        throw ValueRejected(msg::mdbOutOfRange(std::to_string(lowest), std::to_string(highest)));
    }
    std::string bytes;
    appendLittleEndian(bytes, static_cast<std::uint64_t>(number), width);
    return bytes;
}

std::string doubleBytes(double number) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof number);
    std::memcpy(&bits, &number, sizeof bits);
    std::string bytes;
    appendLittleEndian(bytes, bits, 8);
    return bytes;
}

double doubleOf(const db::Value& value) {
    if (value.kind() == Kind::Real) {
        return value.asReal();
    }
    constexpr std::int64_t kExact = std::int64_t{1} << 53;
    const std::int64_t number = wholeNumber(value);
    if (number > kExact || number < -kExact) {
        throw ValueRejected(msg::mdbInexactDouble());
    }
    return static_cast<double>(number);
}

std::int64_t currencyOf(const db::Value& value) {
    if (value.kind() == Kind::Currency) {
        return value.asCurrency().scaled;
    }
    std::int64_t scaled = 0;
    if (__builtin_mul_overflow(wholeNumber(value), std::int64_t{10000}, &scaled)) {
        throw ValueRejected(msg::mdbOutOfRange("-922.337.203.685.477", "922.337.203.685.477"));
    }
    return scaled;
}

// Days from 1970-01-01 of a Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

bool validDate(const db::DateTime& d) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12) {
        return false;
    }
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day >= 1 && d.day <= days && d.hour >= 0 && d.hour < 24 && d.minute >= 0 &&
           d.minute < 60 && d.second >= 0 && d.second < 60;
}

std::string dateBytes(const db::Value& value) {
    if (value.kind() != Kind::DateTime) {
        wrongKind(value);
    }
    const db::DateTime date = value.asDateTime();
    if (!validDate(date)) {
        throw ValueRejected(msg::mdbDateOutOfRange());
    }
    return doubleBytes(accessDays(date));
}

const std::string& textOf(const db::Value& value) {
    if (value.kind() != Kind::Text) {
        wrongKind(value);
    }
    return value.asText();
}

std::string textBytes(const db::Value& value, std::size_t mostCharacters) {
    const std::u16string text = utf16Of(textOf(value));
    if (text.size() > mostCharacters) {
        throw ValueRejected(msg::mdbTextTooLong(text.size(), mostCharacters));
    }
    // Access compresses memo texts only up to 1,024 characters.
    return storedText(text, text.size() <= 1024);
}

std::string rawBytes(const db::Value& value, std::size_t most) {
    const std::string& bytes = textOf(value);
    if (bytes.size() > most) {
        throw ValueRejected(msg::mdbBytesTooMany(bytes.size(), most));
    }
    return bytes;
}

}  // namespace

double accessDays(const db::DateTime& date) {
    constexpr std::int64_t kAccessEpoch = -25569;  // 30/12/1899 from 01/01/1970
    const std::int64_t day = daysFromCivil(date.year, static_cast<unsigned>(date.month),
                                           static_cast<unsigned>(date.day)) -
                             kAccessEpoch;
    const double time = (date.hour * 3600.0 + date.minute * 60.0 + date.second) / 86400.0;
    return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

std::string fixedValueBytes(ColumnType type, const db::Value& value) {
    switch (type) {
        case ColumnType::Byte:
            return integerBytes(value, 0, 255, 1);
        case ColumnType::Integer:
            return integerBytes(value, std::numeric_limits<std::int16_t>::min(),
                                std::numeric_limits<std::int16_t>::max(), 2);
        case ColumnType::LongInteger:
            return integerBytes(value, std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max(), 4);
        case ColumnType::Double:
            return doubleBytes(doubleOf(value));
        case ColumnType::Currency: {
            std::string bytes;
            appendLittleEndian(bytes, static_cast<std::uint64_t>(currencyOf(value)), 8);
            return bytes;
        }
        case ColumnType::DateTime:
            return dateBytes(value);
        default:
            return {};
    }
}

bool yesNoValue(const db::Value& value) {
    if (value.isNull()) {
        throw ValueRejected(msg::mdbYesNoNull());
    }
    const std::int64_t number = wholeNumber(value);
    if (number != 0 && number != 1 && number != -1) {
        throw ValueRejected(msg::mdbOutOfRange("-1", "1"));
    }
    return number != 0;
}

std::string variableValueBytes(const Column& column, const db::Value& value) {
    switch (column.type) {
        case ColumnType::Text:
            return textBytes(value, static_cast<std::size_t>(column.textLength));
        case ColumnType::Memo:
            return textBytes(value, kMostMemoCharacters);
        case ColumnType::Binary:
            return rawBytes(value, static_cast<std::size_t>(column.textLength));
        case ColumnType::OleObject:
            return rawBytes(value, kMostLongValueBytes);
        default:
            return {};
    }
}

std::string shownValue(const db::Value& value) {
    if (value.kind() == Kind::Text) {
        return msg::mdbShownText(value.asText());
    }
    return value.isNull() ? "Null" : value.toText();
}

}  // namespace planora::jet
