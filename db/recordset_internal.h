#pragma once

// The shared part of a record set: the rows it selected and the caches its finds build.
// Known to the record set and to the database that opens record sets.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/recordset.h"
#include "db/sql.h"
#include "db/table.h"

namespace planora::db {

// For each combination of values of some equality columns, the ascending positions in record
// set order of the rows that hold it. Values are reduced to per-column class ids (equal
// values, equal ids), and the positions of one combination lie together in one flat array.
class EqualityIndex {
  public:
    EqualityIndex(const Table& table, const std::vector<std::uint32_t>& rows,
                  const std::vector<std::size_t>& columns);
    // keys: the equalityKey of the wanted value of each column, in the index's column order.
    std::span<const std::uint32_t> lookup(const std::vector<std::string>& keys) const;

  private:
    // Combinations are built column by column: (combination so far, class of the next
    // column) -> combination including it. When the pairs are few enough to count through they
    // sit in a flat table (combination * stride + class), else in a hash map.
    class Step {
      public:
        Step(std::size_t combinations, std::size_t classes, std::size_t rows);
        std::uint32_t add(std::uint32_t combination, std::uint32_t nextClass);
        std::uint32_t find(std::uint32_t combination, std::uint32_t nextClass) const;
        std::size_t size() const { return size_; }

      private:
        std::size_t stride_;
        std::vector<std::uint32_t> flat_;  // empty when the hash map is used
        std::unordered_map<std::uint64_t, std::uint32_t> sparse_;
        std::uint32_t size_ = 0;
    };

    std::vector<std::unordered_map<std::string, std::uint32_t>> classOfKey_;  // per column
    std::vector<Step> steps_;
    std::vector<std::uint32_t> starts_;  // per combination, then the end
    std::vector<std::uint32_t> positions_;
};

// A criteria text parsed and bound once, with what an indexed find needs.
struct CompiledCriteria {
    sql::BoundExpr bound;
    std::vector<std::size_t> indexColumns;      // sorted, distinct; empty: no index, scan
    std::vector<std::string> indexKeys;         // the wanted equalityKey of each index column
    bool impossible = false;                    // contradicting or Null equalities: nothing matches
    bool onlyEqualities = false;                // the index key alone decides a match
    std::span<const std::uint32_t> candidates;  // resolved on first use
    bool candidatesResolved = false;

    CompiledCriteria(const sql::Expr& expr, const sql::ColumnResolver& columns,
                     const sql::SubqueryRunner& subqueries, sql::TextSource source);
};

struct RecordSet::State {
    TablePtr table;
    std::vector<std::uint32_t> rows;  // table rows in record set order
    sql::SubqueryRunner subqueries;
    std::filesystem::path file;  // the table's database file, for messages

    std::unordered_map<std::string, std::unique_ptr<CompiledCriteria>> criteria;
    // The program repeats one criteria text in a FindNext loop: the last one is at hand.
    std::string lastText;
    CompiledCriteria* last = nullptr;
    std::map<std::vector<std::size_t>, EqualityIndex> indexes;
    std::unordered_map<std::string, std::size_t> fieldCache;

    // Finds a column without regard to case; throws planora::Error naming field and table.
    std::size_t column(std::string_view name);
    CompiledCriteria& compile(std::string_view criteria);
    std::span<const std::uint32_t> candidates(CompiledCriteria& compiled);
};

// Resolves field names on the table's columns without regard to case.
sql::ColumnResolver columnResolver(const Table& table);

std::shared_ptr<RecordSet::State> makeRecordSetState(TablePtr table,
                                                     std::vector<std::uint32_t> rows,
                                                     sql::SubqueryRunner subqueries,
                                                     std::filesystem::path file);

// Refuses, as the Access engine does, a criteria that compares a field with a value, or two
// fields, of kinds that do not compare (a text with a number or a date), when the table holds
// such values: throws planora::Error naming the field, one such value, the criteria, the table
// and the file. SQLite keeps any kind in any column, so the kinds the rows hold decide.
void refuseMismatchedKinds(const sql::Expr& expr, const Table& table,
                           const sql::TextSource& source);

// "[A], B Desc" as order keys; throws planora::Error on a malformed text.
std::vector<sql::OrderKey> parseSortText(std::string_view text);

// Table rows ordered by the keys with the Access comparison, Null first; a stable sort.
// Throws planora::Error naming an unknown column, the table and its file.
void sortRows(const Table& table, std::vector<std::uint32_t>& rows,
              const std::vector<sql::OrderKey>& keys, const std::filesystem::path& file);

}  // namespace planora::db
