#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/safe_writer.h"

namespace planora::jet {

// The file being written, page by page, through the safe writer: pages are numbered as they
// are handed out and may be written in any order; the file replaces its target at commit().
class PageFile {
  public:
    explicit PageFile(const std::filesystem::path& target);

    // The first of `count` new pages. Throws planora::Error when the file would pass 2 GB.
    std::uint32_t allocate(std::uint32_t count = 1);
    // Whole pages from `first` on.
    void write(std::uint32_t first, std::string_view pages);
    std::uint32_t pageCount() const { return next_; }
    const std::filesystem::path& target() const { return file_.target(); }
    void commit();

  private:
    files::SafeFile file_;
    std::uint32_t next_ = 0;
};

// A page of rows: data, long values or usage maps, after a header that names the owner.
class RowPage {
  public:
    explicit RowPage(std::string_view owner);  // 4 bytes
    bool fits(std::size_t rowBytes) const;
    std::size_t add(std::string_view row);  // the row's number on the page
    bool empty() const { return rows_ == 0; }
    const std::string& bytes() const { return page_; }

  private:
    std::size_t freeBytes() const;
    std::string page_;
    std::size_t rows_ = 0;
    std::size_t top_;  // where the last row added begins
};

// The row pages of one owner, in the order of their numbers: rows go to the page being filled
// until it is full; full pages are written at once.
class RowPageStream {
  public:
    RowPageStream(PageFile& file, std::string owner);
    // The row's pointer. The row must fit an empty page (kMostRowBytes).
    std::uint32_t add(std::string_view row);
    // Starts the next row on a new page, so that a row of kMostRowBytes fits.
    void flush();
    const std::vector<std::uint32_t>& pages() const { return pages_; }

  private:
    PageFile& file_;
    std::string owner_;
    RowPage page_;
    std::vector<std::uint32_t> pages_;
};

// The owner field of a data page of the table defined at that page, and of long value pages.
std::string ownerOf(std::uint32_t definitionPage);
inline const std::string kLongValueOwner = "LVAL";

// The usage map of these pages (ascending), as a row: the inline kind when they lie within
// kInlineMapPages of each other, else the kind that lists map pages, which are written here.
std::string usageMap(PageFile& file, const std::vector<std::uint32_t>& pages);

}  // namespace planora::jet
