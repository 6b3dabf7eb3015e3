#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace planora::db::access {

// A file's bytes read into memory whole, with one read. Empty when the file is missing, empty,
// not a regular file, larger than the bound, or cannot be read: the caller then reads it from
// disk, which reports why it cannot.
class FileImage {
  public:
    FileImage() = default;
    static FileImage read(const std::filesystem::path& file, std::uint64_t maxBytes);

    bool empty() const { return size_ == 0; }
    std::span<const unsigned char> bytes() const { return {data_.get(), size_}; }
    // For libmdb, which takes a buffer it does not write through a non-const pointer.
    unsigned char* data() { return data_.get(); }
    std::size_t size() const { return size_; }

  private:
    std::unique_ptr<unsigned char[]> data_;
    std::size_t size_ = 0;
};

}  // namespace planora::db::access
