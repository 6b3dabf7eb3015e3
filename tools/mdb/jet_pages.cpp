#include "tools/mdb/jet_pages.h"

#include <utility>

#include "db/error.h"
#include "messages/mdb_messages.h"
#include "tools/mdb/jet_format.h"

namespace planora::jet {

PageFile::PageFile(const std::filesystem::path& target) : file_(target) {}

std::uint32_t PageFile::allocate(std::uint32_t count) {
    if (count > kMostPages - next_) {
        throw Error(msg::mdbFileTooLarge(target()));
    }
    const std::uint32_t first = next_;
    next_ += count;
    return first;
}

void PageFile::write(std::uint32_t first, std::string_view pages) {
    file_.writeAt(std::uint64_t{first} * kPageSize, pages);
}

void PageFile::commit() {
    file_.commit();
}

RowPage::RowPage(std::string_view owner) : page_(kPageSize, '\0'), top_(kPageSize) {
    page_[0] = static_cast<char>(PageType::Data);
    page_[1] = 0x01;
    page_.replace(kRowPageOwner, owner.size(), owner);
    putLittleEndian(page_, kRowPageFreeSpace, freeBytes(), 2);
}

std::size_t RowPage::freeBytes() const {
    return top_ - kRowPageOffsets - 2 * rows_;
}

bool RowPage::fits(std::size_t rowBytes) const {
    return rows_ < kMostRowsPerPage && rowBytes + 2 <= freeBytes();
}

std::size_t RowPage::add(std::string_view row) {
    top_ -= row.size();
    page_.replace(top_, row.size(), row);
    putLittleEndian(page_, kRowPageOffsets + 2 * rows_, top_, 2);
    ++rows_;
    putLittleEndian(page_, kRowPageRowCount, rows_, 2);
    putLittleEndian(page_, kRowPageFreeSpace, freeBytes(), 2);
    return rows_ - 1;
}

RowPageStream::RowPageStream(PageFile& file, std::string owner)
    : file_(file), owner_(std::move(owner)), page_(owner_) {}

std::uint32_t RowPageStream::add(std::string_view row) {
    if (!page_.fits(row.size())) {
        flush();
    }
    if (page_.empty()) {
        pages_.push_back(file_.allocate());
    }
    return rowPointer(pages_.back(), page_.add(row));
}

void RowPageStream::flush() {
    if (!page_.empty()) {
        file_.write(pages_.back(), page_.bytes());
        page_ = RowPage(owner_);
    }
}

std::string ownerOf(std::uint32_t definitionPage) {
    std::string owner;
    appendLittleEndian(owner, definitionPage, 4);
    return owner;
}

namespace {

void setBit(std::string& bitmap, std::size_t at, std::uint32_t bit) {
    bitmap[at + bit / 8] = static_cast<char>(bitmap[at + bit / 8] | (1 << (bit % 8)));
}

std::string inlineMap(const std::vector<std::uint32_t>& pages) {
    std::string map(kInlineMapBytes, '\0');
    const std::uint32_t start = pages.empty() ? 0 : pages.front();
    putLittleEndian(map, 1, start, 4);
    for (const std::uint32_t page : pages) {
        setBit(map, kInlineMapHeader, page - start);
    }
    return map;
}

// One map page for each stretch of kPagesPerMapPage pages up to the last page mapped; stretches
// without pages of the map get none (a zero in the list).
std::string pageListMap(PageFile& file, const std::vector<std::uint32_t>& pages) {
    const std::size_t stretches = pages.back() / kPagesPerMapPage + 1;
    std::string map(1 + 4 * stretches, '\0');
    map[0] = 0x01;
    auto page = pages.begin();
    for (std::size_t stretch = 0; stretch < stretches; ++stretch) {
        const std::uint32_t first = static_cast<std::uint32_t>(stretch) * kPagesPerMapPage;
        if (page == pages.end() || *page >= first + kPagesPerMapPage) {
            continue;
        }
        std::string bitmap(kPageSize, '\0');
        bitmap[0] = static_cast<char>(PageType::UsageMap);
        bitmap[1] = 0x01;
        for (; page != pages.end() && *page < first + kPagesPerMapPage; ++page) {
            setBit(bitmap, kMapPageHeader, *page - first);
        }
        const std::uint32_t mapPage = file.allocate();
        file.write(mapPage, bitmap);
        putLittleEndian(map, 1 + 4 * stretch, mapPage, 4);
    }
    return map;
}

}  // namespace

std::string usageMap(PageFile& file, const std::vector<std::uint32_t>& pages) {
    if (pages.empty() || pages.back() - pages.front() < kInlineMapPages) {
        return inlineMap(pages);
    }
    return pageListMap(file, pages);
}

}  // namespace planora::jet
