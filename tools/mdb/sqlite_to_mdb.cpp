#include "tools/mdb/sqlite_to_mdb.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "db/backend.h"
#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/mdb_messages.h"
#include "messages/messages.h"
#include "tools/mdb/jet_format.h"
#include "tools/mdb/jet_long_values.h"
#include "tools/mdb/jet_row.h"
#include "tools/mdb/jet_values.h"
#include "tools/mdb/jet_writer.h"

namespace planora::jet {

namespace fs = std::filesystem;

namespace {

using Kind = db::Value::Kind;

bool fitsLongInteger(const db::Value& value) {
    return value.kind() != Kind::Real &&
           (value.kind() != Kind::Integer ||
            (value.asInteger() >= std::numeric_limits<std::int32_t>::min() &&
             value.asInteger() <= std::numeric_limits<std::int32_t>::max()));
}

// Characters of a UTF-8 text: the bytes that do not continue a sequence.
std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool anyValue(const db::Table& table, std::size_t column,
              const std::function<bool(const db::Value&)>& test) {
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        if (test(table.value(row, column))) {
            return true;
        }
    }
    return false;
}

// The first choice for the declared type, then wider when a value needs it.
Column columnFor(const db::Table& table, std::size_t index, std::vector<std::string>& notes) {
    const db::ColumnInfo& info = table.columns()[index];
    Column column{info.name, ColumnType::Text};
    auto note = [&](ColumnType wider, std::string line) {
        column.type = wider;
        notes.push_back(std::move(line));
    };
    switch (info.type) {
        case db::ColumnType::Integer:
            column.type = ColumnType::LongInteger;
            if (anyValue(table, index, [](const db::Value& v) { return !fitsLongInteger(v); })) {
                note(ColumnType::Double, msg::mdbwriteDoubleInstead(table.name(), info.name));
            }
            break;
        case db::ColumnType::Real:
            column.type = ColumnType::Double;
            break;
        case db::ColumnType::Currency:
            column.type = ColumnType::Currency;
            break;
        case db::ColumnType::DateTime:
            column.type = ColumnType::DateTime;
            break;
        case db::ColumnType::Boolean:
            column.type = ColumnType::YesNo;
            if (anyValue(table, index, [](const db::Value& v) { return v.isNull(); })) {
                note(ColumnType::Integer, msg::mdbwriteIntegerInstead(table.name(), info.name));
            }
            break;
        case db::ColumnType::Binary:
            column.type = ColumnType::OleObject;
            break;
        case db::ColumnType::Text:
            if (anyValue(table, index, [](const db::Value& v) {
                    return v.kind() == Kind::Text && characters(v.asText()) > 255;
                })) {
                note(ColumnType::Memo, msg::mdbwriteMemoInstead(table.name(), info.name));
            }
            break;
    }
    return column;
}

// The bytes of the row as the writer would store it, or 0 when a value is refused (the
// writer reports it).
std::size_t rowBytes(const TableLayout& layout, const std::vector<db::Value>& row) {
    try {
        return encodeRow(layout, row,
                         [](std::size_t, std::string_view stored) {
                             return std::string(LongValueStore::fieldBytes(stored.size()), '\0');
                         })
            .size();
    } catch (const FieldRejected&) {
        return 0;
    }
}

// The Text column whose value takes the most room in the row, if any.
std::optional<std::size_t> widestText(const std::vector<Column>& columns,
                                      const std::vector<db::Value>& row) {
    std::optional<std::size_t> widest;
    std::size_t widestBytes = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].type == ColumnType::Text && row[c].kind() == Kind::Text &&
            row[c].asText().size() >= widestBytes) {
            widest = c;
            widestBytes = row[c].asText().size();
        }
    }
    return widest;
}

// Rows too wide for a page move their widest texts to Memo columns, which keep 12 bytes in
// the row. Only rows whose texts could take two bytes per UTF-8 byte and still not fit are
// measured exactly.
void fitRowsToPages(const db::Table& table, std::vector<Column>& columns,
                    std::vector<std::string>& notes) {
    std::vector<db::Value> row(columns.size());
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        std::size_t bound = 8 + 4 * columns.size();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            row[c] = table.value(r, c);
            bound += row[c].kind() == Kind::Text ? 2 * row[c].asText().size() + 12 : 8;
        }
        if (bound <= kMostRowBytes) {
            continue;
        }
        while (rowBytes(layoutOf(columns), row) > kMostRowBytes) {
            const auto widest = widestText(columns, row);
            if (!widest) {
                break;  // the writer reports the row
            }
            columns[*widest].type = ColumnType::Memo;
            notes.push_back(msg::mdbwriteMemoInstead(table.name(), columns[*widest].name));
        }
    }
}

bool hasExtension(const fs::path& file, std::string_view extension) {
    return db::foldCase(file.extension().string()) == extension;
}

std::vector<fs::path> folderEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    if (error) {
        throw Error(msg::mdbwriteCannotList(folder, msg::systemReason(error.value())));
    }
    std::ranges::sort(entries);
    return entries;
}

}  // namespace

std::vector<Column> accessColumnsFor(const db::Table& table, std::vector<std::string>& notes) {
    std::vector<Column> columns;
    for (std::size_t c = 0; c < table.columns().size(); ++c) {
        columns.push_back(columnFor(table, c, notes));
    }
    fitRowsToPages(table, columns, notes);
    return columns;
}

CopyCount writeMdbCopy(const fs::path& sqliteFile, const fs::path& mdbFile,
                       const db::DateTime& created, std::vector<std::string>& notes) {
    const auto source = db::openSqliteBackend(sqliteFile);
    DatabaseWriter writer(mdbFile, created);
    CopyCount count;
    for (const std::string& name : source->tableNames()) {
        if (db::foldCase(name).starts_with("sqlite_")) {
            continue;
        }
        const db::TablePtr table = source->loadTable(name);
        TableWriter& out = writer.addTable(table->name(), accessColumnsFor(*table, notes));
        std::vector<db::Value> row(table->columns().size());
        for (std::size_t r = 0; r < table->rowCount(); ++r) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                row[c] = table->value(r, c);
            }
            out.addRow(row);
        }
        ++count.tables;
        count.rows += table->rowCount();
    }
    writer.finish();
    return count;
}

void writeMdbFolder(const fs::path& source, const fs::path& target, const db::DateTime& created,
                    const std::function<void(const std::string&)>& report) {
    std::error_code error;
    if (!fs::is_directory(source, error)) {
        throw Error(msg::mdbwriteNoFolder(source));
    }
    fs::create_directories(target);
    if (fs::equivalent(source, target)) {
        throw Error(msg::mdbwriteSameFolder(source));
    }
    const std::vector<fs::path> entries = folderEntries(source);
    std::vector<std::pair<std::string, fs::path>> written;  // folded name, written from
    for (const fs::path& entry : entries) {
        if (fs::is_regular_file(entry, error) && hasExtension(entry, ".sqlite")) {
            const std::string name = entry.stem().string() + ".mdb";
            const fs::path mdb = files::fileNoCase(target, name);
            std::vector<std::string> notes;
            const CopyCount count = writeMdbCopy(entry, mdb, created, notes);
            report(msg::mdbwriteWrote(entry, mdb, count.tables, count.rows));
            std::ranges::for_each(notes, report);
            written.emplace_back(db::foldCase(name), entry);
        }
    }
    for (const fs::path& entry : entries) {
        const std::string name = entry.filename().string();
        const auto replaced =
            std::ranges::find(written, db::foldCase(name), [](const auto& w) { return w.first; });
        if (fs::is_directory(entry, error)) {
            report(msg::mdbwriteFolderSkipped(entry));
        } else if (hasExtension(entry, ".sqlite")) {
            continue;
        } else if (replaced != written.end()) {
            report(msg::mdbwriteNotCopied(entry, replaced->second));
        } else {
            files::writeFileSafely(files::fileNoCase(target, name), files::readFile(entry));
            report(msg::mdbwriteCopied(entry));
        }
    }
}

}  // namespace planora::jet
