#include "db/recordset.h"

#include <algorithm>
#include <iterator>
#include <ranges>

#include "db/column_index.h"
#include "db/error.h"
#include "db/recordset_internal.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

// Bounds the criteria cache: the program builds one criteria text per room or customer.
constexpr std::size_t kMaxCachedCriteria = 20000;
// Rows looked at to tell how many values a column holds.
constexpr std::size_t kSampledRows = 64;
constexpr std::uint32_t kNoPosition = 0xFFFFFFFF;

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
    const auto& terms = bound.equalities();
    std::vector<std::string> keys;
    for (const auto& term : terms) {
        if (term.value.isNull()) {
            impossible = true;
            return;
        }
        const std::string key = equalityKey(term.value);
        const auto same = std::find_if(equalities.begin(), equalities.end(),
                                       [&](const auto& e) { return e.column == term.column; });
        if (same != equalities.end()) {
            // The same column equal to two values holds for no row; to one value twice, as once.
            impossible =
                impossible || keys[static_cast<std::size_t>(same - equalities.begin())] != key;
            continue;
        }
        equalities.push_back(term);
        keys.push_back(key);
    }
    onlyEqualities = !terms.empty() && consistsOfEqualities(expr, terms.size());
}

const std::vector<std::uint32_t>& RecordSet::State::rows() {
    if (!selected_) {
        rows_ = select();
        select = nullptr;
        selected_ = true;
        const std::size_t tableRows = table->rowCount();
        identity_ = rows_.size() == tableRows;
        ascending_ = true;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            identity_ = identity_ && rows_[i] == i;
            ascending_ = ascending_ && (i == 0 || rows_[i - 1] < rows_[i]);
        }
    }
    return rows_;
}

const std::vector<std::uint32_t>& RecordSet::State::positions() {
    if (positionOfRow_.empty()) {
        positionOfRow_.assign(table->rowCount(), kNoPosition);
        const auto& selectedRows = rows();
        for (std::size_t p = 0; p < selectedRows.size(); ++p) {
            positionOfRow_[selectedRows[p]] = static_cast<std::uint32_t>(p);
        }
    }
    return positionOfRow_;
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
    chooseIndex(*compiled);
    last = criteria.emplace(key, std::move(compiled)).first->second.get();
    lastText = key;
    return *last;
}

std::size_t RecordSet::State::distinctInSample(std::size_t column) {
    const auto known = sampledDistinct.find(column);
    if (known != sampledDistinct.end()) {
        return known->second;
    }
    const std::size_t tableRows = table->rowCount();
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < kSampledRows && i < tableRows; ++i) {
        const Value v = table->value(i * tableRows / std::min(kSampledRows, tableRows), column);
        if (!v.isNull()) {
            seen.push_back(equalityKey(v));
        }
    }
    std::sort(seen.begin(), seen.end());
    const auto distinct =
        static_cast<std::size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
    sampledDistinct.emplace(column, distinct);
    return distinct;
}

// The equality whose column tells the most rows apart in a sample is looked up in its index;
// the others are checked on the rows it gives.
void RecordSet::State::chooseIndex(CompiledCriteria& compiled) {
    if (compiled.impossible || compiled.equalities.empty()) {
        return;
    }
    std::vector<std::size_t> columns;
    for (const auto& equality : compiled.equalities) {
        columns.push_back(equality.column);
    }
    table->loadColumns(columns);
    std::size_t best = 0;
    std::size_t bestDistinct = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::size_t distinct = distinctInSample(columns[i]);
        if (distinct > bestDistinct) {
            best = i;
            bestDistinct = distinct;
        }
    }
    compiled.indexed = best;
}

std::span<const std::uint32_t> RecordSet::State::candidates(CompiledCriteria& compiled) {
    if (compiled.candidatesResolved) {
        return compiled.candidates;
    }
    const auto& looked = compiled.equalities[*compiled.indexed];
    const std::span<const std::uint32_t> equal =
        table->equalityIndex(looked.column).rowsEqualTo(looked.value);
    rows();
    if (identity_ && compiled.equalities.size() == 1) {
        compiled.candidates = equal;
    } else {
        auto holdsTheOthers = [&](std::uint32_t row) {
            for (const auto& equality : compiled.equalities) {
                if (&equality == &looked) {
                    continue;
                }
                const auto order =
                    compareValues(table->value(row, equality.column), equality.value);
                if (!order || *order != 0) {
                    return false;
                }
            }
            return true;
        };
        std::vector<std::uint32_t>& own = compiled.ownCandidates;
        for (std::uint32_t row : equal) {
            if (!holdsTheOthers(row)) {
                continue;
            }
            const std::uint32_t position = identity_ ? row : positions()[row];
            if (position != kNoPosition) {
                own.push_back(position);
            }
        }
        if (!ascending_) {
            std::sort(own.begin(), own.end());
        }
        compiled.candidates = own;
    }
    compiled.candidatesResolved = true;
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

std::shared_ptr<RecordSet::State> makeRecordSetState(
    TablePtr table, std::function<std::vector<std::uint32_t>()> select,
    sql::SubqueryRunner subqueries, std::filesystem::path file) {
    auto state = std::make_shared<RecordSet::State>();
    state->table = std::move(table);
    state->select = std::move(select);
    state->subqueries = std::move(subqueries);
    state->file = std::move(file);
    return state;
}

std::vector<std::uint32_t> allRows(const Table& table) {
    std::vector<std::uint32_t> rows(table.rowCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint32_t>(i);
    }
    return rows;
}

namespace {

void collectFieldColumns(const sql::Expr& expr, const Table& table,
                         std::vector<std::size_t>& columns) {
    if (expr.kind == sql::Expr::Kind::Field) {
        const auto column = table.columnIndex(expr.name);
        if (column && std::find(columns.begin(), columns.end(), *column) == columns.end()) {
            columns.push_back(*column);
        }
    }
    for (const auto& child : expr.children) {
        collectFieldColumns(*child, table, columns);
    }
}

}  // namespace

bool mayFailOnARow(const sql::Expr& expr) {
    using K = sql::Expr::Kind;
    if (expr.kind == K::InSelect) {
        return true;
    }
    if (expr.kind == K::Compare || expr.kind == K::InList) {
        for (const auto& child : expr.children) {
            if (child->kind != K::Field && child->kind != K::Literal) {
                return true;
            }
        }
    }
    return std::any_of(expr.children.begin(), expr.children.end(),
                       [](const auto& child) { return mayFailOnARow(*child); });
}

std::vector<std::size_t> fieldColumns(const sql::Expr& expr, const Table& table) {
    std::vector<std::size_t> columns;
    collectFieldColumns(expr, table, columns);
    return columns;
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
    open();
    const std::vector<sql::OrderKey> keys = parseSortText(sort_);
    sortColumns(*state_->table, keys, state_->file);
    // The sorted record set selects its rows when first used, as its source does.
    auto select = [source = state_, keys] {
        std::vector<std::uint32_t> rows = source->rows();
        sortRows(*source->table, rows, keys, source->file);
        return rows;
    };
    return RecordSet(
        makeRecordSetState(state_->table, std::move(select), state_->subqueries, state_->file));
}

void RecordSet::findFirst(std::string_view criteria) {
    seek(criteria, 0, true);
}
void RecordSet::findNext(std::string_view criteria) {
    seek(criteria, current_ + 1, true);
}
void RecordSet::findLast(std::string_view criteria) {
    open();
    // Compiled before the rows are counted: what the criteria needs of the table is then loaded
    // in the pass that selects its rows.
    state_->compile(criteria);
    seek(criteria, static_cast<std::ptrdiff_t>(state_->rows().size()) - 1, false);
}

void RecordSet::seek(std::string_view criteria, std::ptrdiff_t start, bool forward) {
    open();
    State& state = *state_;
    CompiledCriteria& compiled = state.compile(criteria);
    const Table& table = *state.table;
    const std::vector<std::uint32_t>& rows = state.rows();
    std::uint32_t row = 0;
    const sql::RowReader reader = [&](std::size_t column) { return table.value(row, column); };
    auto matches = [&](std::uint32_t position) {
        row = rows[position];
        return compiled.bound.matches(reader);
    };
    std::ptrdiff_t found = -1;
    const auto count = static_cast<std::uint32_t>(rows.size());
    if (compiled.impossible || start < 0 || start >= static_cast<std::ptrdiff_t>(count)) {
        found = -1;
    } else if (compiled.indexed) {
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
    return state_->table->value(state_->rows()[static_cast<std::size_t>(current_)], column);
}

bool RecordSet::hasCurrent() const {
    return state_ && current_ >= 0;
}
std::size_t RecordSet::recordCount() const {
    open();
    return state_->rows().size();
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
