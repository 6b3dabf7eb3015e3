// libFuzzer target for the SQL dialect: lexing, parsing, printing, binding, evaluation, Like
// and the value comparisons. Any failure other than planora::Error, and any broken invariant,
// aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/error.h"
#include "db/sql.h"
#include "db/sql_print.h"
#include "db/value.h"

namespace {

using namespace planora::db;
using namespace planora::db::sql;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

constexpr std::size_t kColumns = 8;

std::vector<std::vector<Value>> sampleRows() {
    const Value date = Value::dateTime(DateTime{2024, 3, 15, 10, 30, 0});
    return {
        {Value::integer(1), Value::text("101"), Value::real(2.5),
         Value::currency(Currency{1234500}), Value(), Value::text("Rossi"), date,
         Value::boolean(true)},
        {Value::integer(2), Value::text("1'A"), Value::real(-0.0), Value::currency(Currency{0}),
         Value::text("S"), Value::text(""), Value(), Value::boolean(false)},
        {Value::integer(INT64_MIN), Value::text("ÈÀ*?#[]"), Value::real(1e300),
         Value::currency(Currency{-1}), Value::integer(0), Value::text("20240315"),
         Value::dateTime(DateTime{}), Value()},
        std::vector<Value>(kColumns),
    };
}

// Every name but those starting with "z" is a column, chosen by the folded name.
bool resolve(std::string_view name, std::size_t& column) {
    const std::string folded = foldCase(name);
    if (!folded.empty() && folded[0] == 'z') {
        return false;
    }
    std::size_t hash = 0;
    for (unsigned char c : folded) {
        hash = hash * 31 + c;
    }
    column = hash % kColumns;
    return true;
}

std::vector<Value> runSubquery(const SelectStatement& select) {
    switch (select.table.size() % 3) {
        case 0:
            return {Value::text("101"), Value::integer(2), Value()};
        case 1: {
            std::vector<Value> many;
            for (int i = 0; i < 40; ++i) {
                many.push_back(i % 2 ? Value::text(std::to_string(i)) : Value::real(i * 0.5));
            }
            return many;
        }
        default:
            throw planora::Error("no table " + select.table);
    }
}

void collectLiterals(const Expr& expr, std::vector<Value>& literals) {
    if (expr.kind == Expr::Kind::Literal) {
        literals.push_back(expr.literal);
    }
    for (const ExprPtr& child : expr.children) {
        collectLiterals(*child, literals);
    }
}

// Equal values, and only those, share an equality key; comparison is antisymmetric.
void checkValues(const std::vector<Value>& values) {
    for (const Value& a : values) {
        (void)a.toText();
        (void)a.toNumber();
        for (const Value& b : values) {
            const auto ab = compareValues(a, b);
            const auto ba = compareValues(b, a);
            check(ab.has_value() == ba.has_value());
            if (ab) {
                check((*ab < 0) == (*ba > 0) && (*ab == 0) == (*ba == 0));
                check((*ab == 0) == (equalityKey(a) == equalityKey(b)));
            }
        }
    }
}

// Whether the row matches; no answer when the evaluation refuses to compare a text with a
// number or a date.
std::optional<bool> evaluate(const BoundExpr& bound, const std::vector<Value>& row) {
    try {
        return bound.matches([&row](std::size_t column) { return row.at(column); });
    } catch (const planora::Error&) {
        return std::nullopt;
    }
}

void checkBound(const Expr& expr, const Expr& reparsed) {
    const SubqueryRunner runner = runSubquery;
    std::optional<BoundExpr> bound;
    try {
        bound.emplace(expr, resolve, runner);
    } catch (const planora::Error&) {
        // The reprinted expression names the same fields and sub-queries: it fails as well.
        bool failed = false;
        try {
            BoundExpr again(reparsed, resolve, runner);
        } catch (const planora::Error&) {
            failed = true;
        }
        check(failed);
        return;
    }
    const BoundExpr boundAgain(reparsed, resolve, runner);
    for (const std::vector<Value>& row : sampleRows()) {
        const std::optional<bool> match = evaluate(*bound, row);
        check(match == evaluate(boundAgain, row));
        if (!match.value_or(false)) {
            continue;
        }
        // A row that matches satisfies every equality term offered for index lookups.
        for (const BoundExpr::Equality& term : bound->equalities()) {
            const auto c = compareValues(row.at(term.column), term.value);
            check(c && *c == 0);
        }
    }
}

void fuzzCriteria(std::string_view text) {
    ExprPtr expr;
    try {
        expr = parseCriteria(text);
    } catch (const planora::Error&) {
        return;
    }
    const std::string printed = printExpr(*expr);
    const ExprPtr reparsed = parseCriteria(printed);
    check(printExpr(*reparsed) == printed);
    std::vector<Value> literals = sampleRows()[0];
    collectLiterals(*expr, literals);
    checkValues(literals);
    checkBound(*expr, *reparsed);
}

void fuzzSelect(std::string_view text) {
    SelectStatement select;
    try {
        select = parseSelect(text);
    } catch (const planora::Error&) {
        return;
    }
    const std::string printed = printSelect(select);
    check(printSelect(parseSelect(printed)) == printed);
    if (select.where) {
        checkBound(*select.where, *parseSelect(printed).where);
    }
}

// The input split at its first newline into a text and a pattern.
void fuzzLike(std::string_view data) {
    const std::size_t split = data.find('\n');
    const std::string_view text = data.substr(0, split);
    const std::string_view pattern = split == std::string_view::npos ? "" : data.substr(split + 1);
    const bool match = likeMatch(text, pattern);
    check(likeMatch(text, "*"));
    if (text.find_first_of("*?#[") == std::string_view::npos) {
        check(likeMatch(text, text));
        check(likeMatch(foldCase(text), text));
    }
    // A pattern that matches keeps matching behind a star.
    if (match) {
        check(likeMatch(text, std::string("*") + std::string(pattern)));
    }
    check(compareText(text, pattern) == compareText(foldCase(text), foldCase(pattern)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)looksLikeSelect(text);
    fuzzCriteria(text);
    fuzzSelect(text);
    fuzzLike(text);
    (void)Value::text(std::string(text)).toNumber();
    return 0;
}
