#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "board/builder.h"
#include "board/request.h"
#include "db/database.h"
#include "db/recordset.h"

namespace planora::board {

// The state of one board run, shared by the builder and the room line composer: the options
// of the main window, the totals counters, and the databases and record sets of the run. Each
// database and each query is opened once, on first use, and handed out as a copy (its own
// current record over the same loaded rows); everything is closed when the run ends. Each
// database is read as one state of its file for the whole run, as a board is of one moment.
class RunContext {
  public:
    RunContext(std::filesystem::path dataFolder, BoardOptions options);
    ~RunContext();
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    const db::Database& database(std::string_view bareName);
    // A table or an SQL text of a database file; with a sort text, the same records in that
    // order.
    db::RecordSet recordSet(std::string_view bareName, std::string_view tableOrSql,
                            std::string_view sort = {});

    const BoardOptions& options() const { return options_; }
    RunTally& tally() { return tally_; }
    Totals& totals() { return tally_.totals; }
    void close();

  private:
    std::filesystem::path dataFolder_;
    BoardOptions options_;
    RunTally tally_;
    // Shared by the run's Access files; made before them, so gone after them.
    std::shared_ptr<db::AccessReaders> accessReaders_;
    std::map<std::string, db::Database, std::less<>> databases_;
    std::map<std::string, db::RecordSet, std::less<>> recordSets_;
};

}  // namespace planora::board
