// SQLite files as they are found in a shared data folder: locked by the hotel system for a
// moment, in a folder this user cannot write, in WAL mode, with a journal left by a writer that
// was killed, or without the rights to read them. Real files, real locks held by other
// processes, and a user without rights (uid 65534) where the tests run as root.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>

#include "db/backend.h"
#include "db/database.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void execute(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(db));
    }
}

// A writer in a process of its own, as the hotel system is: runs `write` on the open file,
// tells the test it is done, and then waits to be killed (or ends after `linger`).
class OtherProcess {
  public:
    OtherProcess(const fs::path& file, const std::function<void(sqlite3*)>& write,
                 std::chrono::milliseconds linger) {
        int fds[2];
        if (::pipe(fds) != 0) {
            throw std::runtime_error("no pipe");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            sqlite3* db = nullptr;
            sqlite3_open(file.c_str(), &db);
            write(db);
            [[maybe_unused]] const auto n = ::write(fds[1], "!", 1);
            ::usleep(static_cast<useconds_t>(linger.count() * 1000));
            execute(db, "COMMIT");
            sqlite3_close(db);
            ::_exit(0);
        }
        ::close(fds[1]);
        char ready = 0;
        [[maybe_unused]] const auto n = ::read(fds[0], &ready, 1);
        ::close(fds[0]);
    }
    ~OtherProcess() { kill(); }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
    }
    void wait() {
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

  private:
    pid_t pid_ = 0;
};

// Runs `action` in a child process as a user without rights over the test's files (uid 65534
// when the tests run as root, else the test's own user, whose rights chmod has taken away),
// and returns what it returned.
std::string asUnprivileged(const std::function<std::string()>& action) {
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("no pipe");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        const std::string result = action();
        [[maybe_unused]] const auto n = ::write(fds[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "the child failed";
}

// The rows of the table as "a,b,..." of its first column, or the error's message.
std::string rowsOf(const fs::path& file, const std::string& table) {
    try {
        const TablePtr loaded = openSqliteBackend(file)->loadTable(table);
        std::string rows;
        for (std::size_t row = 0; row < loaded->rowCount(); ++row) {
            rows += (row ? "," : "") + loaded->value(row, 0).toText();
        }
        return rows;
    } catch (const Error& e) {
        return e.what();
    }
}

class SqliteOpen : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ = folder_.path() / "Camere_Prenotazione.sqlite";
        testing::writeTable(file_, "Camere_Prenotazione", {{"NumeroPrenotazione", "INTEGER"}},
                            {{testing::num(1)}, {testing::num(2)}});
    }
    void TearDown() override {
        // Back to writable, so that the folder can be removed.
        fs::permissions(folder_.path(), fs::perms::owner_all, fs::perm_options::add);
    }
    std::string quoted() const { return "'" + file_.string() + "'"; }
    // Makes the folder read-only (for its owner; a user without rights could never write it).
    void folderReadOnly() const {
        fs::permissions(folder_.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    }
    static void toWal(sqlite3* db) {
        execute(db, "PRAGMA journal_mode=WAL");
        execute(db, "PRAGMA wal_autocheckpoint=0");
    }

    testing::TempFolder folder_;
    fs::path file_;
};

TEST_F(SqliteOpen, ADatabaseLockedForAMomentIsWaitedFor) {
    OtherProcess writer(
        file_,
        [](sqlite3* db) {
            execute(db, "BEGIN EXCLUSIVE");
            execute(db, "INSERT INTO Camere_Prenotazione VALUES (3)");
        },
        1000ms);
    const auto start = Clock::now();
    EXPECT_EQ(rowsOf(file_, "Camere_Prenotazione"), "1,2,3");  // after the writer's commit
    EXPECT_GE(Clock::now() - start, 500ms);
    writer.wait();
}

TEST_F(SqliteOpen, ALockHeldLongerIsADatabaseInUse) {
    OtherProcess writer(
        file_, [](sqlite3* db) { execute(db, "BEGIN EXCLUSIVE"); }, 30000ms);
    const auto start = Clock::now();
    EXPECT_EQ(rowsOf(file_, "Camere_Prenotazione"),
              "Impossibile leggere il file di database " + quoted() +
                  ": è in uso da un altro programma, che lo tiene bloccato da più di 5 secondi: "
                  "riprovare quando l'altro programma avrà finito");
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 4500ms);
    EXPECT_LT(waited, 20s);
}

TEST_F(SqliteOpen, AWalDatabaseInAReadOnlyFolderIsRead) {
    {
        OtherProcess writer(
            file_,
            [](sqlite3* db) {
                toWal(db);
                execute(db, "BEGIN");
                execute(db, "INSERT INTO Camere_Prenotazione VALUES (3)");
            },
            0ms);
        writer.wait();  // committed and closed: the changes are in the file, no -wal is left
    }
    ASSERT_FALSE(fs::exists(fs::path(file_.string() + "-wal")));
    folderReadOnly();
    EXPECT_EQ(asUnprivileged([&] { return rowsOf(file_, "Camere_Prenotazione"); }), "1,2,3");
}

TEST_F(SqliteOpen, ChangesLeftInTheWalFileAreReadOrNamed) {
    {
        OtherProcess writer(
            file_,
            [](sqlite3* db) {
                toWal(db);
                execute(db, "INSERT INTO Camere_Prenotazione VALUES (3)");
                execute(db, "BEGIN");
            },
            60000ms);
        writer.kill();  // killed: the committed row stays in the -wal file only
    }
    const fs::path wal = file_.string() + "-wal";
    const fs::path shm = file_.string() + "-shm";
    ASSERT_TRUE(fs::exists(wal));
    folderReadOnly();
    // With the -shm file still there, SQLite reads the changes in memory.
    EXPECT_EQ(asUnprivileged([&] { return rowsOf(file_, "Camere_Prenotazione"); }), "1,2,3");
    // Without it, they cannot be read here, and an immutable open would miss them.
    fs::permissions(folder_.path(), fs::perms::owner_write, fs::perm_options::add);
    fs::remove(shm);
    folderReadOnly();
    EXPECT_EQ(asUnprivileged([&] { return rowsOf(file_, "Camere_Prenotazione"); }),
              "Impossibile leggere il file di database " + quoted() +
                  ": ha modifiche non ancora trascritte nel file '" + wal.string() +
                  "' e la cartella '" + folder_.path().string() +
                  "' è di sola lettura: aprire il database con il programma che lo gestisce, "
                  "oppure dare il permesso di scrittura sulla cartella, e riprovare");
}

TEST_F(SqliteOpen, AJournalLeftByAKilledWriterIsNamedNeverReadHalfWritten) {
    {
        OtherProcess writer(
            file_,
            [](sqlite3* db) {
                execute(db, "BEGIN");
                for (int i = 0; i < 2000; ++i) {
                    execute(db, "INSERT INTO Camere_Prenotazione VALUES (100)");
                }
                execute(db, "COMMIT");
                // A cache of one page spills the change into the file before the commit.
                execute(db, "PRAGMA cache_size=1");
                execute(db, "BEGIN");
                execute(db, "UPDATE Camere_Prenotazione SET NumeroPrenotazione = 7");
            },
            60000ms);
        writer.kill();
    }
    const fs::path journal = file_.string() + "-journal";
    ASSERT_TRUE(fs::exists(journal));
    const std::string expected =
        "Impossibile leggere il file di database " + quoted() +
        ": contiene una modifica lasciata a metà da un programma interrotto (è rimasto il file '" +
        journal.string() +
        "'): aprire il database con il programma che lo gestisce, che annulla la modifica, e "
        "riprovare";
    EXPECT_EQ(rowsOf(file_, "Camere_Prenotazione"), expected);
    folderReadOnly();
    EXPECT_EQ(asUnprivileged([&] { return rowsOf(file_, "Camere_Prenotazione"); }), expected);
}

TEST_F(SqliteOpen, MissingRightsAreReportedAsSuch) {
    fs::permissions(file_, fs::perms::none);
    const std::string notReadable = asUnprivileged([&] {
        return testing::errorMessage(
            [&] { Database::open(folder_.path(), "Camere_Prenotazione.mdb"); });
    });
    EXPECT_EQ(notReadable, "Impossibile leggere il file " + quoted() + ": permesso negato");

    fs::permissions(file_, fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(folder_.path(), fs::perms::none);
    const std::string hidden = asUnprivileged([&] {
        return testing::errorMessage(
            [&] { Database::open(folder_.path(), "Camere_Prenotazione.mdb"); });
    });
    EXPECT_EQ(hidden, "Impossibile leggere il contenuto della cartella '" +
                          folder_.path().string() + "': permesso negato");
}

}  // namespace
}  // namespace planora::db
