#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/sqlite_connection.h"
#include "db/table.h"

// Tables of an SQLite file read on demand: their shape, what is known of the kinds of values
// each column holds, and the sources that select and load their rows.
namespace planora::db::sqlite {

struct ColumnShape {
    ColumnInfo info;
    Affinity affinity = Affinity::Blob;
};

struct TableShape {
    std::string name;  // as stored
    std::vector<ColumnShape> columns;
    // The name the rowid goes by in this table, none for a view or a table without rowid.
    std::optional<std::string> rowid;

    std::vector<ColumnInfo> infos() const;
    std::string quotedColumn(std::size_t column) const;
};

TableShape shapeOf(const Connection& connection, const std::string& table);

// The values of the two kinds SQLite stores: numbers (integer, real) and texts (text, blob).
enum class Stored { Numbers, Texts };

// What the rows of a table hold, column by column, in the whole table: learnt from the column's
// type where SQLite guarantees it (a column of text affinity keeps no number), from the values
// a whole pass over the table saw, or else from a query that looks for one such value.
class ColumnKinds {
  public:
    ColumnKinds(std::shared_ptr<Connection> connection, std::shared_ptr<const TableShape> shape);

    // The condition that selects every row holding a value of that kind in the column.
    std::string holding(std::size_t column, Stored kind) const;
    // The kinds a pass over the table should look for, as conditions (see holding), to answer
    // these questions without a query of their own: kinds not known yet that the column's type
    // does not lead one to expect, which a query would look for through the whole table.
    std::vector<std::pair<std::size_t, Stored>> worthLearning(
        std::span<const KindQuestion> questions) const;
    // After a pass that selected every row holding that kind: whether it saw one.
    void learnt(std::size_t column, Stored kind, bool seen);
    // A value of that kind seen in the column.
    void saw(std::size_t column, Stored kind);

    // Table::holdsKinds and Table::firstOfKinds for the whole table.
    bool holds(std::size_t column, unsigned kinds);
    Value firstOf(std::size_t column, unsigned kinds);

  private:
    enum class Known : std::uint8_t { Unknown, Absent, Present };
    struct Facts {
        Known stored[2] = {Known::Unknown, Known::Unknown};
        // For a date column, the kinds its texts take once read: texts or dates.
        std::optional<unsigned> textKinds;
    };

    Known& fact(std::size_t column, Stored kind);
    bool holdsStored(std::size_t column, Stored kind);
    unsigned textKindsOfDateColumn(std::size_t column);

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<const TableShape> shape_;
    std::vector<Facts> facts_;
};

// A table of the file read on demand: every row, or with a condition (an SQLite expression)
// the rows it selects and every row that the kind questions of its first load look for.
TablePtr openTable(std::shared_ptr<Connection> connection, std::shared_ptr<const TableShape> shape,
                   std::shared_ptr<ColumnKinds> kinds, std::string condition);

}  // namespace planora::db::sqlite
