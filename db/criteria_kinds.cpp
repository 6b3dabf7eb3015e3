#include "db/error.h"
#include "db/recordset_internal.h"

// The Access engine checks the types of a criteria once, against the types of the fields:
// a text compared with a number fails whatever the rows. Here the kinds of the stored values
// take the place of the field types, so that a text field holding numbers fails as well.
namespace planora::db {

namespace {

using Kind = Value::Kind;

constexpr unsigned kNumbers = Table::kindBit(Kind::Integer) | Table::kindBit(Kind::Real) |
                              Table::kindBit(Kind::Currency) | Table::kindBit(Kind::Boolean);
constexpr unsigned kTexts = Table::kindBit(Kind::Text);
constexpr unsigned kDates = Table::kindBit(Kind::DateTime);

// The kinds that a value of these kinds cannot be compared with.
unsigned refusedBy(unsigned kinds) {
    unsigned refused = 0;
    if ((kinds & kTexts) != 0) {
        refused |= kNumbers | kDates;
    }
    if ((kinds & (kNumbers | kDates)) != 0) {
        refused |= kTexts;
    }
    return refused;
}

class KindCheck {
  public:
    KindCheck(const Table& table, const sql::TextSource& source) : table_(table), source_(source) {}

    void walk(const sql::Expr& expr) const {
        using K = sql::Expr::Kind;
        if (expr.kind == K::Compare || expr.kind == K::InList) {
            // children[0] against each other child: the right side, or the items of the list
            for (std::size_t i = 1; i < expr.children.size(); ++i) {
                comparison(*expr.children[0], *expr.children[i]);
            }
        }
        for (const auto& child : expr.children) {
            walk(*child);
        }
    }

  private:
    // The column of a field of the table; none for anything else.
    std::optional<std::size_t> columnOf(const sql::Expr& e) const {
        return e.kind == sql::Expr::Kind::Field ? table_.columnIndex(e.name) : std::nullopt;
    }

    void comparison(const sql::Expr& a, const sql::Expr& b) const {
        const auto columnA = columnOf(a);
        const auto columnB = columnOf(b);
        if (columnA && b.kind == sql::Expr::Kind::Literal) {
            fieldAgainstValue(a.name, *columnA, b.literal);
        } else if (columnB && a.kind == sql::Expr::Kind::Literal) {
            fieldAgainstValue(b.name, *columnB, a.literal);
        } else if (columnA && columnB) {
            fieldAgainstField(a.name, *columnA, b.name, *columnB);
        }
    }

    void fieldAgainstValue(const std::string& field, std::size_t column, const Value& v) const {
        if (v.isNull()) {
            return;
        }
        const unsigned refused = refusedBy(Table::kindBit(v.kind()));
        if ((table_.valueKinds(column) & refused) != 0) {
            fail(sql::describedField(field, firstOf(column, refused)), sql::describedValue(v));
        }
    }

    void fieldAgainstField(const std::string& fieldA, std::size_t columnA,
                           const std::string& fieldB, std::size_t columnB) const {
        const unsigned kindsA = table_.valueKinds(columnA);
        const unsigned kindsB = table_.valueKinds(columnB);
        const unsigned clash = kindsB & refusedBy(kindsA);
        if (clash == 0) {
            return;
        }
        const Value valueB = firstOf(columnB, clash);
        const Value valueA = firstOf(columnA, refusedBy(Table::kindBit(valueB.kind())));
        fail(sql::describedField(fieldA, valueA), sql::describedField(fieldB, valueB));
    }

    // The first value of the column of one of these kinds; the column holds one.
    Value firstOf(std::size_t column, unsigned kinds) const {
        for (std::size_t row = 0; row < table_.rowCount(); ++row) {
            Value v = table_.value(row, column);
            if (!v.isNull() && (Table::kindBit(v.kind()) & kinds) != 0) {
                return v;
            }
        }
        return Value();
    }

    [[noreturn]] void fail(const std::string& left, const std::string& right) const {
        throw Error(msg::typeMismatch(source_.kind, source_.text, source_.table, source_.file, left,
                                      right));
    }

    const Table& table_;
    const sql::TextSource& source_;
};

}  // namespace

void refuseMismatchedKinds(const sql::Expr& expr, const Table& table,
                           const sql::TextSource& source) {
    KindCheck(table, source).walk(expr);
}

}  // namespace planora::db
