#include "db/sql_print.h"

#include "db/quote.h"

namespace planora::db::sql {

namespace {

const char* operatorText(Expr::CompareOp op) {
    switch (op) {
        case Expr::CompareOp::Eq:
            return " = ";
        case Expr::CompareOp::Ne:
            return " <> ";
        case Expr::CompareOp::Lt:
            return " < ";
        case Expr::CompareOp::Le:
            return " <= ";
        case Expr::CompareOp::Gt:
            return " > ";
        case Expr::CompareOp::Ge:
            return " >= ";
    }
    return " ? ";
}

std::string bracketed(const std::string& name) {
    return "[" + name + "]";
}

// A real keeps a decimal point or an exponent so that it reads back as a real.
std::string literalText(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return "Null";
        case Value::Kind::Boolean:
            return v.asBoolean() ? "True" : "False";
        case Value::Kind::Text:
            return quote(v.asText());
        case Value::Kind::Real: {
            std::string text = v.toText();
            if (text.find_first_of(".e") == std::string::npos) {
                text += ".0";
            }
            return text;
        }
        default:
            return v.toText();
    }
}

// Binding strength, loosest first, as the parser reads it.
enum Level { kOr = 1, kAnd, kNot, kPredicate, kOperand };

Level levelOf(Expr::Kind kind) {
    switch (kind) {
        case Expr::Kind::Or:
            return kOr;
        case Expr::Kind::And:
            return kAnd;
        case Expr::Kind::Not:
            return kNot;
        case Expr::Kind::Literal:
        case Expr::Kind::Field:
            return kOperand;
        default:
            return kPredicate;
    }
}

std::string print(const Expr& expr, Level least);

std::string child(const Expr& expr, std::size_t i, Level least) {
    return print(*expr.children[i], least);
}

std::string unparenthesised(const Expr& expr) {
    switch (expr.kind) {
        case Expr::Kind::Literal:
            return literalText(expr.literal);
        case Expr::Kind::Field:
            return bracketed(expr.name);
        case Expr::Kind::Compare:
            return child(expr, 0, kOperand) + operatorText(expr.op) + child(expr, 1, kOperand);
        case Expr::Kind::Like:
            return child(expr, 0, kOperand) + " Like " + child(expr, 1, kOperand);
        // And and Or read from the left, so only a right operand of the same kind needs
        // parentheses: chains print flat.
        case Expr::Kind::And:
            return child(expr, 0, kAnd) + " And " + child(expr, 1, kNot);
        case Expr::Kind::Or:
            return child(expr, 0, kOr) + " Or " + child(expr, 1, kAnd);
        case Expr::Kind::Not:
            return "Not " + child(expr, 0, kNot);
        case Expr::Kind::IsNull:
            return child(expr, 0, kOperand) + " Is Null";
        case Expr::Kind::InSelect:
            return child(expr, 0, kOperand) + " In (" + printSelect(*expr.subquery) + ")";
        case Expr::Kind::InList: {
            std::string text = child(expr, 0, kOperand) + " In (";
            for (std::size_t i = 1; i < expr.children.size(); ++i) {
                text += (i > 1 ? ", " : "") + child(expr, i, kOperand);
            }
            return text + ")";
        }
    }
    return {};
}

// Parentheses only where the parser would otherwise group differently, so that the printed
// form nests no deeper than the text it was parsed from.
std::string print(const Expr& expr, Level least) {
    const std::string text = unparenthesised(expr);
    return levelOf(expr.kind) < least ? "(" + text + ")" : text;
}

}  // namespace

std::string printExpr(const Expr& expr) {
    return print(expr, kOr);
}

std::string printSelect(const SelectStatement& select) {
    std::string text = "Select " + (select.column.empty() ? "*" : bracketed(select.column));
    text += " From " + bracketed(select.table);
    if (!select.inFile.empty()) {
        text += " In " + quote(select.inFile);
    }
    if (select.where) {
        text += " Where " + printExpr(*select.where);
    }
    for (std::size_t i = 0; i < select.orderBy.size(); ++i) {
        text += i == 0 ? " Order By " : ", ";
        text += bracketed(select.orderBy[i].column) + (select.orderBy[i].descending ? " Desc" : "");
    }
    return text;
}

}  // namespace planora::db::sql
