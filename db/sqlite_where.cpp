#include "db/sqlite_where.h"

#include <algorithm>
#include <optional>

#include "db/quote.h"
#include "db/recordset_internal.h"

namespace planora::db::sqlite {

namespace {

using Expr = sql::Expr;
using Op = Expr::CompareOp;

// Texts of bytes 0x20 to 0x7E only.
bool isPrintableAscii(const std::string& text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

// Byte order answers as case folding does when the literal has no letter, nor a byte that falls
// between the capitals and the small letters.
bool caseMatters(const std::string& text) {
    for (const char c : text) {
        if (c >= 'A' && c <= 'z') {
            return true;
        }
    }
    return false;
}

const char* sqlOperator(Op op) {
    switch (op) {
        case Op::Eq:
            return " = ";
        case Op::Ne:
            return " <> ";
        case Op::Lt:
            return " < ";
        case Op::Le:
            return " <= ";
        case Op::Gt:
            return " > ";
        case Op::Ge:
            return " >= ";
    }
    return " = ";
}

// "a < b" read from b's side.
Op mirrored(Op op) {
    switch (op) {
        case Op::Lt:
            return Op::Gt;
        case Op::Le:
            return Op::Ge;
        case Op::Gt:
            return Op::Lt;
        case Op::Ge:
            return Op::Le;
        default:
            return op;
    }
}

class Translator {
  public:
    explicit Translator(const TableShape& shape) : shape_(shape) {}

    // The superset condition of the expression; none for "every row".
    std::optional<std::string> superset(const Expr& expr) const {
        switch (expr.kind) {
            case Expr::Kind::And:
                return conjunction(expr);
            case Expr::Kind::Or:
                return disjunction(expr);
            case Expr::Kind::Compare:
                return comparison(expr);
            case Expr::Kind::InList:
                return inList(expr);
            case Expr::Kind::IsNull:
                return isNull(expr);
            default:
                return std::nullopt;
        }
    }

  private:
    std::optional<std::string> conjunction(const Expr& expr) const {
        const auto left = superset(*expr.children[0]);
        const auto right = superset(*expr.children[1]);
        if (!left || !right) {
            return left ? left : right;
        }
        return "(" + *left + ") AND (" + *right + ")";
    }

    std::optional<std::string> disjunction(const Expr& expr) const {
        const auto left = superset(*expr.children[0]);
        const auto right = superset(*expr.children[1]);
        if (!left || !right) {
            return std::nullopt;
        }
        return "(" + *left + ") OR (" + *right + ")";
    }

    std::optional<std::size_t> columnOf(const Expr& expr) const {
        if (expr.kind != Expr::Kind::Field) {
            return std::nullopt;
        }
        const std::string wanted = foldCase(expr.name);
        for (std::size_t c = 0; c < shape_.columns.size(); ++c) {
            if (foldCase(shape_.columns[c].info.name) == wanted) {
                return c;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> comparison(const Expr& expr) const {
        const Expr& left = *expr.children[0];
        const Expr& right = *expr.children[1];
        if (left.kind == Expr::Kind::Literal) {
            return fieldAgainst(right, mirrored(expr.op), left.literal);
        }
        if (right.kind == Expr::Kind::Literal) {
            return fieldAgainst(left, expr.op, right.literal);
        }
        return std::nullopt;
    }

    std::optional<std::string> fieldAgainst(const Expr& field, Op op, const Value& v) const {
        const auto column = columnOf(field);
        if (!column) {
            return std::nullopt;
        }
        const ColumnShape& shape = shape_.columns[*column];
        const std::string name = shape_.quotedColumn(*column);
        if (v.kind() == Value::Kind::Text && shape.info.type == ColumnType::Text &&
            shape.affinity == Affinity::Text && isPrintableAscii(v.asText())) {
            const std::string collation =
                caseMatters(v.asText()) ? " COLLATE NOCASE" : " COLLATE BINARY";
            std::string test = name + sqlOperator(op) + quote(v.asText()) + collation;
            // A blob is read as a text but SQLite orders it after every text: keep them all
            // where the comparison would leave them out.
            if (op == Op::Eq || op == Op::Lt || op == Op::Le) {
                test += " OR " + name + " >= x''";
            }
            return test;
        }
        if (v.kind() == Value::Kind::Integer && shape.info.type == ColumnType::Integer &&
            shape.affinity == Affinity::Integer) {
            return name + sqlOperator(op) + std::to_string(v.asInteger());
        }
        return std::nullopt;
    }

    std::optional<std::string> inList(const Expr& expr) const {
        std::string any;
        for (std::size_t i = 1; i < expr.children.size(); ++i) {
            if (expr.children[i]->kind != Expr::Kind::Literal) {
                return std::nullopt;
            }
            const auto one = fieldAgainst(*expr.children[0], Op::Eq, expr.children[i]->literal);
            if (!one) {
                return std::nullopt;
            }
            any += (any.empty() ? "(" : " OR (") + *one + ")";
        }
        return any.empty() ? std::nullopt : std::optional<std::string>(any);
    }

    std::optional<std::string> isNull(const Expr& expr) const {
        const auto column = columnOf(*expr.children[0]);
        if (!column) {
            return std::nullopt;
        }
        return shape_.quotedColumn(*column) + " IS NULL";
    }

    const TableShape& shape_;
};

// Levels of nesting; SQLite refuses expressions nested deeper than a thousand.
int depthOf(const Expr& expr) {
    int deepest = 0;
    for (const auto& child : expr.children) {
        deepest = std::max(deepest, depthOf(*child));
    }
    return deepest + 1;
}

constexpr int kMostNesting = 200;

}  // namespace

std::string supersetCondition(const sql::Expr& where, const TableShape& shape) {
    if (!shape.rowid || mayFailOnARow(where) || depthOf(where) > kMostNesting) {
        return {};
    }
    return Translator(shape).superset(where).value_or(std::string());
}

}  // namespace planora::db::sqlite
