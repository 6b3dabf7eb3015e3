#pragma once

// mdbtools.h includes glib.h inside extern "C", which C++ rejects: glib.h must come first.
#include <glib.h>
#include <mdbtools.h>

#include <cstdint>
#include <vector>

namespace planora::db::access {

// The data pages of a table in the order of its page usage map, as mdb_read_next_dpg gives
// them, read from the file a block of pages at a time: one read for many pages, where libmdb
// makes a size check, a seek and a read of each. A table whose map libmdb cannot follow has
// every page of the file looked at in turn, as libmdb does then.
class DataPages {
  public:
    explicit DataPages(MdbTableDef* table);

    // Puts the next data page of the table in the handle's page buffer; false after the last,
    // or when the file ends early.
    bool next();
    std::uint32_t page() const { return page_; }

  private:
    bool load(std::uint32_t page);
    bool ofTheTable() const;

    MdbTableDef* table_;
    MdbHandle* mdb_;
    std::size_t pageBytes_;
    std::uint32_t page_ = 0;
    bool byMap_ = true;
    std::vector<unsigned char> block_;
    std::uint32_t blockFirst_ = 0;
    std::uint32_t blockPages_ = 0;
};

}  // namespace planora::db::access
