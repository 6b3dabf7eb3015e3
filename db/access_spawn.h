#pragma once

#include <sys/types.h>

#include "db/access_isolation.h"

// Starting the reader program: the pipe of its output and the spawn itself.
namespace planora::db::access {

// The two ends of the reader's output, kept above the standard descriptors so that the
// spawned program can take the write end as its standard output. Both close-on-exec.
class Pipe {
  public:
    Pipe() = default;
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe();

    bool open();  // false with errno set when no pipe could be made
    int writeEnd() const { return write_; }
    void closeWriteEnd();
    int releaseReadEnd();

  private:
    int read_ = -1;
    int write_ = -1;
};

// The two ends of a serving reader's input: a socket pair rather than a pipe, so that writing
// to a reader that has died fails with EPIPE instead of raising SIGPIPE here. Both
// close-on-exec, above the standard descriptors.
class InputChannel {
  public:
    InputChannel() = default;
    InputChannel(const InputChannel&) = delete;
    InputChannel& operator=(const InputChannel&) = delete;
    ~InputChannel();

    bool open();  // false with errno set when no socket pair could be made
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
