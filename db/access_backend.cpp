#include "db/access_backend.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "db/access_isolation.h"
#include "db/access_reader_program.h"
#include "db/access_request.h"
#include "db/error.h"
#include "db/value.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db {

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

// Whether a run read all it was asked for, every table with the rows its definition counts.
bool readWhole(const access::IsolatedRun& run) {
    if (run.fault != access::Fault::None || run.result.fileFailure ||
        !run.result.failedTables.empty()) {
        return false;
    }
    for (const auto& table : run.result.tables) {
        const auto defined = run.result.definedRows.find(table->name());
        if (defined != run.result.definedRows.end() && defined->second != table->rowCount()) {
            return false;
        }
    }
    return true;
}

// An Access file read by the reader program, a process of its own (see access_isolation.h).
// Small files come back whole with the table list; other tables are read when first asked for.
// Tables and table failures are kept for the life of the backend.
class AccessBackend final : public Backend {
  public:
    AccessBackend(std::filesystem::path file, const AccessReadLimits& limits)
        : file_(std::move(file)), limits_(limits) {
        if (limits_.readerProgram.empty()) {
            const auto lookup = access::findReaderProgram(access::ReaderSearch::ofThisProcess());
            if (!lookup.program) {
                throw Error(msg::cannotOpenAccess(
                    file_, msg::readerMissing(access::kReaderProgramName, lookup.searched)));
            }
            limits_.readerProgram = *lookup.program;
        }
        access::ReadRequest request;
        request.allTables = smallEnoughToReadWhole();
        auto run = read(request);
        if (!run.result.tableNames) {
            const std::string reason =
                run.fault != access::Fault::None
                    ? describe(run)
                    : run.result.fileFailure.value_or(msg::readerStoppedEarly());
            throw Error(msg::cannotOpenAccess(file_, reason));
        }
        names_ = std::move(*run.result.tableNames);
        keep(run, names_);
    }

    const std::filesystem::path& file() const override { return file_; }
    std::vector<std::string> tableNames() const override { return names_; }

    TablePtr loadTable(std::string_view name) const override {
        const std::string* exact = exactName(name);
        if (!exact) {
            throw Error(msg::tableNotFound(name, file_));
        }
        if (auto found = kept(*exact)) {
            return found;
        }
        access::ReadRequest request;
        request.table = *exact;
        auto run = read(request);
        keep(run, {*exact});
        if (auto found = kept(*exact)) {
            return found;
        }
        throw Error(tableError(*exact, msg::accessTableGone()));
    }

  private:
    bool smallEnoughToReadWhole() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        return !error && size <= limits_.readAllTablesUpToFileBytes;
    }

    // The hotel system writes its files in place while boards are made. A read during which
    // the file changed may hold rows of two versions; one that did not read whole may have met
    // a page half written. Either is read once more; a file that changes again is being
    // written, and the run stops rather than mix versions.
    access::IsolatedRun read(const access::ReadRequest& request) const {
        const auto before = versionOf(file_);
        access::IsolatedRun run = readOnce(request);
        const auto after = versionOf(file_);
        if (before == after && readWhole(run)) {
            return run;
        }
        access::IsolatedRun again = readOnce(request);
        if (versionOf(file_) != after) {
            throw Error(msg::accessFileBeingWritten(file_));
        }
        return again;
    }

    access::IsolatedRun readOnce(const access::ReadRequest& request) const {
        const access::ReaderInvocation invocation{::getpid(), file_, request};
        return access::runIsolated({limits_.readerProgram, access::readerArguments(invocation)},
                                   limits_);
    }

    std::string describe(const access::IsolatedRun& run) const {
        return access::describeFault(run.fault, run.detail, limits_);
    }

    // Takes the tables and failures of a run. A fault, or a file that can no longer be opened,
    // is put down to the first table asked for that neither arrived nor failed: the reader
    // works through them in order.
    void keep(access::IsolatedRun& run, const std::vector<std::string>& asked) const {
        for (auto& table : run.result.tables) {
            std::string name = table->name();
            loaded_[std::move(name)] = std::move(table);
        }
        for (const auto& [name, reason] : run.result.failedTables) {
            failed_[name] = tableError(name, reason);
        }
        std::string reason;
        if (run.fault != access::Fault::None) {
            reason = describe(run);
        } else if (run.result.fileFailure) {
            reason = *run.result.fileFailure;  // the file has changed since it was opened
        } else {
            return;
        }
        for (const auto& name : asked) {
            if (!loaded_.count(name) && !failed_.count(name)) {
                failed_[name] = tableError(name, reason);
                return;
            }
        }
    }

    // The table if loaded; throws its failure if it failed; null if not read yet.
    TablePtr kept(const std::string& name) const {
        if (auto it = loaded_.find(name); it != loaded_.end()) {
            return it->second;
        }
        if (auto it = failed_.find(name); it != failed_.end()) {
            throw Error(it->second);
        }
        return nullptr;
    }

    std::string tableError(std::string_view table, const std::string& reason) const {
        return msg::cannotReadAccessTable(table, file_, reason);
    }

    const std::string* exactName(std::string_view name) const {
        const std::string folded = foldCase(name);
        for (const auto& candidate : names_) {
            if (foldCase(candidate) == folded) {
                return &candidate;
            }
        }
        return nullptr;
    }

    std::filesystem::path file_;
    AccessReadLimits limits_;
    std::vector<std::string> names_;
    mutable std::map<std::string, TablePtr> loaded_;
    mutable std::map<std::string, std::string> failed_;
};

}  // namespace

std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           const AccessReadLimits& limits) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw Error(msg::cannotOpenAccess(file, msg::systemReason(error ? error.value() : ENOENT)));
    }
    // libmdb looks relative names up along MDBPATH, which can loop forever: pass it a full path.
    return std::make_unique<AccessBackend>(std::filesystem::absolute(file), limits);
}

std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file) {
    return openAccessBackend(file, AccessReadLimits{});
}

}  // namespace planora::db
