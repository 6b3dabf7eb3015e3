// planora-mdbread: reads an Access file with libmdb and writes what it read on its standard
// output in the stream protocol of db/access_protocol.h. planora runs its reads here, so that
// libmdb, which may crash, hang or allocate without end on a damaged file, never runs in the
// program itself; a serving reader takes one read after another from its standard input.
// Not meant to be run by hand.

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "db/access_protocol.h"
#include "db/access_request.h"
#include "db/reader/access_mdb_reader.h"

namespace {

using namespace planora::db::access;

constexpr int kStreamFailedExit = 3;
constexpr int kKeptAllocationBytes = 4 << 20;
constexpr int kKeptHeapBytes = 32 << 20;

// The stream keeps the standard output's pipe under another descriptor; the standard output
// itself goes to /dev/null, so that nothing libmdb prints can mix with the stream.
int takeStream() {
    const int stream = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (stream < 0 || devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0) {
        _exit(kStreamFailedExit);
    }
    close(devNull);
    return stream;
}

// The reads after the first, as they come, while the program that started it lives.
void serve(LibmdbReader& reader, StreamWriter& out) {
    RequestReader requests(STDIN_FILENO);
    std::vector<std::string> words;
    for (;;) {
        switch (requests.next(words)) {
            case FrameRead::End:
                return;
            case FrameRead::Malformed:
                _exit(kReaderUsageExit);
            case FrameRead::Request:
                break;
        }
        const auto invocation = parseReaderArguments(words);
        if (!invocation || !invocation->serve) {
            _exit(kReaderUsageExit);
        }
        if (getppid() != invocation->parent) {
            _exit(kStreamFailedExit);
        }
        reader.read(invocation->file, invocation->request, out);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Killed with the program that started it: nobody else would stop a hung reader.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const auto invocation = parseReaderArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!invocation) {
        return kReaderUsageExit;
    }
    if (getppid() != invocation->parent) {
        _exit(kStreamFailedExit);  // that program ended before the line above
    }
    // The memory of one read serves the next: a board's reads are many and short, and memory
    // handed back to the system and asked for again is cleared page by page each time.
    mallopt(M_MMAP_THRESHOLD, kKeptAllocationBytes);
    mallopt(M_TRIM_THRESHOLD, kKeptHeapBytes);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    signal(SIGPIPE, SIG_DFL);
    try {
        StreamWriter out(takeStream());
        LibmdbReader reader;
        reader.read(invocation->file, invocation->request, out);
        if (invocation->serve) {
            serve(reader, out);
        }
    } catch (...) {
        _exit(kStreamFailedExit);
    }
    // Without the exit handlers: libmdb leaves memory behind on damaged files, and a leak
    // report at exit would turn a good read into a failed one.
    _exit(0);
}
