#include "db/access_backend.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <system_error>
#include <utility>

#include "db/access_isolation.h"
#include "db/access_reader_program.h"
#include "db/access_reading.h"
#include "db/access_request.h"
#include "db/error.h"
#include "db/recordset_internal.h"
#include "db/sql_print.h"
#include "db/value.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db {

namespace {

// An Access file read by the reader program, a process of its own (see access_isolation.h).
// Small files come back whole with the table list; other tables are read when first asked for.
// Tables and table failures are kept for the life of the backend.
class AccessBackend final : public Backend {
  public:
    AccessBackend(std::filesystem::path file, std::shared_ptr<AccessReaders> readers)
        : file_(std::move(file)) {
        if (!readers->program()) {
            throw Error(msg::cannotOpenAccess(
                file_, msg::readerMissing(access::kReaderProgramName, readers->searched())));
        }
        reading_ = std::make_shared<const access::Reading>(file_, std::move(readers));
        access::ReadRequest request;
        request.allTables = smallEnoughToReadWhole();
        request.definitions = !request.allTables;
        auto run = read(request);
        if (!run.result.tableNames) {
            const std::string reason =
                run.fault != access::Fault::None
                    ? describe(run)
                    : run.result.fileFailure.value_or(msg::readerStoppedEarly());
            throw Error(msg::cannotOpenAccess(file_, reason));
        }
        names_ = std::move(*run.result.tableNames);
        definitions_ = std::move(run.result.definitions);
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

    TablePtr openTable(std::string_view name) const override {
        const std::string& exact = existing(name);
        if (auto found = kept(exact)) {
            return found;
        }
        const auto defined = definitions_.find(exact);
        if (defined == definitions_.end()) {
            return loadTable(name);
        }
        return access::openTable(reading_, exact, defined->second.columns, defined->second.rows,
                                 {});
    }

    // The reader program evaluates the Where on each row with the record access layer's own
    // rules, and sends the rows on which it holds, or on which it fails.
    TablePtr openSelection(std::string_view name, const sql::Expr& where) const override {
        const std::string& exact = existing(name);
        const auto defined = definitions_.find(exact);
        if (kept(exact) || defined == definitions_.end() || mayFailOnARow(where)) {
            return nullptr;
        }
        std::string criteria = sql::printExpr(where);
        auto& selection = selections_[exact + '\n' + criteria];
        TablePtr table = selection.lock();
        if (!table) {
            table = access::openTable(reading_, exact, defined->second.columns,
                                      defined->second.rows, std::move(criteria));
            selection = table;
        }
        return table;
    }

  private:
    const std::string& existing(std::string_view name) const {
        const std::string* exact = exactName(name);
        if (!exact) {
            throw Error(msg::tableNotFound(name, file_));
        }
        return *exact;
    }

    bool smallEnoughToReadWhole() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        return !error && size <= reading_->limits().readAllTablesUpToFileBytes;
    }

    access::IsolatedRun read(const access::ReadRequest& request) const {
        return reading_->read(request);
    }

    std::string describe(const access::IsolatedRun& run) const { return reading_->describe(run); }

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
    std::shared_ptr<const access::Reading> reading_;
    std::vector<std::string> names_;
    std::map<std::string, access::StreamResult::Definition> definitions_;
    mutable std::map<std::string, std::weak_ptr<const Table>> selections_;
    mutable std::map<std::string, TablePtr> loaded_;
    mutable std::map<std::string, std::string> failed_;
};

}  // namespace

std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           std::shared_ptr<AccessReaders> readers) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw Error(msg::cannotOpenAccess(file, msg::systemReason(error ? error.value() : ENOENT)));
    }
    // libmdb looks relative names up along MDBPATH, which can loop forever: pass it a full path.
    return std::make_unique<AccessBackend>(std::filesystem::absolute(file), std::move(readers));
}

std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file,
                                           const AccessReadLimits& limits) {
    return openAccessBackend(file, std::make_shared<AccessReaders>(limits));
}

std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file) {
    return openAccessBackend(file, AccessReadLimits{});
}

}  // namespace planora::db
