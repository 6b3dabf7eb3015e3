#include <unordered_set>

#include "db/error.h"
#include "db/sql.h"

namespace planora::db::sql {

namespace {

enum class Truth : std::uint8_t { False, True, Unknown };

Truth truthOf(bool b) {
    return b ? Truth::True : Truth::False;
}

// Kinds that compare with one another, to tell when "In" met a value it cannot judge.
enum KindClass : unsigned { kNumber = 1, kText = 2, kDate = 4, kNull = 8 };

unsigned kindClass(const Value& v) {
    if (v.isNumeric()) {
        return kNumber;
    }
    switch (v.kind()) {
        case Value::Kind::Text:
            return kText;
        case Value::Kind::DateTime:
            return kDate;
        default:
            return kNull;
    }
}

msg::ValueClass valueClassOf(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Text:
            return msg::ValueClass::Text;
        case Value::Kind::DateTime:
            return msg::ValueClass::Date;
        case Value::Kind::Boolean:
            return msg::ValueClass::YesNo;
        default:
            return msg::ValueClass::Number;
    }
}

// Sub-query results longer than this are looked up by key rather than scanned.
constexpr std::size_t kScanLimit = 16;

struct Node {
    Expr::Kind kind = Expr::Kind::Literal;
    Expr::CompareOp op = Expr::CompareOp::Eq;
    std::size_t column = 0;
    std::string name;  // of a field, or the table of a sub-query, for messages
    Value literal;
    std::vector<Node> children;
    // In (Select ...): the values, their kind classes and, for long lists, their keys.
    std::vector<Value> values;
    unsigned valueClasses = 0;
    std::unordered_set<std::string> keys;
};

bool holds(Expr::CompareOp op, int c) {
    switch (op) {
        case Expr::CompareOp::Eq:
            return c == 0;
        case Expr::CompareOp::Ne:
            return c != 0;
        case Expr::CompareOp::Lt:
            return c < 0;
        case Expr::CompareOp::Le:
            return c <= 0;
        case Expr::CompareOp::Gt:
            return c > 0;
        case Expr::CompareOp::Ge:
            return c >= 0;
    }
    return false;
}

class Binder {
  public:
    Binder(const ColumnResolver& columns, const SubqueryRunner& subqueries,
           const TextSource& source)
        : columns_(columns), subqueries_(subqueries), source_(source) {}

    Node bind(const Expr& expr) const {
        Node node;
        node.kind = expr.kind;
        node.op = expr.op;
        node.literal = expr.literal;
        node.name = expr.name;
        if (expr.kind == Expr::Kind::Field && !columns_(expr.name, node.column)) {
            throw Error(msg::within(msg::fieldNotFound(expr.name, source_.table, source_.file),
                                    source_.kind, source_.text));
        }
        node.children.reserve(expr.children.size());
        for (const ExprPtr& child : expr.children) {
            node.children.push_back(bind(*child));
        }
        if (expr.kind == Expr::Kind::InSelect) {
            runSubquery(expr, node);
        }
        return node;
    }

  private:
    void runSubquery(const Expr& expr, Node& node) const {
        if (!expr.subquery || !subqueries_) {
            throw Error(
                msg::within(msg::subqueryNotAvailable(expr.position), source_.kind, source_.text));
        }
        node.name = expr.subquery->table;
        node.values = subqueries_(*expr.subquery);
        for (const Value& v : node.values) {
            node.valueClasses |= kindClass(v);
            if (node.values.size() > kScanLimit && !v.isNull()) {
                node.keys.insert(equalityKey(v));
            }
        }
    }

    const ColumnResolver& columns_;
    const SubqueryRunner& subqueries_;
    const TextSource& source_;
};

class Evaluator {
  public:
    Evaluator(const RowReader& row, const TextSource& source) : row_(row), source_(source) {}

    Truth condition(const Node& node) const {
        switch (node.kind) {
            case Expr::Kind::And:
                return conjunction(node);
            case Expr::Kind::Or:
                return disjunction(node);
            case Expr::Kind::Not:
                return negation(condition(node.children[0]));
            case Expr::Kind::Compare:
                return compare(node);
            case Expr::Kind::Like:
                return like(node);
            case Expr::Kind::InList:
                return inList(node);
            case Expr::Kind::InSelect:
                return inSelect(node);
            case Expr::Kind::IsNull: {
                Value scratch;
                return truthOf(operand(node.children[0], scratch).isNull());
            }
            default: {
                Value scratch;
                return truthOfValue(operand(node, scratch));
            }
        }
    }

  private:
    // The value of an operand; literals are handed out without a copy.
    const Value& operand(const Node& node, Value& scratch) const {
        if (node.kind == Expr::Kind::Literal) {
            return node.literal;
        }
        if (node.kind == Expr::Kind::Field) {
            scratch = row_(node.column);
            return scratch;
        }
        const Truth truth = condition(node);
        scratch = truth == Truth::Unknown ? Value() : Value::boolean(truth == Truth::True);
        return scratch;
    }

    static Truth truthOfValue(const Value& v) {
        if (!v.isNumeric()) {
            return Truth::Unknown;
        }
        return truthOf(v.toNumber() != 0.0);
    }

    static Truth negation(Truth t) {
        if (t == Truth::Unknown) {
            return t;
        }
        return t == Truth::True ? Truth::False : Truth::True;
    }

    Truth conjunction(const Node& node) const {
        const Truth left = condition(node.children[0]);
        if (left == Truth::False) {
            return left;
        }
        const Truth right = condition(node.children[1]);
        return right == Truth::True ? left : right;
    }

    Truth disjunction(const Node& node) const {
        const Truth left = condition(node.children[0]);
        if (left == Truth::True) {
            return left;
        }
        const Truth right = condition(node.children[1]);
        return right == Truth::False ? left : right;
    }

    Truth compare(const Node& node) const {
        Value leftScratch, rightScratch;
        const Value& left = operand(node.children[0], leftScratch);
        const Value& right = operand(node.children[1], rightScratch);
        const std::optional<int> c = compareValues(left, right);
        if (!c) {
            refuseMismatch(node.children[0], left, node.children[1], right);
        }
        return c ? truthOf(holds(node.op, *c)) : Truth::Unknown;
    }

    // A side of a comparison as the message names it.
    static std::string side(const Node& node, const Value& v) {
        return node.kind == Expr::Kind::Field ? describedField(node.name, v) : describedValue(v);
    }

    void refuseMismatch(const Node& a, const Value& left, const Node& b, const Value& right) const {
        if (kindsMismatch(left, right)) {
            throw Error(msg::typeMismatch(source_.kind, source_.text, source_.table, source_.file,
                                          side(a, left), side(b, right)));
        }
    }

    Truth like(const Node& node) const {
        Value textScratch, patternScratch;
        const Value& text = operand(node.children[0], textScratch);
        const Value& pattern = operand(node.children[1], patternScratch);
        if (text.isNull() || pattern.isNull()) {
            return Truth::Unknown;
        }
        if (text.kind() == Value::Kind::Text && pattern.kind() == Value::Kind::Text) {
            return truthOf(likeMatch(text.asText(), pattern.asText()));
        }
        return truthOf(likeMatch(text.toText(), pattern.toText()));
    }

    Truth inList(const Node& node) const {
        Value scratch, itemScratch;
        const Value& v = operand(node.children[0], scratch);
        if (v.isNull()) {
            return Truth::Unknown;
        }
        // Every item is looked at, so that one of another kind fails whatever the others.
        bool found = false, unknown = false;
        for (std::size_t i = 1; i < node.children.size(); ++i) {
            const Value& item = operand(node.children[i], itemScratch);
            const std::optional<int> c = compareValues(v, item);
            if (!c) {
                refuseMismatch(node.children[0], v, node.children[i], item);
            }
            found = found || (c && *c == 0);
            unknown = unknown || !c;
        }
        return found ? Truth::True : unknown ? Truth::Unknown : Truth::False;
    }

    Truth inSelect(const Node& node) const {
        Value scratch;
        const Value& v = operand(node.children[0], scratch);
        if (v.isNull()) {
            return Truth::Unknown;
        }
        refuseSubqueryMismatch(node, v);
        bool found = false;
        if (node.keys.empty()) {
            for (const Value& item : node.values) {
                const std::optional<int> c = compareValues(v, item);
                found = found || (c && *c == 0);
            }
        } else {
            found = node.keys.count(equalityKey(v)) > 0;
        }
        if (found) {
            return Truth::True;
        }
        const bool unknown = (node.valueClasses & ~kindClass(v)) != 0;
        return unknown ? Truth::Unknown : Truth::False;
    }

    // The sub-query gave a value of a kind that the field's value cannot be compared with.
    void refuseSubqueryMismatch(const Node& node, const Value& v) const {
        // Without a text on one side and a number or a date on the other, every row passes
        // here at once; otherwise the values are looked at for the culprit.
        const unsigned present = node.valueClasses | kindClass(v);
        if ((present & kText) == 0 || (present & (kNumber | kDate)) == 0) {
            return;
        }
        for (const Value& item : node.values) {
            if (kindsMismatch(v, item)) {
                throw Error(msg::typeMismatch(
                    source_.kind, source_.text, source_.table, source_.file,
                    side(node.children[0], v),
                    msg::subqueryValues(node.name, valueClassOf(item), item.toText())));
            }
        }
    }

    const RowReader& row_;
    const TextSource& source_;
};

// "field = literal" in either order, with a literal that can be looked up.
bool equalityTerm(const Node& node, BoundExpr::Equality& term) {
    if (node.kind != Expr::Kind::Compare || node.op != Expr::CompareOp::Eq) {
        return false;
    }
    for (int side = 0; side < 2; ++side) {
        const Node& field = node.children[side];
        const Node& other = node.children[1 - side];
        if (field.kind == Expr::Kind::Field && other.kind == Expr::Kind::Literal &&
            !other.literal.isNull()) {
            term = {field.column, other.literal};
            return true;
        }
    }
    return false;
}

void collectEqualities(const Node& node, std::vector<BoundExpr::Equality>& terms) {
    if (node.kind == Expr::Kind::And) {
        collectEqualities(node.children[0], terms);
        collectEqualities(node.children[1], terms);
        return;
    }
    BoundExpr::Equality term{};
    if (equalityTerm(node, term)) {
        terms.push_back(std::move(term));
    }
}

}  // namespace

struct BoundExpr::Impl {
    TextSource source;
    Node root;
    std::vector<Equality> equalities;
};

std::string describedValue(const Value& v) {
    return msg::valuePhrase(valueClassOf(v), v.toText());
}

std::string describedField(std::string_view field, const Value& v) {
    return msg::fieldHolding(field, valueClassOf(v), v.toText());
}

bool kindsMismatch(const Value& a, const Value& b) {
    const unsigned both = kindClass(a) | kindClass(b);
    return both == (kText | kNumber) || both == (kText | kDate);
}

BoundExpr::BoundExpr(const Expr& expr, const ColumnResolver& columns,
                     const SubqueryRunner& subqueries, TextSource source)
    : impl_(std::make_unique<Impl>()) {
    impl_->source = std::move(source);
    impl_->root = Binder(columns, subqueries, impl_->source).bind(expr);
    collectEqualities(impl_->root, impl_->equalities);
}

BoundExpr::~BoundExpr() = default;
BoundExpr::BoundExpr(BoundExpr&&) noexcept = default;
BoundExpr& BoundExpr::operator=(BoundExpr&&) noexcept = default;

bool BoundExpr::matches(const RowReader& row) const {
    return Evaluator(row, impl_->source).condition(impl_->root) == Truth::True;
}

const std::vector<BoundExpr::Equality>& BoundExpr::equalities() const {
    return impl_->equalities;
}

}  // namespace planora::db::sql
