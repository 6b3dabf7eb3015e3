#include "db/value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "db/error.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

constexpr std::int64_t kCurrencyScale = 10000;

msg::StoredKind storedKind(Value::Kind kind) {
    switch (kind) {
        case Value::Kind::Null:
            return msg::StoredKind::Null;
        case Value::Kind::Integer:
            return msg::StoredKind::Integer;
        case Value::Kind::Real:
            return msg::StoredKind::Real;
        case Value::Kind::Currency:
            return msg::StoredKind::Currency;
        case Value::Kind::Text:
            return msg::StoredKind::Text;
        case Value::Kind::DateTime:
            return msg::StoredKind::DateTime;
        case Value::Kind::Boolean:
            return msg::StoredKind::Boolean;
    }
    return msg::StoredKind::Null;
}

[[noreturn]] void wrongKind(Value::Kind stored, Value::Kind wanted) {
    throw Error(msg::valueReadAsOtherKind(storedKind(stored), storedKind(wanted)));
}

// UTF-8 of U+00C0..U+00DE (Latin-1 capitals, except the multiplication sign U+00D7) is
// 0xC3 0x80..0x9E; the small letter is 0x20 further. Folding therefore keeps the length and
// depends only on the byte and the one before it.
unsigned char foldByte(unsigned char previous, unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') {
        return static_cast<unsigned char>(byte + 0x20);
    }
    if (previous == 0xC3 && byte >= 0x80 && byte <= 0x9E && byte != 0x97) {
        return static_cast<unsigned char>(byte + 0x20);
    }
    return byte;
}

int sign(long long v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

template <typename T>
int compareScalar(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

std::string integerText(std::int64_t v) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string realText(double v) {
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string currencyText(Currency c) {
    // Work on the magnitude as unsigned so that the most negative amount does not overflow.
    bool negative = c.scaled < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(c.scaled) : static_cast<std::uint64_t>(c.scaled);
    char buffer[32];
    auto whole = std::to_chars(buffer, buffer + sizeof buffer, magnitude / kCurrencyScale);
    std::string text = negative ? "-" : "";
    text.append(buffer, whole.ptr);
    auto fraction = std::to_chars(buffer, buffer + sizeof buffer, magnitude % kCurrencyScale);
    std::string decimals(buffer, fraction.ptr);
    text += '.';
    text.append(4 - decimals.size(), '0');
    text += decimals;
    return text;
}

void appendTwoDigits(std::string& text, int v) {
    text += static_cast<char>('0' + (v / 10) % 10);
    text += static_cast<char>('0' + v % 10);
}

std::string dateText(const DateTime& d) {
    std::string text;
    char buffer[16];
    auto year = std::to_chars(buffer, buffer + sizeof buffer, d.year);
    std::string yearText(buffer, year.ptr);
    if (d.year >= 0 && yearText.size() < 4) {
        text.append(4 - yearText.size(), '0');
    }
    text += yearText;
    text += '-';
    appendTwoDigits(text, d.month);
    text += '-';
    appendTwoDigits(text, d.day);
    text += ' ';
    appendTwoDigits(text, d.hour);
    text += ':';
    appendTwoDigits(text, d.minute);
    text += ':';
    appendTwoDigits(text, d.second);
    return text;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The Access date serial: days since 1899-12-30, the time as the fraction of a day.
double dateSerial(const DateTime& d) {
    const long long epoch = daysFromCivil(1899, 12, 30);
    const double days = static_cast<double>(daysFromCivil(d.year, d.month, d.day) - epoch);
    const double seconds = d.hour * 3600.0 + d.minute * 60.0 + d.second;
    return days + seconds / 86400.0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of a text: blanks skipped, then the longest prefix that reads as a
// decimal number with an optional sign, fraction and exponent.
double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    double value = 0.0;
    auto result = std::from_chars(text.data() + start, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when it is out of range: a negative exponent means
        // the number is too small to tell from zero, otherwise it is too large.
        const std::string_view number = text.substr(start, i - start);
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

// The numeric kinds, reduced to the three exact forms they can be compared in.
struct Number {
    enum class Form { Integer, Currency, Real } form;
    std::int64_t integer = 0;  // Integer: the value; Currency: the scaled amount
    double real = 0.0;
};

Number numberOf(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Integer:
            return {Number::Form::Integer, v.asInteger(), 0.0};
        case Value::Kind::Boolean:
            return {Number::Form::Integer, v.asBoolean() ? 1 : 0, 0.0};
        case Value::Kind::Currency:
            return {Number::Form::Currency, v.asCurrency().scaled, 0.0};
        default:
            return {Number::Form::Real, 0, v.asReal()};
    }
}

// An integer against a real without going through a double for the integer.
std::optional<int> compareIntegerReal(std::int64_t i, double r) {
    if (std::isnan(r)) {
        return std::nullopt;
    }
    constexpr double kTwo63 = 9223372036854775808.0;
    if (r >= kTwo63) {
        return -1;
    }
    if (r < -kTwo63) {
        return 1;
    }
    const double whole = std::trunc(r);
    const auto truncated = static_cast<std::int64_t>(whole);
    if (i != truncated) {
        return compareScalar(i, truncated);
    }
    return compareScalar(0.0, r - whole);
}

// An integer against a currency amount, exactly: the amount is q + rem / 10000 with rem of the
// sign of the amount, so comparing with q decides unless they are equal.
int compareIntegerCurrency(std::int64_t i, std::int64_t scaled) {
    const std::int64_t q = scaled / kCurrencyScale;
    const std::int64_t rem = scaled % kCurrencyScale;
    if (i != q) {
        return compareScalar(i, q);
    }
    return -sign(rem);
}

double currencyAsReal(std::int64_t scaled) {
    return static_cast<double>(scaled) / static_cast<double>(kCurrencyScale);
}

std::optional<int> compareNumbers(const Number& a, const Number& b) {
    using F = Number::Form;
    if (a.form == F::Real || b.form == F::Real) {
        if (a.form == F::Integer) {
            return compareIntegerReal(a.integer, b.real);
        }
        if (b.form == F::Integer) {
            auto c = compareIntegerReal(b.integer, a.real);
            return c ? std::optional<int>(-*c) : std::nullopt;
        }
        const double x = a.form == F::Currency ? currencyAsReal(a.integer) : a.real;
        const double y = b.form == F::Currency ? currencyAsReal(b.integer) : b.real;
        if (std::isnan(x) || std::isnan(y)) {
            return std::nullopt;
        }
        return compareScalar(x, y);
    }
    if (a.form == b.form) {
        return compareScalar(a.integer, b.integer);
    }
    if (a.form == F::Integer) {
        return compareIntegerCurrency(a.integer, b.integer);
    }
    return -compareIntegerCurrency(b.integer, a.integer);
}

int compareDates(const DateTime& a, const DateTime& b) {
    const int fieldsA[] = {a.year, a.month, a.day, a.hour, a.minute, a.second};
    const int fieldsB[] = {b.year, b.month, b.day, b.hour, b.minute, b.second};
    for (int i = 0; i < 6; ++i) {
        if (fieldsA[i] != fieldsB[i]) {
            return compareScalar(fieldsA[i], fieldsB[i]);
        }
    }
    return 0;
}

// Equal numbers of any kind share a key: whole numbers by their integer digits, amounts with
// a fraction by their currency digits (a real that a currency amount rounds to shares it),
// other reals by their shortest exact form.
std::string numberKey(const Number& n) {
    using F = Number::Form;
    if (n.form == F::Integer) {
        return "N" + integerText(n.integer);
    }
    if (n.form == F::Currency) {
        if (n.integer % kCurrencyScale == 0) {
            return "N" + integerText(n.integer / kCurrencyScale);
        }
        return "C" + integerText(n.integer);
    }
    const double r = n.real;
    constexpr double kTwo63 = 9223372036854775808.0;
    if (std::trunc(r) == r && r >= -kTwo63 && r < kTwo63) {
        return "N" + integerText(static_cast<std::int64_t>(r));
    }
    const double scaled = std::round(r * static_cast<double>(kCurrencyScale));
    if (std::isfinite(scaled) && scaled >= -kTwo63 && scaled < kTwo63) {
        const auto amount = static_cast<std::int64_t>(scaled);
        if (currencyAsReal(amount) == r) {
            return "C" + integerText(amount);
        }
    }
    return "R" + realText(r);
}

}  // namespace

Value Value::integer(std::int64_t v) {
    Value value;
    value.data_ = v;
    return value;
}

Value Value::real(double v) {
    Value value;
    value.data_ = v;
    return value;
}

Value Value::currency(Currency v) {
    Value value;
    value.data_ = v;
    return value;
}

Value Value::text(std::string v) {
    Value value;
    value.data_ = std::move(v);
    return value;
}

Value Value::dateTime(DateTime v) {
    Value value;
    value.data_ = v;
    return value;
}

Value Value::boolean(bool v) {
    Value value;
    value.data_ = v;
    return value;
}

Value::Kind Value::kind() const {
    return static_cast<Kind>(data_.index());
}

bool Value::isNumeric() const {
    const Kind k = kind();
    return k == Kind::Integer || k == Kind::Real || k == Kind::Currency || k == Kind::Boolean;
}

std::int64_t Value::asInteger() const {
    if (kind() != Kind::Integer) {
        wrongKind(kind(), Kind::Integer);
    }
    return std::get<std::int64_t>(data_);
}

double Value::asReal() const {
    if (kind() != Kind::Real) {
        wrongKind(kind(), Kind::Real);
    }
    return std::get<double>(data_);
}

Currency Value::asCurrency() const {
    if (kind() != Kind::Currency) {
        wrongKind(kind(), Kind::Currency);
    }
    return std::get<Currency>(data_);
}

const std::string& Value::asText() const {
    if (kind() != Kind::Text) {
        wrongKind(kind(), Kind::Text);
    }
    return std::get<std::string>(data_);
}

DateTime Value::asDateTime() const {
    if (kind() != Kind::DateTime) {
        wrongKind(kind(), Kind::DateTime);
    }
    return std::get<DateTime>(data_);
}

bool Value::asBoolean() const {
    if (kind() != Kind::Boolean) {
        wrongKind(kind(), Kind::Boolean);
    }
    return std::get<bool>(data_);
}

std::string Value::toText() const {
    switch (kind()) {
        case Kind::Null:
            return {};
        case Kind::Integer:
            return integerText(asInteger());
        case Kind::Real:
            return realText(asReal());
        case Kind::Currency:
            return currencyText(asCurrency());
        case Kind::Text:
            return asText();
        case Kind::DateTime:
            return dateText(asDateTime());
        case Kind::Boolean:
            return asBoolean() ? "1" : "0";
    }
    return {};
}

double Value::toNumber() const {
    switch (kind()) {
        case Kind::Null:
            return 0.0;
        case Kind::Integer:
            return static_cast<double>(asInteger());
        case Kind::Real:
            return asReal();
        case Kind::Currency:
            return currencyAsReal(asCurrency().scaled);
        case Kind::Text:
            return leadingNumber(asText());
        case Kind::DateTime:
            return dateSerial(asDateTime());
        case Kind::Boolean:
            return asBoolean() ? 1.0 : 0.0;
    }
    return 0.0;
}

std::optional<int> compareValues(const Value& a, const Value& b) {
    // The common cases of criteria first: a text or an integer field against its like.
    if (a.kind() == b.kind()) {
        if (a.kind() == Value::Kind::Text) {
            return compareText(a.asText(), b.asText());
        }
        if (a.kind() == Value::Kind::Integer) {
            return compareScalar(a.asInteger(), b.asInteger());
        }
    }
    if (a.isNumeric() && b.isNumeric()) {
        return compareNumbers(numberOf(a), numberOf(b));
    }
    if (a.kind() != b.kind()) {
        return std::nullopt;
    }
    switch (a.kind()) {
        case Value::Kind::Text:
            return compareText(a.asText(), b.asText());
        case Value::Kind::DateTime:
            return compareDates(a.asDateTime(), b.asDateTime());
        default:
            return std::nullopt;  // Null
    }
}

std::string equalityKey(const Value& v) {
    if (v.isNumeric()) {
        return numberKey(numberOf(v));
    }
    switch (v.kind()) {
        case Value::Kind::Text:
            return "T" + foldCase(v.asText());
        case Value::Kind::DateTime:
            return "D" + dateText(v.asDateTime());
        default:
            return "0";  // Null: never equal to anything, the key is never looked up
    }
}

std::string foldCase(std::string_view text) {
    std::string folded(text);
    unsigned char previous = 0;
    for (char& c : folded) {
        const auto byte = static_cast<unsigned char>(c);
        c = static_cast<char>(foldByte(previous, byte));
        previous = byte;
    }
    return folded;
}

int compareText(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    unsigned char previousA = 0, previousB = 0;
    for (std::size_t i = 0; i < common; ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[i]);
        // Equal bytes fold alike: while the texts agree so far, either both previous bytes
        // are the Latin-1 lead 0xC3 or neither is (no other byte folds to it).
        if (byteA == byteB) {
            previousA = previousB = byteA;
            continue;
        }
        const unsigned char foldedA = foldByte(previousA, byteA);
        const unsigned char foldedB = foldByte(previousB, byteB);
        if (foldedA != foldedB) {
            return foldedA < foldedB ? -1 : 1;
        }
        previousA = byteA;
        previousB = byteB;
    }
    return compareScalar(a.size(), b.size());
}

}  // namespace planora::db
