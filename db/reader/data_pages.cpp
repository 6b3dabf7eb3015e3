#include "db/reader/data_pages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace planora::db::access {

namespace {

// A table's pages mostly follow one another: a block reads 16 of them (64 KiB of Jet 4). A
// larger block saves few reads on the tables of most files, and its memory is new to the
// reader, which starts anew for each board: the first touch of each page costs more than the
// read that fills it. A table read past 64 such blocks (4 MiB) goes on in blocks of 64 pages.
constexpr std::size_t kBlockPages = 16;
constexpr std::size_t kLargeBlockPages = 64;
constexpr std::size_t kBlocksBeforeLarge = 64;
constexpr unsigned char kDataPage = 0x01;
constexpr unsigned char kInlineMap = 0x00;
constexpr unsigned char kMapOfMapPages = 0x01;
constexpr std::size_t kInlineMapHeader = 5;  // the kind, then the first page
constexpr std::size_t kMapPageHeader = 4;
constexpr int kOwnerOffset = 4;

}  // namespace

DataPages::DataPages(MdbTableDef* table, std::span<const unsigned char> image)
    : table_(table),
      mdb_(table->entry->mdb),
      image_(image),
      pageBytes_(static_cast<std::size_t>(mdb_->fmt->pg_size)) {
    struct stat file {};
    if (!image_.empty()) {
        filePages_ = image_.size() / pageBytes_;
    } else if (fstat(fileno(mdb_->f->stream), &file) == 0 && file.st_size > 0) {
        filePages_ = static_cast<std::uint64_t>(file.st_size) / pageBytes_;
    }
    byMap_ = pageBytes_ > kMapPageHeader && pageBytes_ <= sizeof mdb_->pg_buf && readMap();
}

// An inline map holds its first page and a bit for each page from there on; a map of map
// pages lists pages, each with a bit for each page of its own stretch of the file.
bool DataPages::readMap() {
    const unsigned char* map = table_->usage_map;
    const std::size_t size = table_->map_sz;
    if (map == nullptr || size < kInlineMapHeader) {
        return false;
    }
    const auto markBits = [&](const unsigned char* bits, std::size_t bytes, std::uint64_t first) {
        for (std::size_t bit = 0; bit < bytes * 8; ++bit) {
            const std::uint64_t page = first + bit;
            if ((bits[bit / 8] >> (bit % 8) & 1) != 0 && page > 0 && page <= UINT32_MAX) {
                mapped_.push_back(static_cast<std::uint32_t>(page));
            }
        }
    };
    if (map[0] == kInlineMap) {
        const auto first =
            static_cast<std::uint32_t>(mdb_get_int32(const_cast<unsigned char*>(map), 1));
        markBits(map + kInlineMapHeader, size - kInlineMapHeader, first);
        return true;
    }
    if (map[0] != kMapOfMapPages) {
        return false;
    }
    const std::size_t bitsPerPage = (pageBytes_ - kMapPageHeader) * 8;
    std::vector<unsigned char> mapPage(pageBytes_);
    for (std::size_t i = 0; 1 + 4 * i + 4 <= size; ++i) {
        const auto page =
            static_cast<std::uint32_t>(mdb_get_int32(const_cast<unsigned char*>(map), 1 + 4 * i));
        if (page == 0) {
            continue;
        }
        if (!readPage(page, mapPage.data())) {
            break;  // the file ends early: the pages mapped so far are all there are
        }
        markBits(mapPage.data() + kMapPageHeader, pageBytes_ - kMapPageHeader, i * bitsPerPage);
    }
    return true;
}

bool DataPages::next() {
    if (byMap_) {
        while (nextMapped_ < mapped_.size()) {
            page_ = mapped_[nextMapped_++];
            if (!load(page_)) {
                return false;
            }
            if (ofTheTable()) {
                return true;
            }
        }
        return false;
    }
    for (;;) {
        if (!load(page_ + 1)) {
            return false;
        }
        ++page_;
        if (ofTheTable()) {
            return true;
        }
    }
}

bool DataPages::ofTheTable() const {
    return mdb_->pg_buf[0] == kDataPage &&
           static_cast<unsigned long>(mdb_get_int32(mdb_->pg_buf, kOwnerOffset)) ==
               table_->entry->table_pg;
}

std::size_t DataPages::readPages(std::uint32_t first, std::size_t count, unsigned char* into) {
    if (!image_.empty()) {
        const std::size_t pages =
            first < filePages_ ? std::min<std::uint64_t>(count, filePages_ - first) : 0;
        std::memcpy(into, image_.data() + std::size_t{first} * pageBytes_, pages * pageBytes_);
        return pages;
    }
    const int fd = fileno(mdb_->f->stream);
    const auto offset = static_cast<off_t>(first) * static_cast<off_t>(pageBytes_);
    ssize_t got = 0;
    do {
        got = ::pread(fd, into, count * pageBytes_, offset);
    } while (got < 0 && errno == EINTR);
    return got < 0 ? 0 : static_cast<std::size_t>(got) / pageBytes_;
}

bool DataPages::readPage(std::uint32_t page, unsigned char* into) {
    return readPages(page, 1, into) == 1;
}

// A block no larger than what is left of the file: most files of a hotel are a few pages, and
// a reader reads a dozen of them.
std::size_t DataPages::blockPagesAt(std::uint32_t page) const {
    const std::size_t block = blocksRead_ < kBlocksBeforeLarge ? kBlockPages : kLargeBlockPages;
    if (filePages_ == 0) {
        return block;  // the size is not known
    }
    return page < filePages_ ? std::min<std::uint64_t>(block, filePages_ - page) : 1;
}

const unsigned char* DataPages::pageAt(std::uint32_t page) {
    if (!image_.empty()) {
        return page < filePages_ ? image_.data() + std::size_t{page} * pageBytes_ : nullptr;
    }
    if (page < blockFirst_ || page >= blockFirst_ + blockPages_) {
        const std::size_t pages = blockPagesAt(page);
        if (pages > blockCapacity_) {
            block_.reset(new unsigned char[pages * pageBytes_]);  // each read fills what it uses
            blockCapacity_ = pages;
        }
        const std::size_t got = readPages(page, pages, block_.get());
        if (got == 0) {
            blockPages_ = 0;
            return nullptr;
        }
        blockFirst_ = page;
        blockPages_ = static_cast<std::uint32_t>(got);
        ++blocksRead_;
    }
    return block_.get() + (page - blockFirst_) * pageBytes_;
}

bool DataPages::load(std::uint32_t page) {
    const unsigned char* bytes = pageAt(page);
    if (bytes == nullptr) {
        return false;
    }
    std::memcpy(mdb_->pg_buf, bytes, pageBytes_);
    mdb_->cur_pg = page;  // libmdb reads a page again unless it knows the buffer holds it
    mdb_->cur_pos = 0;
    return true;
}

}  // namespace planora::db::access
