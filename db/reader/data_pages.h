#pragma once

// mdbtools.h includes glib.h inside extern "C", which C++ rejects: glib.h must come first.
#include <glib.h>
#include <mdbtools.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace planora::db::access {

// The data pages of a table in the order of its page usage map, as mdb_read_next_dpg gives
// them, read from the file a block of pages at a time: one read for many pages, where libmdb
// makes a size check, a seek and a read of each, and reads a page of the map again for each.
// A map of a kind not known has every page of the file looked at in turn, as libmdb does then.
// A file held in memory whole (`image`) has its pages taken from there.
class DataPages {
  public:
    DataPages(MdbTableDef* table, std::span<const unsigned char> image);

    // Puts the next data page of the table in the handle's page buffer; false after the last,
    // or when the file ends early.
    bool next();
    std::uint32_t page() const { return page_; }

  private:
    // The pages the usage map marks, in order; false for a map of a kind not known.
    bool readMap();
    // Reads up to `count` pages from `first` on; how many whole pages it read.
    std::size_t readPages(std::uint32_t first, std::size_t count, unsigned char* into);
    bool readPage(std::uint32_t page, unsigned char* into);
    std::size_t blockPagesAt(std::uint32_t page) const;
    // The page's bytes, in the image or in the block (read for it); null past the file's end.
    const unsigned char* pageAt(std::uint32_t page);
    bool load(std::uint32_t page);
    bool ofTheTable() const;

    MdbTableDef* table_;
    MdbHandle* mdb_;
    std::span<const unsigned char> image_;
    std::size_t pageBytes_;
    std::uint32_t page_ = 0;
    bool byMap_ = true;
    std::vector<std::uint32_t> mapped_;
    std::size_t nextMapped_ = 0;
    std::uint64_t filePages_ = 0;  // 0 when not known
    std::unique_ptr<unsigned char[]> block_;
    std::size_t blockCapacity_ = 0;  // pages
    std::uint32_t blockFirst_ = 0;
    std::uint32_t blockPages_ = 0;
    std::size_t blocksRead_ = 0;
};

}  // namespace planora::db::access
