#pragma once

// The shared part of a record set: the rows it selected and the caches its finds build.
// Known to the record set and to the database that opens record sets.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/recordset.h"
#include "db/sql.h"
#include "db/table.h"

namespace planora::db {

// A criteria text parsed and bound once, with what an indexed find needs.
struct CompiledCriteria {
    sql::BoundExpr bound;
    // The "column = literal" terms joined by And at the top: a row can match only when all
    // hold. One of them, the most selective, is looked up in the column's index.
    std::vector<sql::BoundExpr::Equality> equalities;
    std::optional<std::size_t> indexed;  // which of the equalities; none: scan
    bool impossible = false;             // contradicting or Null equalities: nothing matches
    bool onlyEqualities = false;         // the equalities alone decide a match
    // The positions whose row holds every equality, ascending; made on first use.
    std::span<const std::uint32_t> candidates;
    std::vector<std::uint32_t> ownCandidates;
    bool candidatesResolved = false;

    CompiledCriteria(const sql::Expr& expr, const sql::ColumnResolver& columns,
                     const sql::SubqueryRunner& subqueries, sql::TextSource source);
};

struct RecordSet::State {
    TablePtr table;
    // The table rows in record set order, selected on first use.
    std::function<std::vector<std::uint32_t>()> select;
    sql::SubqueryRunner subqueries;
    std::filesystem::path file;  // the table's database file, for messages

    std::unordered_map<std::string, std::unique_ptr<CompiledCriteria>> criteria;
    // The program repeats one criteria text in a FindNext loop: the last one is at hand.
    std::string lastText;
    CompiledCriteria* last = nullptr;
    std::unordered_map<std::string, std::size_t> fieldCache;
    std::unordered_map<std::size_t, std::size_t> sampledDistinct;  // per column

    const std::vector<std::uint32_t>& rows();
    // Finds a column without regard to case; throws planora::Error naming field and table.
    std::size_t column(std::string_view name);
    CompiledCriteria& compile(std::string_view criteria);
    std::span<const std::uint32_t> candidates(CompiledCriteria& compiled);

  private:
    void chooseIndex(CompiledCriteria& compiled);
    std::size_t distinctInSample(std::size_t column);
    // The record set position of each table row (kNoPosition when not selected), and whether
    // positions grow with table rows.
    const std::vector<std::uint32_t>& positions();

    std::vector<std::uint32_t> rows_;
    bool selected_ = false;
    bool identity_ = false;  // rows_ is every table row in table order
    bool ascending_ = false;
    std::vector<std::uint32_t> positionOfRow_;
};

// Resolves field names on the table's columns without regard to case.
sql::ColumnResolver columnResolver(const Table& table);

// A record set state over the rows that `select` gives on first use.
std::shared_ptr<RecordSet::State> makeRecordSetState(
    TablePtr table, std::function<std::vector<std::uint32_t>()> select,
    sql::SubqueryRunner subqueries, std::filesystem::path file);
// Every row of the table, in table order.
std::vector<std::uint32_t> allRows(const Table& table);

// Refuses, as the Access engine does, a criteria that compares a field with a value, or two
// fields, of kinds that do not compare (a text with a number or a date), when the table holds
// such values: throws planora::Error naming the field, one such value, the criteria, the table
// and the file. SQLite keeps any kind in any column, so the kinds the rows hold decide: those
// of the whole table, whichever rows a record set selected.
void refuseMismatchedKinds(const sql::Expr& expr, const Table& table,
                           const sql::TextSource& source);

// True when evaluating the expression on a row may fail whatever the kind checks found: a
// sub-query, or a comparison of something other than fields and values. Such a Where is
// evaluated on every row at once, so that its failure shows when the statement is opened.
bool mayFailOnARow(const sql::Expr& expr);

// The columns of the table that the expression names, once each.
std::vector<std::size_t> fieldColumns(const sql::Expr& expr, const Table& table);

// "[A], B Desc" as order keys; throws planora::Error on a malformed text.
std::vector<sql::OrderKey> parseSortText(std::string_view text);

// The columns of the keys; throws planora::Error naming an unknown one, the table and its file.
std::vector<std::size_t> sortColumns(const Table& table, const std::vector<sql::OrderKey>& keys,
                                     const std::filesystem::path& file);

// Table rows ordered by the keys with the Access comparison, Null first; a stable sort.
// Throws planora::Error naming an unknown column, the table and its file.
void sortRows(const Table& table, std::vector<std::uint32_t>& rows,
              const std::vector<sql::OrderKey>& keys, const std::filesystem::path& file);

}  // namespace planora::db
