#include "board/run_context.h"

#include <utility>

#include "db/access_readers.h"

namespace planora::board {

RunContext::RunContext(std::filesystem::path dataFolder, BoardOptions options)
    : dataFolder_(std::move(dataFolder)),
      options_(std::move(options)),
      accessReaders_(std::make_shared<db::AccessReaders>()) {}

RunContext::~RunContext() {
    close();
}

const db::Database& RunContext::database(std::string_view bareName) {
    auto found = databases_.find(bareName);
    if (found == databases_.end()) {
        found = databases_
                    .emplace(std::string(bareName),
                             db::Database::open(dataFolder_, bareName, accessReaders_))
                    .first;
        found->second.holdState();
    }
    return found->second;
}

db::RecordSet RunContext::recordSet(std::string_view bareName, std::string_view tableOrSql,
                                    std::string_view sort) {
    std::string key =
        std::string(bareName) + '\n' + std::string(sort) + '\n' + std::string(tableOrSql);
    auto found = recordSets_.find(key);
    if (found == recordSets_.end()) {
        db::RecordSet opened = database(bareName).openRecordset(tableOrSql);
        if (!sort.empty()) {
            opened.setSort(std::string(sort));
            opened = opened.openRecordset();
        }
        found = recordSets_.emplace(std::move(key), std::move(opened)).first;
    }
    return found->second;
}

void RunContext::close() {
    for (auto& [key, recordSet] : recordSets_) {
        recordSet.close();
    }
    recordSets_.clear();
    for (auto& [name, database] : databases_) {
        database.releaseState();
        database.close();
    }
    databases_.clear();
}

}  // namespace planora::board
