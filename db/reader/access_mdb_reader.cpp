#include "db/reader/access_mdb_reader.h"

// mdbtools.h includes glib.h inside extern "C", which C++ rejects: glib.h must come first.
#include <glib.h>
#include <mdbtools.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "db/access_dates.h"
#include "db/access_text.h"
#include "db/recordset_internal.h"
#include "db/sql.h"
#include "messages/db_messages.h"

namespace planora::db::access {

namespace {

static_assert(std::endian::native == std::endian::little, "Access files are little-endian");

// libmdb converts text into a buffer of the handle's bind size: enough for the 255 characters
// of a text field, and for the 65,535 characters of a memo, in any script.
constexpr std::size_t textBindBytes = 1024;
constexpr std::size_t memoBindBytes = 256 * 1024;

struct MdbCloser {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFreer {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
struct GFreer {
    void operator()(char* s) const { g_free(s); }
};
using MdbFile = std::unique_ptr<MdbHandle, MdbCloser>;
using MdbTable = std::unique_ptr<MdbTableDef, TableFreer>;
using GString = std::unique_ptr<char, GFreer>;

ColumnType columnTypeOf(int mdbType) {
    switch (mdbType) {
        case MDB_BOOL:
            return ColumnType::Boolean;
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return ColumnType::Integer;
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return ColumnType::Real;
        case MDB_MONEY:
            return ColumnType::Currency;
        case MDB_DATETIME:
            return ColumnType::DateTime;
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID:
            return ColumnType::Text;
        default:  // OLE objects and binary data: read as Null
            return ColumnType::Binary;
    }
}

template <typename T>
T load(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The text libmdb makes of a field (text, memo, GUID), as UTF-8.
Value convertedText(MdbHandle* mdb, int mdbType, const MdbField& f, std::size_t bindBytes) {
    mdb_set_bind_size(mdb, bindBytes);
    GString text(mdb_col_to_string(mdb, mdb->pg_buf, f.start, mdbType, f.siz));
    return text ? Value::text(text.get()) : Value();
}

Value numericValue(MdbHandle* mdb, const MdbColumn& col, const MdbField& f) {
    // The reader runs under the "C" locale, so the decimal separator is a dot.
    GString text(mdb_numeric_to_string(mdb, f.start, col.col_scale, col.col_prec));
    return text ? Value::real(std::strtod(text.get(), nullptr)) : Value();
}

// Fixed-size values come straight from the row bytes, so that numbers are exact and never
// pass through printf; text goes through libmdb's code page conversion.
Value fieldValue(MdbHandle* mdb, const MdbColumn& col, const MdbField& f) {
    if (col.col_type == MDB_BOOL) {
        return Value::boolean(!f.is_null);  // a yes/no field lives in the null mask
    }
    const auto pageSize = static_cast<int>(mdb->fmt->pg_size);
    if (f.is_null || f.start < 0 || f.siz < 0 || f.start + f.siz > pageSize) {
        return Value();
    }
    const unsigned char* p = mdb->pg_buf + f.start;
    auto fits = [&](std::size_t bytes) { return static_cast<std::size_t>(f.siz) >= bytes; };
    switch (col.col_type) {
        case MDB_BYTE:
            return fits(1) ? Value::integer(p[0]) : Value();
        case MDB_INT:
            return fits(2) ? Value::integer(load<std::int16_t>(p)) : Value();
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return fits(4) ? Value::integer(load<std::int32_t>(p)) : Value();
        case MDB_FLOAT:
            return fits(4) ? Value::real(load<float>(p)) : Value();
        case MDB_DOUBLE:
            return fits(8) ? Value::real(load<double>(p)) : Value();
        case MDB_MONEY:
            return fits(8) ? Value::currency(Currency{load<std::int64_t>(p)}) : Value();
        case MDB_DATETIME: {
            const auto date = fits(8) ? dateTimeFromAccessDays(load<double>(p)) : std::nullopt;
            return date ? Value::dateTime(*date) : Value();
        }
        case MDB_TEXT:
            if (IS_JET4(mdb)) {  // decoded here: iconv and a buffer a field cost much time
                return Value::text(utf8FromJet4Text(std::string_view(
                    reinterpret_cast<const char*>(p), static_cast<std::size_t>(f.siz))));
            }
            return f.siz == 0 ? Value::text({}) : convertedText(mdb, MDB_TEXT, f, textBindBytes);
        case MDB_MEMO:
            return convertedText(mdb, MDB_MEMO, f, memoBindBytes);
        case MDB_REPID:
            return fits(16) ? convertedText(mdb, MDB_REPID, f, textBindBytes) : Value();
        case MDB_NUMERIC:
            return fits(17) ? numericValue(mdb, col, f) : Value();
        default:
            return Value();
    }
}

std::vector<ColumnInfo> columnsOf(MdbTableDef* table) {
    std::vector<ColumnInfo> columns;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns.push_back({col->name, columnTypeOf(col->col_type)});
    }
    return columns;
}

const MdbColumn& columnAt(MdbTableDef* table, std::size_t column) {
    return *static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, column));
}

// The fields of one row: each column's field, once the row is cracked.
struct RowFields {
    std::vector<MdbField> fields;
    std::vector<const MdbField*> ofColumn;

    explicit RowFields(std::size_t columns) : fields(columns), ofColumn(columns) {}

    void index() {
        std::fill(ofColumn.begin(), ofColumn.end(), nullptr);
        for (const auto& f : fields) {
            if (f.colnum >= 0 && static_cast<std::size_t>(f.colnum) < ofColumn.size()) {
                ofColumn[static_cast<std::size_t>(f.colnum)] = &f;
            }
        }
    }
};

// Each row of the table in libmdb's order, cracked once: the rows of each data page of the
// table that are neither deleted nor empty and that libmdb can split into fields, as
// mdb_fetch_row gives them.
template <typename EachRow>
void forEachRow(MdbTableDef* table, RowFields& row, const EachRow& eachRow) {
    MdbHandle* mdb = table->entry->mdb;
    if (table->num_cols == 0) {
        return;
    }
    constexpr int kOffsetMask = 0x1fff;
    constexpr int kDeleted = 0x4000;
    mdb_rewind_table(table);
    while (mdb_read_next_dpg(table)) {
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rows; ++r) {
            int start = 0;
            std::size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0 || (start & kDeleted) != 0 ||
                mdb_crack_row(table, start & kOffsetMask, size, row.fields.data()) < 0) {
                continue;
            }
            row.index();
            eachRow();
        }
    }
}

// The Where of a read, evaluated on each row by the record access layer's own rules with the
// fields read as it needs them. A row on which it fails (values it cannot compare) is sent:
// the record access layer filters again and reports the failure. A Where that does not bind
// to the table sends every row.
class RowFilter {
  public:
    RowFilter(MdbTableDef* table, const RowFields& row, const std::string& where)
        : table_(table), row_(row), values_(table->num_cols) {
        if (where.empty()) {
            return;
        }
        // The fields are named as in a record set over the table.
        const Table shape(table->name, columnsOf(table));
        try {
            bound_.emplace(*sql::parseCriteria(where), columnResolver(shape),
                           sql::SubqueryRunner{});
        } catch (...) {
            bound_.reset();
        }
    }

    bool active() const { return bound_.has_value(); }

    bool keeps() {
        std::fill(values_.begin(), values_.end(), std::nullopt);
        try {
            return bound_->matches(reader_);
        } catch (...) {
            return true;
        }
    }

  private:
    Value value(std::size_t column) {
        auto& v = values_[column];
        if (!v) {
            const MdbField* f = row_.ofColumn[column];
            v = f ? fieldValue(table_->entry->mdb, columnAt(table_, column), *f) : Value();
        }
        return *v;
    }

    MdbTableDef* table_;
    const RowFields& row_;
    std::optional<sql::BoundExpr> bound_;
    std::vector<std::optional<Value>> values_;
    const sql::RowReader reader_ = [this](std::size_t column) { return value(column); };
};

// What a read with a Where saw of the whole table: the first value of each column that is not
// Null, for the type checks of the record access layer.
class FirstValues {
  public:
    explicit FirstValues(std::size_t columns) : values_(columns), missing_(columns) {}

    void see(MdbTableDef* table, const RowFields& row) {
        if (missing_ == 0) {
            return;
        }
        for (std::size_t c = 0; c < values_.size(); ++c) {
            const MdbField* f = row.ofColumn[c];
            if (values_[c].isNull() && f &&
                (!f->is_null || columnAt(table, c).col_type == MDB_BOOL)) {
                values_[c] = fieldValue(table->entry->mdb, columnAt(table, c), *f);
                missing_ -= values_[c].isNull() ? 0 : 1;
            }
        }
    }
    const std::vector<Value>& values() const { return values_; }

  private:
    std::vector<Value> values_;
    std::size_t missing_;
};

void streamRows(MdbTableDef* table, const std::string& where, StreamWriter& out) {
    MdbHandle* mdb = table->entry->mdb;
    RowFields row(table->num_cols);
    RowFilter filter(table, row, where);
    FirstValues first(table->num_cols);
    std::vector<Value> values(table->num_cols);
    std::uint64_t read = 0;
    std::uint64_t sent = 0;
    forEachRow(table, row, [&] {
        ++read;
        if (filter.active()) {
            first.see(table, row);
            if (!filter.keeps()) {
                return;
            }
        }
        for (std::size_t c = 0; c < values.size(); ++c) {
            const MdbField* f = row.ofColumn[c];
            values[c] = f ? fieldValue(mdb, columnAt(table, c), *f) : Value();
        }
        out.row(values);
        ++sent;
    });
    if (filter.active()) {
        out.tableScan(read, first.values());
    }
    out.tableEnd(sent);
}

void streamTable(MdbCatalogEntry* entry, const std::string& where, StreamWriter& out) {
    MdbTable table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get())) {
        out.tableFailed(entry->object_name, msg::accessTableUnreadable());
        return;
    }
    out.tableBegin(entry->object_name, table->num_rows, columnsOf(table.get()));
    streamRows(table.get(), where, out);
}

// A table's columns, or its failure.
void defineTable(MdbCatalogEntry* entry, StreamWriter& out) {
    MdbTable table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get())) {
        out.tableFailed(entry->object_name, msg::accessTableUnreadable());
        return;
    }
    out.tableDefinition(entry->object_name, columnsOf(table.get()));
}

bool isUserTable(MdbCatalogEntry* entry) {
    return mdb_is_user_table(entry) && std::strncmp(entry->object_name, "MSys", 4) != 0;
}

}  // namespace

void readWithLibmdb(const std::filesystem::path& file, const ReadRequest& request,
                    StreamWriter& out) {
    MdbFile mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb) {
        out.fileFailed(msg::accessUnreadable());
        out.done();
        return;
    }
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        out.fileFailed(msg::accessNoTableList());
        out.done();
        return;
    }
    std::vector<MdbCatalogEntry*> entries;
    std::vector<std::string> names;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (isUserTable(entry)) {
            entries.push_back(entry);
            names.emplace_back(entry->object_name);
        }
    }
    out.tableNames(names);
    if (request.definitions) {
        for (auto* entry : entries) {
            defineTable(entry, out);
        }
    }
    for (auto* entry : entries) {
        if (request.allTables || (request.table && *request.table == entry->object_name)) {
            streamTable(entry, request.allTables ? std::string() : request.where, out);
        }
    }
    out.done();
}

}  // namespace planora::db::access
