#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Opening an SQLite file for reading as the hotel's files are found: written by another
// program at the same time, in a folder this user may not write, in WAL mode, or with a
// journal left by a writer that was killed.
namespace planora::db::sqlite {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, CloseDatabase>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// How long a read waits for a database that another program holds locked.
inline constexpr int kBusySeconds = 5;

// SQLite's result code as the user should read it, in Italian.
std::string reasonOf(sqlite3* db, int rc);

struct OpenedDatabase {
    DatabaseHandle handle;
    std::vector<std::string> tables;  // tables and views, in the order of the schema
};

// Opens the file read-only and reads its table list, waiting up to kBusySeconds for a lock.
// Where a read-only open cannot work (a WAL database in a folder this user cannot write, with
// no changes left in its -wal file), the file is opened as immutable. Throws planora::Error
// naming the file and saying what to do when it cannot be read: a journal left by a killed
// writer, changes in a -wal file that need a writable folder, a lock held too long.
OpenedDatabase openForReading(const std::filesystem::path& file);

}  // namespace planora::db::sqlite
