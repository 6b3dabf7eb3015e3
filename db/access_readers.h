#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "db/access_isolation.h"
#include "db/access_limits.h"
#include "db/access_request.h"

namespace planora::db {

// The reader programs that read the Access files of one run (see access_isolation.h). A reader
// stays after a read to serve the next one, of any file: a board reads a dozen files, and
// starting the program costs about as much as reading a small file. A reader that failed, met
// a damaged file or grew large is stopped, and the next read starts a new one; the readers
// left are stopped when the last user of this object lets it go. Safe to share among threads:
// each read has a reader of its own.
class AccessReaders {
  public:
    explicit AccessReaders(AccessReadLimits limits = {});
    ~AccessReaders();
    AccessReaders(const AccessReaders&) = delete;
    AccessReaders& operator=(const AccessReaders&) = delete;

    const AccessReadLimits& limits() const { return limits_; }
    // The reader program: the one the limits name, else the one findReaderProgram() found;
    // none when there is none, with the folders looked in.
    const std::optional<std::filesystem::path>& program() const { return program_; }
    const std::vector<std::filesystem::path>& searched() const { return searched_; }

    access::IsolatedRun read(const std::filesystem::path& file, const access::ReadRequest& request);
    // How many reader programs were started so far.
    std::size_t programsStarted() const;

  private:
    std::unique_ptr<access::ServingReader> takeIdle();
    void giveBack(std::unique_ptr<access::ServingReader> reader, const access::IsolatedRun& run);

    AccessReadLimits limits_;
    std::optional<std::filesystem::path> program_;
    std::vector<std::filesystem::path> searched_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<access::ServingReader>> idle_;
    std::size_t started_ = 0;
};

}  // namespace planora::db
