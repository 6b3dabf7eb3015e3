#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/table.h"
#include "db/value.h"

namespace planora::db {

// A dynaset over a loaded table: the rows that an SQL text selected, in its order, and a
// current record moved only by the finds. Copies have their own current record.
class RecordSet {
  public:
    RecordSet();  // closed
    ~RecordSet();
    RecordSet(const RecordSet&);
    RecordSet& operator=(const RecordSet&);
    RecordSet(RecordSet&&) noexcept;
    RecordSet& operator=(RecordSet&&) noexcept;

    // The Sort property, e.g. "[NumeroCamera]" or "NumeroCamera Desc, Nome"; it applies to the
    // record set that openRecordset() makes next.
    void setSort(std::string sortText);
    const std::string& sort() const;
    // The same records ordered by the sort text (a stable sort: ties keep their order).
    RecordSet openRecordset() const;

    // Move to the first / next after the current / last record that satisfies the criteria;
    // when none does the current record stays and noMatch() is true. Criteria are expressions
    // of the SQL dialect; a malformed one or an unknown field throws planora::Error.
    void findFirst(std::string_view criteria);
    void findNext(std::string_view criteria);
    void findLast(std::string_view criteria);
    bool noMatch() const;

    // A field of the current record by name, without regard to case. Throws planora::Error
    // naming the field and the table when there is no such field or no current record.
    Value field(std::string_view name) const;

    bool hasCurrent() const;
    std::size_t recordCount() const;
    const std::vector<ColumnInfo>& columns() const;
    bool isOpen() const;
    void close();

    struct State;  // defined by the record access layer

    explicit RecordSet(std::shared_ptr<State> state);

  private:
    std::shared_ptr<State> state_;  // shared rows and indexes
    std::ptrdiff_t current_ = -1;   // position in the record set, -1 before the first
    bool noMatch_ = false;
    std::string sort_;

    const State& open() const;
    // Moves to the first match from position start on, forwards or backwards.
    void seek(std::string_view criteria, std::ptrdiff_t start, bool forward);
};

}  // namespace planora::db
