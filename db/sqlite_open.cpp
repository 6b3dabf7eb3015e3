#include "db/sqlite_open.h"

#include <system_error>

#include "db/error.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db::sqlite {

namespace fs = std::filesystem;

namespace {

// The file as an SQLite URI that opens it immutable: no locks, no journal, no -shm.
std::string immutableUri(const fs::path& file) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : fs::absolute(file).string()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '_' ||
                           c == '.' || c == '~';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri + "?immutable=1";
}

bool holdsData(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    return !error && size > 0;
}

fs::path beside(const fs::path& file, const char* suffix) {
    return fs::path(file.string() + suffix);
}

[[noreturn]] void fail(const fs::path& file, const std::string& reason) {
    throw Error(msg::cannotReadDatabase(file, {}, reason));
}

// Opens and reads the table list; the result code of the first failure, or SQLITE_OK.
int tryOpen(const std::string& name, int flags, OpenedDatabase& opened) {
    sqlite3* raw = nullptr;
    // No mutexes: a handle is used by one thread only.
    int rc = sqlite3_open_v2(name.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    opened.handle.reset(raw);
    opened.tables.clear();
    if (rc != SQLITE_OK) {
        return rc;
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusySeconds * 1000);
    // Reading the schema is the first access to the file: a file that is not a database, a
    // lock, or a journal to roll back shows here.
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v2(
        raw, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY rowid", -1,
        &statement, nullptr);
    StatementHandle guard(statement);
    if (rc != SQLITE_OK) {
        return rc;
    }
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        opened.tables.emplace_back(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// A read-only connection could not set itself up: it would have to write beside the file.
bool neededToWrite(int rc) {
    return (rc & 0xff) == SQLITE_READONLY || (rc & 0xff) == SQLITE_CANTOPEN;
}

}  // namespace

std::string reasonOf(sqlite3* db, int rc) {
    switch (rc & 0xff) {
        case SQLITE_NOTADB:
            return msg::notAnSqliteDatabase();
        case SQLITE_CORRUPT:
            return msg::databaseDamaged();
        case SQLITE_NOMEM:
            return msg::outOfMemory();
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return msg::databaseInUse(kBusySeconds);
        case SQLITE_CANTOPEN:
        case SQLITE_IOERR:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            if (const int errnum = db ? sqlite3_system_errno(db) : 0; errnum != 0) {
                return msg::systemReason(errnum);
            }
            break;
        default:
            break;
    }
    return msg::sqliteError(rc, sqlite3_errstr(rc));
}

OpenedDatabase openForReading(const fs::path& file) {
    // Read-only but not immutable: the hotel system may rewrite its files while the program
    // runs, and SQLite's locking keeps a read from seeing a half-written change.
    OpenedDatabase opened;
    const int rc = tryOpen(file.string(), SQLITE_OPEN_READONLY, opened);
    if (rc == SQLITE_OK) {
        return opened;
    }
    const fs::path journal = beside(file, "-journal");
    if (rc == SQLITE_READONLY_ROLLBACK || (neededToWrite(rc) && holdsData(journal))) {
        // Immutable would read the half-written pages: only the writer's program can undo them.
        fail(file, msg::interruptedChange(journal));
    }
    if (!neededToWrite(rc)) {
        fail(file, reasonOf(opened.handle.get(), rc));
    }
    const fs::path wal = beside(file, "-wal");
    if (holdsData(wal)) {
        // Immutable would ignore the changes still in the -wal file.
        fail(file, msg::unsavedChangesInReadOnlyFolder(wal, file.parent_path()));
    }
    const int immutable =
        tryOpen(immutableUri(file), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, opened);
    if (immutable != SQLITE_OK) {
        fail(file, reasonOf(opened.handle.get(), immutable));
    }
    return opened;
}

}  // namespace planora::db::sqlite
