#pragma once

// The Access SQL dialect the program speaks:
//   Select * From T [In 'file.mdb'] [Where e] [Order by col [Asc|Desc], ...] [;]
// and the criteria of the finds, which are the same expressions e.
// Parsing is separate from evaluation: an expression is parsed once, bound to the columns of
// one table, then evaluated on many rows.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "messages/db_messages.h"

namespace planora::db::sql {

struct SelectStatement;

struct Expr {
    enum class Kind {
        Literal,   // literal
        Field,     // name
        Compare,   // op, children[0] op children[1]
        Like,      // children[0] Like children[1]
        InList,    // children[0] In (children[1..])
        InSelect,  // children[0] In (subquery)
        And,       // children[0] And children[1]
        Or,        // children[0] Or children[1]
        Not,       // Not children[0]
        IsNull,    // children[0] Is Null ("Is Not Null" is Not over it)
    };
    enum class CompareOp { Eq, Ne, Lt, Le, Gt, Ge };

    Kind kind = Kind::Literal;
    CompareOp op = CompareOp::Eq;
    Value literal;
    std::string name;
    std::vector<std::unique_ptr<Expr>> children;
    std::shared_ptr<const SelectStatement> subquery;
    std::size_t position = 0;  // offset of the expression in the source text, for messages
};
using ExprPtr = std::unique_ptr<Expr>;

struct OrderKey {
    std::string column;
    bool descending = false;
};

struct SelectStatement {
    std::string table;
    std::string inFile;                 // empty unless "In 'file'"
    std::shared_ptr<const Expr> where;  // null when there is no Where
    std::vector<OrderKey> orderBy;
    std::string column;  // the one column of "Select col From ...", empty for "Select *"
};

// True when the text is an SQL statement rather than a table name.
bool looksLikeSelect(std::string_view text);

// Both throw planora::Error with the text and the position of the fault.
SelectStatement parseSelect(std::string_view text);
ExprPtr parseCriteria(std::string_view text);

// Runs a sub-query "Select col From T [In 'file'] Where ..." for In (Select ...): returns the
// values of its single column. Supplied by the record access layer.
using SubqueryRunner = std::function<std::vector<Value>(const SelectStatement&)>;

// Finds a column by name without regard to case; returns false when the table has no such
// column.
using ColumnResolver = std::function<bool(std::string_view name, std::size_t& column)>;

// Hands out the value of a column of the row being evaluated.
using RowReader = std::function<Value(std::size_t column)>;

// Where an expression comes from, for the messages of its failures: the criteria of a find or
// an SQL statement, and the table and file it is evaluated on (empty when not known).
struct TextSource {
    msg::SqlText kind = msg::SqlText::Criteria;
    std::string text;
    std::string table;
    std::filesystem::path file;
};

// A value as a message names it: "il testo "101"", "il numero 3".
std::string describedValue(const Value& v);
// A field and the value it holds: "il campo "NumeroCamera" (che contiene il numero 101)".
std::string describedField(std::string_view field, const Value& v);
// True for a text against a number or a date, which the Access engine refuses to compare.
bool kindsMismatch(const Value& a, const Value& b);

// An expression bound to the columns of one table: field names resolved, sub-queries run.
class BoundExpr {
  public:
    // Throws planora::Error naming the unknown field, or the sub-query's failure.
    BoundExpr(const Expr& expr, const ColumnResolver& columns, const SubqueryRunner& subqueries,
              TextSource source = {});
    ~BoundExpr();
    BoundExpr(BoundExpr&&) noexcept;
    BoundExpr& operator=(BoundExpr&&) noexcept;

    // Access semantics: a comparison with Null is not a match; "Not" of an unknown stays unknown.
    // A text compared with a number or a date throws planora::Error, the engine's type
    // mismatch, naming the field, the values, the criteria, the table and the file.
    bool matches(const RowReader& row) const;

    // The "column = literal" terms joined by And at the top of the expression: a row can match
    // only when every one of them holds. Used to look candidates up in an index; matches() must
    // still be called on each candidate for the rest of the expression.
    struct Equality {
        std::size_t column;
        Value value;
    };
    const std::vector<Equality>& equalities() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Access Like: '*' any run, '?' one character, '#' one digit, '[...]' a character class;
// without regard to case.
bool likeMatch(std::string_view text, std::string_view pattern);

}  // namespace planora::db::sql
