#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace planora::db {

// An exact money amount: the value times 10,000 (four decimals, as Access keeps it).
struct Currency {
    std::int64_t scaled = 0;
    friend bool operator==(const Currency&, const Currency&) = default;
};

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// One field value as the record access layer hands it out. Text is UTF-8.
class Value {
  public:
    enum class Kind : std::uint8_t { Null, Integer, Real, Currency, Text, DateTime, Boolean };

    Value() = default;
    static Value integer(std::int64_t v);
    static Value real(double v);
    static Value currency(Currency v);
    static Value text(std::string v);
    static Value dateTime(DateTime v);
    static Value boolean(bool v);

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumeric() const;  // Integer, Real, Currency or Boolean

    // Accessors for the stored kind; calling one for another kind throws Error.
    std::int64_t asInteger() const;
    double asReal() const;
    Currency asCurrency() const;
    const std::string& asText() const;
    DateTime asDateTime() const;
    bool asBoolean() const;

    // Null reads as the empty text. Numbers use '.' and never depend on the process locale;
    // currency has four decimals ("12.5000"), dates read "yyyy-mm-dd hh:mm:ss", yes/no "1"/"0".
    std::string toText() const;
    // Null reads as 0; text is read by its leading number ("12abc" is 12, "abc" is 0).
    double toNumber() const;

    friend bool operator==(const Value&, const Value&) = default;  // same kind, same content

  private:
    std::variant<std::monostate, std::int64_t, double, Currency, std::string, DateTime, bool> data_;
};

// Access comparison: texts without regard to case, numbers of any kind as numbers, dates as
// dates. Null compared with anything, or values of unrelated kinds (text with number), gives
// no answer: such a comparison never matches.
std::optional<int> compareValues(const Value& a, const Value& b);

// A key such that two non-Null values compare equal exactly when their keys are equal.
// Used to index record sets on equality criteria.
std::string equalityKey(const Value& v);

// The case folding used by text comparisons (ASCII and Latin-1 letters, UTF-8 in and out).
std::string foldCase(std::string_view text);

// Compares two texts as compareValues does (foldCase of both, then byte order), without
// building the folded copies: negative, 0 or positive.
int compareText(std::string_view a, std::string_view b);

}  // namespace planora::db
