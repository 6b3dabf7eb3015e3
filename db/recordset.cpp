#include "db/recordset.h"

#include <algorithm>
#include <iterator>
#include <ranges>

#include "db/error.h"
#include "db/recordset_internal.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

// Bounds the criteria cache: the program builds one criteria text per room or customer.
constexpr std::size_t kMaxCachedCriteria = 20000;

// The terms joined by And at the top of an expression.
void collectConjuncts(const sql::Expr& expr, std::vector<const sql::Expr*>& terms) {
    if (expr.kind == sql::Expr::Kind::And) {
        for (const auto& child : expr.children) {
            collectConjuncts(*child, terms);
        }
        return;
    }
    terms.push_back(&expr);
}

bool isFieldEqualsLiteral(const sql::Expr& e) {
    if (e.kind != sql::Expr::Kind::Compare || e.op != sql::Expr::CompareOp::Eq ||
        e.children.size() != 2) {
        return false;
    }
    const auto a = e.children[0]->kind;
    const auto b = e.children[1]->kind;
    return (a == sql::Expr::Kind::Field && b == sql::Expr::Kind::Literal) ||
           (a == sql::Expr::Kind::Literal && b == sql::Expr::Kind::Field);
}

// True when the expression is nothing but its equalities, so that an index hit is a match.
bool consistsOfEqualities(const sql::Expr& expr, std::size_t equalityCount) {
    std::vector<const sql::Expr*> terms;
    collectConjuncts(expr, terms);
    return terms.size() == equalityCount && std::all_of(terms.begin(), terms.end(), [](auto* t) {
               return isFieldEqualsLiteral(*t);
           });
}

// The first position from start on, forwards or backwards, among ascending positions, that
// satisfies isMatch; -1 when none does.
template <typename Positions, typename Predicate>
std::ptrdiff_t searchFrom(const Positions& positions, std::uint32_t start, bool forward,
                          Predicate isMatch) {
    auto first = [&](auto begin, auto end) -> std::ptrdiff_t {
        const auto it = std::find_if(begin, end, isMatch);
        return it == end ? -1 : static_cast<std::ptrdiff_t>(*it);
    };
    if (forward) {
        return first(std::lower_bound(positions.begin(), positions.end(), start), positions.end());
    }
    return first(
        std::make_reverse_iterator(std::upper_bound(positions.begin(), positions.end(), start)),
        std::make_reverse_iterator(positions.begin()));
}

}  // namespace

CompiledCriteria::CompiledCriteria(const sql::Expr& expr, const sql::ColumnResolver& columns,
                                   const sql::SubqueryRunner& subqueries, sql::TextSource source)
    : bound(expr, columns, subqueries, std::move(source)) {
    const auto& equalities = bound.equalities();
    if (equalities.empty()) {
        return;
    }
    std::vector<std::pair<std::size_t, std::string>> terms;
    for (const auto& equality : equalities) {
        if (equality.value.isNull()) {
            impossible = true;
            return;
        }
        terms.emplace_back(equality.column, equalityKey(equality.value));
    }
    std::stable_sort(terms.begin(), terms.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (i > 0 && terms[i].first == terms[i - 1].first) {
            // The same column equal to two values holds for no row; to one value twice, as once.
            impossible = impossible || terms[i].second != terms[i - 1].second;
            continue;
        }
        indexColumns.push_back(terms[i].first);
        indexKeys.push_back(terms[i].second);
    }
    onlyEqualities = consistsOfEqualities(expr, equalities.size());
}

std::size_t RecordSet::State::column(std::string_view name) {
    const auto cached = fieldCache.find(std::string(name));
    if (cached != fieldCache.end()) {
        return cached->second;
    }
    const auto index = table->columnIndex(name);
    if (!index) {
        throw Error(msg::fieldNotFound(name, table->name(), file));
    }
    fieldCache.emplace(std::string(name), *index);
    return *index;
}

CompiledCriteria& RecordSet::State::compile(std::string_view text) {
    if (last != nullptr && text == lastText) {
        return *last;
    }
    const std::string key(text);
    const auto cached = criteria.find(key);
    if (cached != criteria.end()) {
        lastText = key;
        last = cached->second.get();
        return *last;
    }
    if (criteria.size() >= kMaxCachedCriteria) {
        criteria.clear();
        last = nullptr;
    }
    const sql::ExprPtr expr = sql::parseCriteria(text);
    sql::TextSource source{msg::SqlText::Criteria, key, table->name(), file};
    refuseMismatchedKinds(*expr, *table, source);
    auto compiled = std::make_unique<CompiledCriteria>(*expr, columnResolver(*table), subqueries,
                                                       std::move(source));
    last = criteria.emplace(key, std::move(compiled)).first->second.get();
    lastText = key;
    return *last;
}

std::span<const std::uint32_t> RecordSet::State::candidates(CompiledCriteria& compiled) {
    if (!compiled.candidatesResolved) {
        auto it = indexes.find(compiled.indexColumns);
        if (it == indexes.end()) {
            it = indexes
                     .emplace(compiled.indexColumns,
                              EqualityIndex(*table, rows, compiled.indexColumns))
                     .first;
        }
        compiled.candidates = it->second.lookup(compiled.indexKeys);
        compiled.candidatesResolved = true;
    }
    return compiled.candidates;
}

sql::ColumnResolver columnResolver(const Table& table) {
    return [&table](std::string_view name, std::size_t& column) {
        const auto index = table.columnIndex(name);
        if (index) {
            column = *index;
        }
        return index.has_value();
    };
}

std::shared_ptr<RecordSet::State> makeRecordSetState(TablePtr table,
                                                     std::vector<std::uint32_t> rows,
                                                     sql::SubqueryRunner subqueries,
                                                     std::filesystem::path file) {
    auto state = std::make_shared<RecordSet::State>();
    state->table = std::move(table);
    state->rows = std::move(rows);
    state->subqueries = std::move(subqueries);
    state->file = std::move(file);
    return state;
}

RecordSet::RecordSet() = default;
RecordSet::~RecordSet() = default;
RecordSet::RecordSet(const RecordSet&) = default;
RecordSet& RecordSet::operator=(const RecordSet&) = default;
RecordSet::RecordSet(RecordSet&&) noexcept = default;
RecordSet& RecordSet::operator=(RecordSet&&) noexcept = default;
RecordSet::RecordSet(std::shared_ptr<State> state) : state_(std::move(state)) {}

const RecordSet::State& RecordSet::open() const {
    if (!state_) {
        throw Error(msg::recordSetNotOpen());
    }
    return *state_;
}

void RecordSet::setSort(std::string sortText) {
    sort_ = std::move(sortText);
}
const std::string& RecordSet::sort() const {
    return sort_;
}

RecordSet RecordSet::openRecordset() const {
    const State& state = open();
    std::vector<std::uint32_t> rows = state.rows;
    sortRows(*state.table, rows, parseSortText(sort_), state.file);
    return RecordSet(
        makeRecordSetState(state.table, std::move(rows), state.subqueries, state.file));
}

void RecordSet::findFirst(std::string_view criteria) {
    seek(criteria, 0, true);
}
void RecordSet::findNext(std::string_view criteria) {
    seek(criteria, current_ + 1, true);
}
void RecordSet::findLast(std::string_view criteria) {
    seek(criteria, static_cast<std::ptrdiff_t>(open().rows.size()) - 1, false);
}

void RecordSet::seek(std::string_view criteria, std::ptrdiff_t start, bool forward) {
    open();
    State& state = *state_;
    CompiledCriteria& compiled = state.compile(criteria);
    const Table& table = *state.table;
    std::uint32_t row = 0;
    const sql::RowReader reader = [&](std::size_t column) { return table.value(row, column); };
    auto matches = [&](std::uint32_t position) {
        row = state.rows[position];
        return compiled.bound.matches(reader);
    };
    std::ptrdiff_t found = -1;
    const auto count = static_cast<std::uint32_t>(state.rows.size());
    if (compiled.impossible || start < 0 || start >= static_cast<std::ptrdiff_t>(count)) {
        found = -1;
    } else if (!compiled.indexColumns.empty()) {
        auto isMatch = [&](std::uint32_t p) { return compiled.onlyEqualities || matches(p); };
        found = searchFrom(state.candidates(compiled), static_cast<std::uint32_t>(start), forward,
                           isMatch);
    } else {
        const auto positions = std::views::iota(std::uint32_t{0}, count);
        found = searchFrom(positions, static_cast<std::uint32_t>(start), forward, matches);
    }
    noMatch_ = found < 0;
    if (!noMatch_) {
        current_ = found;
    }
}

bool RecordSet::noMatch() const {
    return noMatch_;
}

Value RecordSet::field(std::string_view name) const {
    open();
    const std::size_t column = state_->column(name);
    if (current_ < 0) {
        throw Error(msg::noCurrentRecord(state_->table->name(), name));
    }
    return state_->table->value(state_->rows[static_cast<std::size_t>(current_)], column);
}

bool RecordSet::hasCurrent() const {
    return state_ && current_ >= 0;
}
std::size_t RecordSet::recordCount() const {
    return open().rows.size();
}
const std::vector<ColumnInfo>& RecordSet::columns() const {
    return open().table->columns();
}
bool RecordSet::isOpen() const {
    return state_ != nullptr;
}

void RecordSet::close() {
    state_.reset();
    current_ = -1;
    noMatch_ = false;
}

}  // namespace planora::db
