#include "db/access_reading.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>

#include "db/error.h"
#include "messages/db_messages.h"

namespace planora::db::access {

namespace {

// One version of a file: written in place, it changes its times or its size; replaced, its
// inode.
struct FileVersion {
    dev_t device;
    ino_t inode;
    off_t size;
    std::int64_t modified, changed;  // nanoseconds
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

std::optional<FileVersion> versionOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const auto nanoseconds = [](const timespec& t) {
        return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    };
    return FileVersion{info.st_dev, info.st_ino, info.st_size, nanoseconds(info.st_mtim),
                       nanoseconds(info.st_ctim)};
}

// Whether a run read all it was asked for, every table with the rows its definition counts
// (read, when a Where kept only some of them).
bool readWhole(const IsolatedRun& run) {
    if (run.fault != Fault::None || run.result.fileFailure || !run.result.failedTables.empty()) {
        return false;
    }
    for (const auto& table : run.result.tables) {
        const auto defined = run.result.definedRows.find(table->name());
        const auto scan = run.result.scans.find(table->name());
        const std::uint64_t read =
            scan != run.result.scans.end() ? scan->second.rowsRead : table->rowCount();
        if (defined != run.result.definedRows.end() && defined->second != read) {
            return false;
        }
    }
    return true;
}

}  // namespace

Reading::Reading(std::filesystem::path file, std::shared_ptr<AccessReaders> readers)
    : file_(std::move(file)), readers_(std::move(readers)) {}

IsolatedRun Reading::read(const ReadRequest& request) const {
    const auto before = versionOf(file_);
    IsolatedRun run = readOnce(request);
    const auto after = versionOf(file_);
    if (before == after && readWhole(run)) {
        return run;
    }
    IsolatedRun again = readOnce(request);
    if (versionOf(file_) != after) {
        throw Error(msg::accessFileBeingWritten(file_));
    }
    return again;
}

IsolatedRun Reading::readOnce(const ReadRequest& request) const {
    return readers_->read(file_, request);
}

std::string Reading::describe(const IsolatedRun& run) const {
    return describeFault(run.fault, run.detail, limits());
}

std::string Reading::tableError(std::string_view table, const std::string& reason) const {
    return msg::cannotReadAccessTable(table, file_, reason);
}

}  // namespace planora::db::access
