#include <algorithm>

#include "db/quote.h"
#include "db/sqlite_table.h"

namespace planora::db::sqlite {

namespace {

bool isTable(const Connection& connection, const std::string& name) {
    const StatementHandle statement =
        connection.prepare("SELECT type = 'table' FROM sqlite_master WHERE name = ?1", name);
    sqlite3_bind_text(statement.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
    return connection.step(statement.get(), name) && sqlite3_column_int(statement.get(), 0) != 0;
}

}  // namespace

std::vector<ColumnInfo> TableShape::infos() const {
    std::vector<ColumnInfo> infos;
    for (const ColumnShape& column : columns) {
        infos.push_back(column.info);
    }
    return infos;
}

std::string TableShape::quotedColumn(std::size_t column) const {
    return quoteIdentifier(columns[column].info.name);
}

TableShape shapeOf(const Connection& connection, const std::string& table) {
    TableShape shape;
    shape.name = table;
    const StatementHandle statement =
        connection.prepare("SELECT * FROM " + quoteIdentifier(table), table);
    const int count = sqlite3_column_count(statement.get());
    for (int c = 0; c < count; ++c) {
        const char* declared = sqlite3_column_decltype(statement.get(), c);
        shape.columns.push_back({{sqlite3_column_name(statement.get(), c), columnTypeOf(declared)},
                                 affinityOf(declared)});
    }
    if (!isTable(connection, table)) {
        return shape;  // a view: its rows have no rowid
    }
    // A column of the table may take one of the rowid's names; the rowid keeps the others.
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
        const bool taken = std::any_of(
            shape.columns.begin(), shape.columns.end(),
            [&](const ColumnShape& column) { return foldCase(column.info.name) == alias; });
        if (taken) {
            continue;
        }
        sqlite3_stmt* probe = nullptr;
        const std::string text =
            std::string("SELECT ") + alias + " FROM " + quoteIdentifier(table) + " LIMIT 0";
        const int rc = sqlite3_prepare_v2(connection.handle(), text.c_str(), -1, &probe, nullptr);
        sqlite3_finalize(probe);
        if (rc == SQLITE_OK) {
            shape.rowid = alias;
        }
        break;
    }
    return shape;
}

}  // namespace planora::db::sqlite
