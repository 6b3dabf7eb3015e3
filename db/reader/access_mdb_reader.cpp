#include "db/reader/access_mdb_reader.h"

#include "db/reader/data_pages.h"
#include "db/reader/file_image.h"
#include "db/reader/row_fields.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "db/access_dates.h"
#include "db/access_text.h"
#include "db/file_version.h"
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

// Files up to this size are read into memory with one read and opened from there: libmdb then
// takes the pages it reads itself (the table list, the table definitions, the rows found by
// address) from memory, where from a file it makes three system calls for each.
constexpr std::uint64_t kFileInMemoryBytes = std::uint64_t{128} << 10;

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

// A field that holds bytes within the page: not Null, nor placed out of the page.
bool onPage(MdbHandle* mdb, const MdbField& f) {
    return !f.is_null && f.start >= 0 && f.siz >= 0 && f.start + f.siz <= mdb->fmt->pg_size;
}

// Fixed-size values come straight from the row bytes, so that numbers are exact and never
// pass through printf; text goes through libmdb's code page conversion.
Value fieldValue(MdbHandle* mdb, const MdbColumn& col, const MdbField& f) {
    if (col.col_type == MDB_BOOL) {
        return Value::boolean(!f.is_null);  // a yes/no field lives in the null mask
    }
    if (!onPage(mdb, f)) {
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

// The value of a column in the row split last.
Value columnValue(MdbTableDef* table, const RowFields& row, std::size_t column) {
    return fieldValue(table->entry->mdb, columnAt(table, column), row.field(column));
}

// Splits row r of the data page in the page buffer: false for a row that is deleted, empty or
// not a valid one.
bool crackRow(MdbTableDef* table, const RowSplitter& splitter, int r, RowFields& row) {
    constexpr int kOffsetMask = 0x1fff;
    constexpr int kDeleted = 0x4000;
    int start = 0;
    std::size_t size = 0;
    return mdb_find_row(table->entry->mdb, r, &start, &size) == 0 && size != 0 &&
           (start & kDeleted) == 0 && splitter.split(start & kOffsetMask, size, row);
}

// A Jet 4 text field kept compressed as plain ASCII: its characters where they lie on the
// page, which are the UTF-8 that fieldValue makes of them. None for any other field.
std::optional<std::string_view> asciiAsStored(MdbTableDef* table, const RowFields& row,
                                              std::size_t column) {
    MdbHandle* mdb = table->entry->mdb;
    if (!IS_JET4(mdb) || columnAt(table, column).col_type != MDB_TEXT) {
        return std::nullopt;
    }
    const MdbField& f = row.field(column);
    if (!onPage(mdb, f)) {
        return std::nullopt;
    }
    return plainAsciiJet4Text(
        {reinterpret_cast<const char*>(mdb->pg_buf) + f.start, static_cast<std::size_t>(f.siz)});
}

int rowsOnPage(MdbHandle* mdb) {
    return mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
}

// Where a row lives: its data page and its place on the page.
std::uint64_t rowAddress(std::uint32_t page, int r) {
    return (std::uint64_t{page} << 16) | static_cast<std::uint16_t>(r);
}

// Each row of the table in libmdb's order, cracked once, with its address: the rows of each
// data page of the table that crackRow takes, as mdb_fetch_row gives them.
template <typename EachRow>
void forEachRow(MdbTableDef* table, std::span<const unsigned char> image, RowFields& row,
                const EachRow& eachRow) {
    if (table->num_cols == 0) {
        return;
    }
    DataPages pages(table, image);
    const RowSplitter splitter(table);
    while (pages.next()) {
        const int rows = rowsOnPage(table->entry->mdb);
        for (int r = 0; r < rows; ++r) {
            if (crackRow(table, splitter, r, row)) {
                eachRow(rowAddress(pages.page(), r));
            }
        }
    }
}

// Cracks the row at an address that forEachRow gave: false when that page is no longer a data
// page of the table or the row is gone.
bool crackRowAt(MdbTableDef* table, const RowSplitter& splitter, std::uint64_t address,
                RowFields& row) {
    MdbHandle* mdb = table->entry->mdb;
    constexpr unsigned char kDataPage = 0x01;
    constexpr int kOwnerOffset = 4;
    const auto page = static_cast<unsigned long>(address >> 16);
    const int r = static_cast<int>(address & 0xffff);
    if (page == 0 || address >> 48 != 0 ||
        mdb_read_pg(mdb, page) != static_cast<ssize_t>(mdb->fmt->pg_size) ||
        mdb->pg_buf[0] != kDataPage ||
        static_cast<unsigned long>(mdb_get_int32(mdb->pg_buf, kOwnerOffset)) !=
            table->entry->table_pg ||
        r >= rowsOnPage(mdb)) {
        return false;
    }
    return crackRow(table, splitter, r, row);
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
            const sql::ExprPtr expr = sql::parseCriteria(where);
            const sql::ColumnResolver resolver = columnResolver(shape);
            bound_.emplace(*expr, resolver, sql::SubqueryRunner{});
            collectTerms(*expr, resolver);
        } catch (...) {
            bound_.reset();
            terms_.clear();
        }
    }

    bool active() const { return bound_.has_value(); }

    bool keeps() {
        std::fill(values_.begin(), values_.end(), std::nullopt);
        for (const Term& term : terms_) {
            const std::optional<bool> quick = failsAsStored(term);
            if (quick ? *quick : term.fails(value(term.column))) {
                return false;
            }
        }
        try {
            return bound_->matches(reader_);
        } catch (...) {
            return true;
        }
    }

  private:
    // A comparison of a field with a literal joined by And at the top of the Where: a row on
    // which it is false or unknown (a Null) cannot match, and is turned away without the
    // whole evaluation. (A Where that may fail on a row is never sent here.)
    struct Term {
        std::size_t column;
        sql::Expr::CompareOp op;
        Value literal;
        bool fieldFirst;

        bool fails(const Value& field) const {
            if (field.isNull() || literal.isNull()) {
                return true;
            }
            const auto c =
                fieldFirst ? compareValues(field, literal) : compareValues(literal, field);
            return c && !holds(*c);
        }
        bool holds(int c) const {
            switch (op) {
                case sql::Expr::CompareOp::Eq:
                    return c == 0;
                case sql::Expr::CompareOp::Ne:
                    return c != 0;
                case sql::Expr::CompareOp::Lt:
                    return c < 0;
                case sql::Expr::CompareOp::Le:
                    return c <= 0;
                case sql::Expr::CompareOp::Gt:
                    return c > 0;
                case sql::Expr::CompareOp::Ge:
                    return c >= 0;
            }
            return true;
        }
    };

    void collectTerms(const sql::Expr& e, const sql::ColumnResolver& resolver) {
        using Kind = sql::Expr::Kind;
        if (e.kind == Kind::And) {
            collectTerms(*e.children[0], resolver);
            collectTerms(*e.children[1], resolver);
            return;
        }
        if (e.kind != Kind::Compare) {
            return;
        }
        const bool fieldFirst = e.children[0]->kind == Kind::Field;
        const sql::Expr& field = *e.children[fieldFirst ? 0 : 1];
        const sql::Expr& literal = *e.children[fieldFirst ? 1 : 0];
        std::size_t column = 0;
        if (field.kind == Kind::Field && literal.kind == Kind::Literal &&
            resolver(field.name, column)) {
            terms_.push_back({column, e.op, literal.literal, fieldFirst});
        }
    }

    // A Jet 4 text field held as plain ASCII is compared with a text as it lies on the page,
    // without the value made of it: in a scan most rows are turned away on a date or a code
    // kept as text. Whether the term fails; none when the field is not such a text.
    std::optional<bool> failsAsStored(const Term& term) const {
        if (term.literal.kind() != Value::Kind::Text) {
            return std::nullopt;
        }
        const auto ascii = asciiAsStored(table_, row_, term.column);
        if (!ascii) {
            return std::nullopt;
        }
        const std::string& literal = term.literal.asText();
        return !term.holds(term.fieldFirst ? compareText(*ascii, literal)
                                           : compareText(literal, *ascii));
    }

    const Value& value(std::size_t column) {
        auto& v = values_[column];
        if (!v) {
            v = columnValue(table_, row_, column);
        }
        return *v;
    }

    MdbTableDef* table_;
    const RowFields& row_;
    std::optional<sql::BoundExpr> bound_;
    std::vector<Term> terms_;
    std::vector<std::optional<Value>> values_;
    const sql::RowReader reader_ = [this](std::size_t column) { return value(column); };
};

// What a read with a Where saw of the whole table: the first value of each column that is not
// Null, for the type checks of the record access layer.
class FirstValues {
  public:
    explicit FirstValues(std::size_t columns) : values_(columns) {
        for (std::size_t c = 0; c < columns; ++c) {
            missing_.push_back(c);
        }
    }

    // Columns Null in every row so far are looked at in each row; the others no more.
    void see(MdbTableDef* table, const RowFields& row) {
        std::erase_if(missing_, [&](std::size_t c) {
            if (!row.field(c).is_null || columnAt(table, c).col_type == MDB_BOOL) {
                values_[c] = columnValue(table, row, c);
            }
            return !values_[c].isNull();
        });
    }
    const std::vector<Value>& values() const { return values_; }

  private:
    std::vector<Value> values_;
    std::vector<std::size_t> missing_;
};

// A cell of the row split last, onto the stream: a text kept as plain ASCII as it lies on the
// page, any other field as its value.
void writeCell(StreamWriter& out, MdbTableDef* table, const RowFields& row, std::size_t column) {
    if (const auto ascii = asciiAsStored(table, row, column)) {
        out.textCell(*ascii);
    } else {
        out.cell(columnValue(table, row, column));
    }
}

// Every cell of the row split last, in column order.
void writeRow(StreamWriter& out, MdbTableDef* table, const RowFields& row) {
    out.beginRow();
    for (std::size_t c = 0; c < table->num_cols; ++c) {
        writeCell(out, table, row, c);
    }
    out.endRow();
}

void streamRows(MdbTableDef* table, std::span<const unsigned char> image, const std::string& where,
                StreamWriter& out) {
    RowFields row(table->num_cols);
    RowFilter filter(table, row, where);
    FirstValues first(table->num_cols);
    std::uint64_t read = 0;
    std::uint64_t sent = 0;
    forEachRow(table, image, row, [&](std::uint64_t) {
        ++read;
        if (filter.active()) {
            first.see(table, row);
            if (!filter.keeps()) {
                return;
            }
        }
        writeRow(out, table, row);
        ++sent;
    });
    if (filter.active()) {
        out.tableScan(read, first.values());
    }
    out.tableEnd(sent);
}

// The values of some columns of every row, and the row's address after them.
void streamColumns(MdbTableDef* table, std::span<const unsigned char> image,
                   const std::vector<std::size_t>& columns, StreamWriter& out) {
    RowFields row(table->num_cols);
    std::uint64_t sent = 0;
    forEachRow(table, image, row, [&](std::uint64_t address) {
        out.beginRow();
        for (const std::size_t column : columns) {
            writeCell(out, table, row, column);
        }
        out.cell(Value::integer(static_cast<std::int64_t>(address)));
        out.endRow();
        ++sent;
    });
    out.tableEnd(sent);
}

// Every column of the rows at these addresses that are still there, in order.
void streamRowsAt(MdbTableDef* table, const std::vector<std::uint64_t>& addresses,
                  StreamWriter& out) {
    RowFields row(table->num_cols);
    const RowSplitter splitter(table);
    std::uint64_t sent = 0;
    for (const std::uint64_t address : addresses) {
        if (table->num_cols == 0 || !crackRowAt(table, splitter, address, row)) {
            continue;
        }
        writeRow(out, table, row);
        ++sent;
    }
    out.tableEnd(sent);
}

bool validColumns(MdbTableDef* table, const std::vector<std::size_t>& columns) {
    return std::all_of(columns.begin(), columns.end(),
                       [&](std::size_t c) { return c < table->num_cols; });
}

void streamTable(MdbTableDef* table, std::span<const unsigned char> image,
                 const ReadRequest& request, StreamWriter& out) {
    const char* name = table->entry->object_name;
    if (request.columns && !validColumns(table, *request.columns)) {
        out.tableFailed(name, msg::accessTableUnreadable());
        return;
    }
    std::vector<ColumnInfo> columns = columnsOf(table);
    if (request.rows) {
        out.tableBegin(name, request.rows->size(), columns);
        streamRowsAt(table, *request.rows, out);
    } else if (request.columns) {
        std::vector<ColumnInfo> sent;
        for (std::size_t c : *request.columns) {
            sent.push_back(columns[c]);
        }
        sent.push_back({"", ColumnType::Integer});
        out.tableBegin(name, table->num_rows, sent);
        streamColumns(table, image, *request.columns, out);
    } else {
        out.tableBegin(name, table->num_rows, columns);
        streamRows(table, image, request.allTables ? std::string() : request.where, out);
    }
}

bool isUserTable(MdbCatalogEntry* entry) {
    return mdb_is_user_table(entry) && std::strncmp(entry->object_name, "MSys", 4) != 0;
}

}  // namespace

// The file libmdb has open, its user tables, and those of them read so far with their columns.
struct LibmdbReader::OpenFile {
    std::filesystem::path path;
    FileVersion version;
    FileImage image;  // of a file held in memory; outlives the handle
    MdbFile mdb;
    std::vector<MdbCatalogEntry*> entries;
    std::vector<std::string> names;
    std::vector<MdbTable> tables;  // by entry; null until read
    std::vector<bool> unreadable;

    // Opens the file from memory when it is small enough, else from the file.
    bool openFile() {
        image = FileImage::read(path, kFileInMemoryBytes);
        mdb.reset(image.empty() ? mdb_open(path.c_str(), MDB_NOFLAGS)
                                : mdb_open_buffer(image.data(), image.size(), MDB_NOFLAGS));
        return mdb != nullptr;
    }

    // The table of an entry with its columns; null when libmdb cannot read it.
    MdbTableDef* table(std::size_t i) {
        if (!tables[i] && !unreadable[i]) {
            MdbTable read(mdb_read_table(entries[i]));
            if (read && mdb_read_columns(read.get())) {
                tables[i] = std::move(read);
            } else {
                unreadable[i] = true;
            }
        }
        return tables[i].get();
    }
};

LibmdbReader::LibmdbReader() = default;
LibmdbReader::~LibmdbReader() = default;

// The file as opened for an earlier request while it has not changed since, else opened anew.
LibmdbReader::OpenFile* LibmdbReader::open(const std::filesystem::path& file, StreamWriter& out) {
    const auto version = versionOf(file);
    if (open_ && version && open_->path == file && open_->version == *version) {
        return open_.get();
    }
    open_.reset();
    auto opened = std::make_unique<OpenFile>();
    opened->path = file;
    if (!opened->openFile()) {
        out.fileFailed(msg::accessUnreadable());
        return nullptr;
    }
    MdbHandle* mdb = opened->mdb.get();
    if (!mdb_read_catalog(mdb, MDB_TABLE)) {
        out.fileFailed(msg::accessNoTableList());
        return nullptr;
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (isUserTable(entry)) {
            opened->entries.push_back(entry);
            opened->names.emplace_back(entry->object_name);
        }
    }
    opened->tables.resize(opened->entries.size());
    opened->unreadable.assign(opened->entries.size(), false);
    if (version) {
        opened->version = *version;
        open_ = std::move(opened);
        return open_.get();
    }
    once_ = std::move(opened);  // no version to check it by: used for this request only
    return once_.get();
}

void LibmdbReader::read(const std::filesystem::path& file, const ReadRequest& request,
                        StreamWriter& out) {
    once_.reset();
    if (!request.rows) {
        // A file written in place within one tick of its times looks unchanged: every read but
        // that of single rows (each checked by the program against what it read before) opens
        // the file anew, as a read made again after a change must.
        open_.reset();
    }
    OpenFile* opened = open(file, out);
    if (!opened) {
        out.done();
        return;
    }
    out.tableNames(opened->names);
    if (!request.table) {
        // The list opens the file: a table that brings the reader down after it leaves the
        // file's other tables readable.
        out.flush();
    }
    for (std::size_t i = 0; request.definitions && i < opened->entries.size(); ++i) {
        if (MdbTableDef* table = opened->table(i)) {
            out.tableDefinition(opened->names[i], table->num_rows, columnsOf(table));
        } else {
            out.tableFailed(opened->names[i], msg::accessTableUnreadable());
        }
    }
    bool streamed = false;
    for (std::size_t i = 0; i < opened->entries.size(); ++i) {
        if (request.allTables || (request.table && *request.table == opened->names[i])) {
            if (streamed) {
                out.flush();  // the tables before one that brings the reader down still count
            }
            if (MdbTableDef* table = opened->table(i)) {
                streamTable(table, opened->image.bytes(), request, out);
            } else {
                out.tableFailed(opened->names[i], msg::accessTableUnreadable());
            }
            streamed = true;
        }
    }
    out.done();
}

}  // namespace planora::db::access
