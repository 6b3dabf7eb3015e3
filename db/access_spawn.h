#pragma once

#include <sys/types.h>

#include "db/access_isolation.h"

// Starting the reader program: the channels of its output and input, and the spawn itself.
namespace planora::db::access {

// A channel between this program and the reader: one end kept here, the other handed to the
// reader as its standard output or input. Both close-on-exec and above the standard
// descriptors, so that the spawned program can take its end in place of one of them.
class ReaderChannel {
  public:
    enum class Kind {
        Pipe,        // the reader's output: it writes, this program reads
        SocketPair,  // a serving reader's input: writing to a reader that has died fails
                     // with EPIPE instead of raising SIGPIPE here
    };

    ReaderChannel() = default;
    ReaderChannel(const ReaderChannel&) = delete;
    ReaderChannel& operator=(const ReaderChannel&) = delete;
    ~ReaderChannel();

    bool open(Kind kind);  // false with errno set when no channel could be made
    int readerEnd() const { return reader_; }
    void closeReaderEnd();
    int releaseOwnEnd();

  private:
    int own_ = -1;
    int reader_ = -1;
};

// Starts the reader with posix_spawn: its standard output is writeFd, its standard input
// inputFd (/dev/null when negative), standard error /dev/null (libmdb prints warnings), no
// other descriptor of this process, default signal dispositions and no blocked signals,
// whatever this process's threads have set. Returns 0 and the reader's pid, or an errno value.
int spawnReader(const ReaderCommand& command, int writeFd, int inputFd, pid_t& pid);

}  // namespace planora::db::access
