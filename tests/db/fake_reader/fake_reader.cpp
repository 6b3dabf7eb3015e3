// A stand-in for the Access reader program, for the tests of the isolation around it: writes
// the stream of db/access_protocol.h on its standard output, or misbehaves, as its first
// argument says.

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "db/access_protocol.h"

namespace {

using namespace planora::db;
using namespace planora::db::access;
using namespace std::chrono_literals;

void writeTable(StreamWriter& out, int rows) {
    out.tableNames({"Camere"});
    out.tableBegin("Camere", rows, {{"NumeroCamera", ColumnType::Text}});
    for (int i = 0; i < rows; ++i) {
        const Value v = Value::text(std::to_string(100 + i));
        out.row({&v, 1});
    }
    out.tableEnd(rows);
}

// One table of texts, one row each.
void writeList(StreamWriter& out, const std::vector<std::string>& texts) {
    out.tableNames({"Elenco"});
    out.tableBegin("Elenco", texts.size(), {{"Testo", ColumnType::Text}});
    for (const auto& text : texts) {
        const Value v = Value::text(text);
        out.row({&v, 1});
    }
    out.tableEnd(texts.size());
    out.done();
}

std::vector<std::string> openDescriptors() {
    std::vector<std::string> found;
    DIR* dir = opendir("/proc/self/fd");
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && std::stoi(name) != dirfd(dir)) {
            found.push_back(name);
        }
    }
    closedir(dir);
    return found;
}

std::vector<std::string> signalSetting() {
    sigset_t blocked;
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    struct sigaction pipe {};
    sigaction(SIGPIPE, nullptr, &pipe);
    return {sigismember(&blocked, SIGTERM) ? "SIGTERM blocked" : "SIGTERM open",
            pipe.sa_handler == SIG_DFL ? "SIGPIPE default" : "SIGPIPE changed"};
}

[[noreturn]] void growForever() {
    std::vector<char*> blocks;
    for (;;) {
        auto* block = static_cast<char*>(std::malloc(std::size_t{16} << 20));
        std::memset(block, 1, std::size_t{16} << 20);
        blocks.push_back(block);
        std::this_thread::sleep_for(5ms);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    StreamWriter out(STDOUT_FILENO);
    if (mode == "table") {
        writeTable(out, argc > 2 ? std::atoi(argv[2]) : 1);
        out.done();
    } else if (mode == "abort") {
        out.tableNames({"Camere"});
        std::abort();
    } else if (mode == "kill") {
        kill(getpid(), SIGKILL);
    } else if (mode == "fail") {
        return 1;
    } else if (mode == "usage") {
        return 64;
    } else if (mode == "hang") {
        for (;;) {
            pause();
        }
    } else if (mode == "steps") {  // three steps of 300 ms each
        std::this_thread::sleep_for(300ms);
        out.tableNames({"A", "B"});
        for (const char* name : {"A", "B"}) {
            std::this_thread::sleep_for(300ms);
            out.tableFailed(name, "illeggibile");
        }
        out.done();
    } else if (mode == "stuck-table") {  // nothing at all for 800 ms inside a table
        out.tableNames({"A"});
        out.flush();  // as a whole-file read sends the list before its tables
        out.tableBegin("A", 2, {{"Sigla", ColumnType::Text}});
        std::this_thread::sleep_for(800ms);
        out.tableEnd(0);
        out.done();
    } else if (mode == "trickle") {  // a row every 150 ms for over two seconds
        out.tableNames({"Lenta"});
        out.tableBegin("Lenta", 15, {{"N", ColumnType::Integer}});
        for (int i = 0; i < 15; ++i) {
            std::this_thread::sleep_for(150ms);
            const Value v = Value::integer(i);
            out.row({&v, 1});
        }
        out.tableEnd(15);
        out.done();
    } else if (mode == "grow") {
        growForever();
    } else if (mode == "garbage") {
        const char bytes[] = "\x09garbage that is no message";
        [[maybe_unused]] auto n = write(STDOUT_FILENO, bytes, sizeof bytes);
    } else if (mode == "cut") {
        writeTable(out, 3);  // no Done: the reader ended early without crashing
    } else if (mode == "endless") {
        out.tableNames({"Note"});
        out.tableBegin("Note", 0, {{"Testo", ColumnType::Text}});
        const Value text = Value::text(std::string(4096, 'x'));
        for (;;) {
            out.row({&text, 1});
        }
    } else if (mode == "descriptors") {
        writeList(out, openDescriptors());
    } else if (mode == "signals") {
        writeList(out, signalSetting());
    } else if (mode == "arguments") {
        writeList(out, std::vector<std::string>(argv + 1, argv + argc));
    } else {
        return 2;
    }
    return 0;
}
