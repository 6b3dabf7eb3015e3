#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/access_limits.h"
#include "db/recordset.h"

namespace planora::db {

class AccessReaders;

// The file a bare name such as "Tableau.mdb" stands for in a data folder: the same name
// without regard to case, else the name with the extension ".sqlite". Throws planora::Error
// naming the file and the folder when neither exists.
std::filesystem::path resolveDataFile(const std::filesystem::path& folder,
                                      std::string_view bareName);

// An open database file: Access (Jet 3 or 4) or SQLite 3, chosen by the file's content.
// A cheap handle: copies share the same open file and its loaded tables.
class Database {
  public:
    Database();  // not open
    // OpenDatabase: the bare file name is looked up in the data folder (resolveDataFile).
    static Database open(const std::filesystem::path& folder, std::string_view bareName);
    // As open, an Access file read within these bounds.
    static Database open(const std::filesystem::path& folder, std::string_view bareName,
                         const AccessReadLimits& accessLimits);
    // As open, an Access file read by the reader programs of a run, which its other Access
    // files share.
    static Database open(const std::filesystem::path& folder, std::string_view bareName,
                         std::shared_ptr<AccessReaders> accessReaders);

    // OpenRecordset on a table name or an SQL text (a dynaset). Throws planora::Error naming
    // the file and the table, or the SQL text and the position of the fault.
    RecordSet openRecordset(std::string_view tableOrSql) const;

    std::vector<std::string> tableNames() const;
    // While held, the reads of the file see one state of it, whatever other programs write
    // meanwhile: the reads of one run belong together. Holds are counted; each is released.
    void holdState() const;
    void releaseState() const;
    const std::filesystem::path& file() const;
    bool isOpen() const;
    void close();

    // The open state, for the record access layer; throws planora::Error when not open.
    struct Impl;
    Impl& impl() const;

  private:
    // The Access readers are made only for an Access file.
    static Database openFile(const std::filesystem::path& folder, std::string_view bareName,
                             const std::function<std::shared_ptr<AccessReaders>()>& readers);

    std::shared_ptr<Impl> impl_;
};

}  // namespace planora::db
