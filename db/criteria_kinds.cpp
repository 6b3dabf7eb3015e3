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

    // The questions the comparisons will ask, so that the table can answer them together.
    void collect(const sql::Expr& expr, std::vector<KindQuestion>& questions) const {
        walk(expr, [&](const sql::Expr& a, const sql::Expr& b) {
            const auto columnA = columnOf(a);
            const auto columnB = columnOf(b);
            if (columnA && b.kind == sql::Expr::Kind::Literal && !b.literal.isNull()) {
                questions.push_back({*columnA, refusedBy(Table::kindBit(b.literal.kind()))});
            } else if (columnB && a.kind == sql::Expr::Kind::Literal && !a.literal.isNull()) {
                questions.push_back({*columnB, refusedBy(Table::kindBit(a.literal.kind()))});
            } else if (columnA && columnB) {
                questions.push_back({*columnA, kNumbers | kTexts | kDates});
                questions.push_back({*columnB, kNumbers | kTexts | kDates});
            }
        });
    }

    void check(const sql::Expr& expr) const {
        walk(expr, [&](const sql::Expr& a, const sql::Expr& b) { comparison(a, b); });
    }

  private:
    template <typename Visit>
    static void walk(const sql::Expr& expr, const Visit& visit) {
        using K = sql::Expr::Kind;
        if (expr.kind == K::Compare || expr.kind == K::InList) {
            // children[0] against each other child: the right side, or the items of the list
            for (std::size_t i = 1; i < expr.children.size(); ++i) {
                visit(*expr.children[0], *expr.children[i]);
            }
        }
        for (const auto& child : expr.children) {
            walk(*child, visit);
        }
    }

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
        if (table_.holdsKinds(column, refused)) {
            fail(sql::describedField(field, table_.firstOfKinds(column, refused)),
                 sql::describedValue(v));
        }
    }

    // The kinds of the column by class: the numbers, texts and dates it holds.
    unsigned classesOf(std::size_t column) const {
        unsigned classes = 0;
        for (unsigned kinds : {kNumbers, kTexts, kDates}) {
            classes |= table_.holdsKinds(column, kinds) ? kinds : 0u;
        }
        return classes;
    }

    void fieldAgainstField(const std::string& fieldA, std::size_t columnA,
                           const std::string& fieldB, std::size_t columnB) const {
        const unsigned clash = classesOf(columnB) & refusedBy(classesOf(columnA));
        if (clash == 0) {
            return;
        }
        const Value valueB = table_.firstOfKinds(columnB, clash);
        const Value valueA = table_.firstOfKinds(columnA, refusedBy(Table::kindBit(valueB.kind())));
        fail(sql::describedField(fieldA, valueA), sql::describedField(fieldB, valueB));
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
    const KindCheck check(table, source);
    std::vector<KindQuestion> questions;
    check.collect(expr, questions);
    table.learnKinds(questions);
    check.check(expr);
}

}  // namespace planora::db
