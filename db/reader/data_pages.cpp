#include "db/reader/data_pages.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace planora::db::access {

namespace {

// A table's pages mostly follow one another: a block reads 64 of them (256 KiB of Jet 4).
constexpr std::size_t kBlockPages = 64;
constexpr unsigned char kDataPage = 0x01;
constexpr int kOwnerOffset = 4;

}  // namespace

DataPages::DataPages(MdbTableDef* table)
    : table_(table),
      mdb_(table->entry->mdb),
      pageBytes_(static_cast<std::size_t>(mdb_->fmt->pg_size)) {}

bool DataPages::next() {
    while (byMap_) {
        const gint32 found = mdb_map_find_next(mdb_, table_->usage_map,
                                               static_cast<unsigned>(table_->map_sz), page_);
        if (found < 0) {
            byMap_ = false;  // a map of a kind libmdb does not know
            page_ = 0;
            break;
        }
        if (found == 0 || static_cast<std::uint32_t>(found) <= page_) {
            return false;
        }
        page_ = static_cast<std::uint32_t>(found);
        if (!load(page_)) {
            return false;
        }
        if (ofTheTable()) {
            return true;
        }
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

bool DataPages::load(std::uint32_t page) {
    if (pageBytes_ == 0 || pageBytes_ > sizeof mdb_->pg_buf) {
        return false;
    }
    if (page < blockFirst_ || page >= blockFirst_ + blockPages_) {
        block_.resize(kBlockPages * pageBytes_);
        const int fd = fileno(mdb_->f->stream);
        const auto offset = static_cast<off_t>(page) * static_cast<off_t>(pageBytes_);
        ssize_t got = 0;
        do {
            got = ::pread(fd, block_.data(), block_.size(), offset);
        } while (got < 0 && errno == EINTR);
        if (got < static_cast<ssize_t>(pageBytes_)) {
            blockPages_ = 0;
            return false;
        }
        blockFirst_ = page;
        blockPages_ = static_cast<std::uint32_t>(static_cast<std::size_t>(got) / pageBytes_);
    }
    std::memcpy(mdb_->pg_buf, block_.data() + (page - blockFirst_) * pageBytes_, pageBytes_);
    mdb_->cur_pg = page;  // libmdb reads a page again unless it knows the buffer holds it
    mdb_->cur_pos = 0;
    return true;
}

}  // namespace planora::db::access
