#include "db/table.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <unordered_map>

#include "db/column_index.h"
#include "db/column_store.h"
#include "db/error.h"
#include "messages/db_messages.h"
#include "messages/reading_messages.h"

namespace planora::db {

namespace {

// A table of at most so many rows loads every column it lacks at the first one it misses.
constexpr std::size_t kSmallTableRows = 4096;
// A larger one reads rows one by one for up to this many reads, and one more for every so
// many of its rows; past that it loads the columns read so far whole.
constexpr std::size_t kSingleRowReads = 256;
constexpr std::size_t kRowsPerSingleRead = 32;

// The same value stored: reals by their bits, so that a NaN read twice is the same cell.
bool sameCell(const Value& a, const Value& b) {
    if (a.kind() == Value::Kind::Real && b.kind() == Value::Kind::Real) {
        return std::bit_cast<std::uint64_t>(a.asReal()) == std::bit_cast<std::uint64_t>(b.asReal());
    }
    return a == b;
}

}  // namespace

struct TableImpl {
    std::string name;
    std::vector<ColumnInfo> columns;
    std::vector<ColumnStore> data;
    std::vector<bool> loaded;  // per column
    std::unique_ptr<TableSource> source;
    bool selected = false;  // the rows are known
    std::size_t rows = 0;

    // The load under way: the columns appended to, in order, and the rows appended so far.
    std::vector<std::size_t> filling;
    std::size_t nextColumn = 0;
    std::size_t loadRows = 0;

    // Rows of a large table read one by one, and which columns were read that way.
    std::unordered_map<std::uint32_t, std::vector<Value>> singleRows;
    std::size_t singleReads = 0;
    std::vector<bool> readSingly;

    std::vector<std::unique_ptr<ColumnIndex>> indexes;  // per column, made on first use

    ColumnStore& nextCell() {
        if (nextColumn == 0 && loadRows >= std::numeric_limits<std::uint32_t>::max()) {
            throw Error(msg::tooManyRows(name));
        }
        if (nextColumn >= filling.size()) {
            throw Error(msg::rowSizeMismatch(name, nextColumn + 1, filling.size()));
        }
        return data[filling[nextColumn++]];
    }

    void appendCell(const Value& value) { nextCell().append(value, loadRows); }
    void appendTextCell(std::string_view text) { nextCell().appendText(text, loadRows); }
    void appendIntegerCell(std::int64_t value) { nextCell().appendInteger(value, loadRows); }
    void endRow() {
        if (nextColumn != filling.size()) {
            throw Error(msg::rowSizeMismatch(name, nextColumn, filling.size()));
        }
        nextColumn = 0;
        ++loadRows;
        if (!source) {
            rows = loadRows;
        }
    }
    void reserve(std::size_t count) {
        for (std::size_t column : filling) {
            data[column].reserve(count);
        }
    }

    void load(std::vector<std::size_t> wanted, std::span<const KindQuestion> learn) {
        if (!source) {
            return;
        }
        if (!selected && (source->loadsEveryColumnAtOnce() || knownSmall())) {
            wanted.resize(columns.size());
            for (std::size_t c = 0; c < wanted.size(); ++c) {
                wanted[c] = c;
            }
        }
        std::vector<std::size_t> missing;
        for (std::size_t column : wanted) {
            if (!loaded[column] &&
                std::find(missing.begin(), missing.end(), column) == missing.end()) {
                missing.push_back(column);
            }
        }
        if (selected && missing.empty()) {
            return;
        }
        run(std::move(missing), learn);
    }

    // A small table loads every column it lacks at the first one it misses: one known to be
    // small before its first load takes them all with that load.
    bool knownSmall() const {
        const auto expected = source->rowsExpected();
        return expected && *expected <= kSmallTableRows;
    }

    void run(std::vector<std::size_t> missing, std::span<const KindQuestion> learn) {
        filling = std::move(missing);
        nextColumn = 0;
        loadRows = 0;
        try {
            TableLoad sink(*this);
            source->loadColumns(sink, filling, learn);
            if (nextColumn != 0) {
                throw Error(msg::rowSizeMismatch(name, nextColumn, filling.size()));
            }
            if (selected && loadRows != rows) {
                throw Error(msg::rowsChangedBetweenReads(name, rows, loadRows));
            }
        } catch (...) {
            for (std::size_t column : filling) {
                data[column] = ColumnStore();
            }
            filling.clear();
            throw;
        }
        rows = loadRows;
        selected = true;
        for (std::size_t column : filling) {
            data[column].shrink();
            loaded[column] = true;
        }
        filling.clear();
    }

    void select() {
        if (source && !selected) {
            load({}, {});
        }
    }

    const Value& singleRowValue(std::size_t row, std::size_t column) {
        auto found = singleRows.find(static_cast<std::uint32_t>(row));
        if (found == singleRows.end()) {
            ++singleReads;
            found = singleRows.emplace(static_cast<std::uint32_t>(row), source->loadRow(row)).first;
            if (found->second.size() != columns.size()) {
                throw Error(msg::rowSizeMismatch(name, found->second.size(), columns.size()));
            }
            refuseIfChanged(row, found->second);
        }
        readSingly[column] = true;
        return found->second[column];
    }

    // A row read by itself must be the row loaded: the same cells in every loaded column.
    void refuseIfChanged(std::size_t row, const std::vector<Value>& read) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (loaded[c] && !sameCell(read[c], data[c].get(row))) {
                singleRows.erase(static_cast<std::uint32_t>(row));
                source->refuseChangedRow();
            }
        }
    }

    // A value of a column not loaded yet: read from its row alone while few rows of a large
    // table are read, else the column is loaded (with those read singly so far, or in a small
    // table every missing column).
    Value unloadedValue(std::size_t row, std::size_t column) {
        const bool large = rows > kSmallTableRows;
        if (large && source->readsSingleRows() &&
            singleReads < kSingleRowReads + rows / kRowsPerSingleRead) {
            return singleRowValue(row, column);
        }
        std::vector<std::size_t> wanted{column};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!loaded[c] && (readSingly[c] || !large || !source->readsSingleRows())) {
                wanted.push_back(c);
            }
        }
        load(std::move(wanted), {});
        singleRows.clear();
        return data[column].get(row);
    }

    void checkColumn(std::size_t column, std::size_t row = 0) const {
        if (column >= data.size()) {
            throw Error(msg::cellOutOfRange(name, row, column));
        }
    }

    // The questions of the whole table are those of the loaded rows when every row is loaded.
    bool answersFromRows() const { return !source || source->selectsEveryRow(); }
};

void TableLoad::reserve(std::size_t rows) {
    impl_.reserve(rows);
}
void TableLoad::appendCell(const Value& value) {
    impl_.appendCell(value);
}
void TableLoad::appendTextCell(std::string_view text) {
    impl_.appendTextCell(text);
}
void TableLoad::appendIntegerCell(std::int64_t value) {
    impl_.appendIntegerCell(value);
}
void TableLoad::endRow() {
    impl_.endRow();
}
void TableLoad::takeRows(Table& loaded) {
    TableImpl& from = *loaded.impl_;
    if (impl_.nextColumn != 0 || impl_.loadRows != 0 || from.source ||
        from.data.size() < impl_.filling.size()) {
        throw Error(msg::rowSizeMismatch(impl_.name, from.data.size(), impl_.filling.size()));
    }
    for (std::size_t i = 0; i < impl_.filling.size(); ++i) {
        impl_.data[impl_.filling[i]] = std::move(from.data[i]);
        from.data[i] = ColumnStore();
    }
    impl_.loadRows = from.rows;
}

Table::Table(std::string name, std::vector<ColumnInfo> columns)
    : Table(std::move(name), std::move(columns), nullptr) {}

Table::Table(std::string name, std::vector<ColumnInfo> columns, std::unique_ptr<TableSource> source)
    : impl_(std::make_unique<TableImpl>()) {
    impl_->name = std::move(name);
    impl_->data.resize(columns.size());
    impl_->loaded.assign(columns.size(), !source);
    impl_->readSingly.assign(columns.size(), false);
    impl_->indexes.resize(columns.size());
    impl_->columns = std::move(columns);
    impl_->source = std::move(source);
    impl_->selected = !impl_->source;
    if (!impl_->source) {
        for (std::size_t c = 0; c < impl_->columns.size(); ++c) {
            impl_->filling.push_back(c);
        }
    }
}

Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

const std::string& Table::name() const {
    return impl_->name;
}
const std::vector<ColumnInfo>& Table::columns() const {
    return impl_->columns;
}

std::optional<std::size_t> Table::columnIndex(std::string_view name) const {
    const std::string wanted = foldCase(name);
    for (std::size_t i = 0; i < impl_->columns.size(); ++i) {
        if (foldCase(impl_->columns[i].name) == wanted) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t Table::rowCount() const {
    impl_->select();
    return impl_->rows;
}

Value Table::value(std::size_t row, std::size_t column) const {
    impl_->select();
    if (row >= impl_->rows || column >= impl_->data.size()) {
        throw Error(msg::cellOutOfRange(impl_->name, row, column));
    }
    if (!impl_->loaded[column]) {
        return impl_->unloadedValue(row, column);
    }
    return impl_->data[column].get(row);
}

void Table::loadColumns(std::span<const std::size_t> columns) const {
    for (std::size_t column : columns) {
        impl_->checkColumn(column);
    }
    impl_->load(std::vector<std::size_t>(columns.begin(), columns.end()), {});
}

const ColumnStore& Table::store(std::size_t column) const {
    loadColumns(std::span<const std::size_t>(&column, 1));
    return impl_->data[column];
}

const ColumnIndex& Table::equalityIndex(std::size_t column) const {
    const ColumnStore& values = store(column);
    auto& index = impl_->indexes[column];
    if (!index) {
        index = std::make_unique<ColumnIndex>(values, impl_->rows);
    }
    return *index;
}

void Table::reserve(std::size_t rows) {
    impl_->reserve(rows);
}

void Table::appendRow(std::span<const Value> row) {
    if (row.size() != impl_->filling.size() || impl_->nextColumn != 0) {
        throw Error(msg::rowSizeMismatch(impl_->name, row.size(), impl_->columns.size()));
    }
    for (const Value& value : row) {
        impl_->appendCell(value);
    }
    impl_->endRow();
}

void Table::appendCell(const Value& value) {
    impl_->appendCell(value);
}

void Table::appendTextCell(std::string_view text) {
    impl_->appendTextCell(text);
}

void Table::appendIntegerCell(std::int64_t value) {
    impl_->appendIntegerCell(value);
}

void Table::endRow() {
    impl_->endRow();
}

void Table::shrinkToFit() {
    for (ColumnStore& column : impl_->data) {
        column.shrink();
    }
}

unsigned Table::valueKinds(std::size_t column) const {
    return store(column).kinds();
}

void Table::learnKinds(std::span<const KindQuestion> questions) const {
    for (const KindQuestion& question : questions) {
        impl_->checkColumn(question.column);
    }
    if (!impl_->source) {
        return;
    }
    if (impl_->answersFromRows()) {
        std::vector<std::size_t> columns;
        for (const KindQuestion& question : questions) {
            columns.push_back(question.column);
        }
        impl_->load(std::move(columns), {});
        return;
    }
    if (!impl_->selected && impl_->source->learnsInFirstLoad(questions)) {
        impl_->load({}, questions);
    }
}

bool Table::holdsKinds(std::size_t column, unsigned kinds) const {
    impl_->checkColumn(column);
    if (impl_->answersFromRows()) {
        return (valueKinds(column) & kinds) != 0;
    }
    return impl_->source->holdsKinds(column, kinds);
}

Value Table::firstOfKinds(std::size_t column, unsigned kinds) const {
    impl_->checkColumn(column);
    if (!impl_->answersFromRows()) {
        return impl_->source->firstOfKinds(column, kinds);
    }
    const ColumnStore& values = store(column);
    if ((values.kinds() & kinds) != 0) {
        for (std::size_t row = 0; row < impl_->rows; ++row) {
            Value v = values.get(row);
            if (!v.isNull() && (kindBit(v.kind()) & kinds) != 0) {
                return v;
            }
        }
    }
    return Value();
}

std::size_t Table::memoryBytes() const {
    std::size_t bytes = impl_->data.capacity() * sizeof(ColumnStore);
    for (const ColumnStore& column : impl_->data) {
        bytes += column.heapBytes();
    }
    for (const auto& index : impl_->indexes) {
        bytes += index ? index->memoryBytes() : 0;
    }
    return bytes;
}

}  // namespace planora::db
