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

std::string child(const Expr& expr, std::size_t i) {
    return printExpr(*expr.children[i]);
}

}  // namespace

std::string printExpr(const Expr& expr) {
    switch (expr.kind) {
        case Expr::Kind::Literal:
            return literalText(expr.literal);
        case Expr::Kind::Field:
            return bracketed(expr.name);
        case Expr::Kind::Compare:
            return "(" + child(expr, 0) + operatorText(expr.op) + child(expr, 1) + ")";
        case Expr::Kind::Like:
            return "(" + child(expr, 0) + " Like " + child(expr, 1) + ")";
        case Expr::Kind::And:
            return "(" + child(expr, 0) + " And " + child(expr, 1) + ")";
        case Expr::Kind::Or:
            return "(" + child(expr, 0) + " Or " + child(expr, 1) + ")";
        case Expr::Kind::Not:
            return "(Not " + child(expr, 0) + ")";
        case Expr::Kind::IsNull:
            return "(" + child(expr, 0) + " Is Null)";
        case Expr::Kind::InSelect:
            return "(" + child(expr, 0) + " In (" + printSelect(*expr.subquery) + "))";
        case Expr::Kind::InList: {
            std::string text = "(" + child(expr, 0) + " In (";
            for (std::size_t i = 1; i < expr.children.size(); ++i) {
                text += (i > 1 ? ", " : "") + child(expr, i);
            }
            return text + "))";
        }
    }
    return {};
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
