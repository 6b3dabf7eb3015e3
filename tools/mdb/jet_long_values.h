#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mdb/jet_pages.h"

namespace planora::jet {

// The long values (memo and OLE) of one column: a value of up to 64 bytes stays in its row; a
// longer one goes to a row of an "LVAL" page, or, when it does not fit one page, to a chain of
// rows, each starting with the pointer to the next (0 for the last).
class LongValueStore {
  public:
    explicit LongValueStore(PageFile& file) : rows_(file, kLongValueOwner) {}

    // The field of the row: the length with the kind in its top bits, the pointer to the first
    // row of the value, four zero bytes, and the value itself when it stays inline.
    std::string field(std::string_view stored);
    // The bytes that field takes in the row.
    static std::size_t fieldBytes(std::size_t storedBytes);
    void flush() { rows_.flush(); }
    const std::vector<std::uint32_t>& pages() const { return rows_.pages(); }

  private:
    std::uint32_t chain(std::string_view stored);
    RowPageStream rows_;
};

}  // namespace planora::jet
