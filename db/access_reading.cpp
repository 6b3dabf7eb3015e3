#include "db/access_reading.h"

#include <unistd.h>

#include <cstdint>
#include <optional>

#include "db/error.h"
#include "db/file_version.h"
#include "messages/db_messages.h"

namespace planora::db::access {

namespace {

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
