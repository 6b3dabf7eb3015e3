#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace planora::files {

// A new content for a file, written so that a reader never sees a half-written file and a
// failure never damages the old one: the bytes go to a temporary file of a unique name, created
// exclusively in the target's folder (it never follows a link nor reuses another run's file),
// which is flushed to disk and then renamed over the target; the folder is flushed too. Several
// workstations and several runs may write the same target at once: the last rename wins whole.
//
// Until commit() the target is untouched; a SafeFile destroyed without commit() removes its
// temporary file. Failures throw planora::Error naming the file and the system's reason.
class SafeFile {
  public:
    explicit SafeFile(std::filesystem::path target);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    void write(std::string_view bytes);
    // The bytes at a given place of the temporary file, for formats whose early parts are
    // known only at the end (an index, a table of contents); the file grows as needed. It does
    // not move the place where write() goes on.
    void writeAt(std::uint64_t offset, std::string_view bytes);
    // Flushes the temporary file, renames it over the target and flushes the folder.
    void commit();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporary() const { return temporary_; }

  private:
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::uint64_t written_ = 0;  // where write() goes on
    bool committed_ = false;
};

// The whole content at once.
void writeFileSafely(const std::filesystem::path& target, std::string_view bytes);

// The bytes of a regular file, or its first maxBytes; throws planora::Error naming it and the
// system's reason.
std::string readFile(const std::filesystem::path& file,
                     std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

}  // namespace planora::files
