#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "db/access_limits.h"
#include "db/access_protocol.h"

namespace planora::db::access {

// Why an isolated read did not deliver a complete stream.
enum class Fault {
    None,
    CannotStart,    // no process or pipe could be made, or the program refused its arguments
    Crashed,        // the reader died of a signal or failed
    TimedOut,       // no data came for longer than the time limit
    OutOfMemory,    // the reader's resident memory passed the limit
    TooMuchOutput,  // the reader sent more than the stream limit
    Malformed,      // the stream broke the protocol
    BrokenOff,      // the stream ended before its end message
};

struct IsolatedRun {
    StreamResult result;  // what arrived before any fault
    Fault fault = Fault::None;
    std::string detail;  // the protocol fault or the system's reason, if any
};

// A reader program and its arguments (without the program name).
struct ReaderCommand {
    std::filesystem::path program;
    std::vector<std::string> arguments;
};

// A reader started with --serve: it answers the request of its command line, then each request
// sent to it, until it is stopped. One request at a time. A reader that passed a limit, broke
// the protocol or ended is gone: it is killed and reaped, and serves no more.
class ServingReader {
  public:
    // Starts the reader and receives its answer to the command line's request; null when the
    // reader did not stay (the run says why).
    static std::unique_ptr<ServingReader> start(const ReaderCommand& command,
                                                const AccessReadLimits& limits, IsolatedRun& first);
    ~ServingReader();  // stops the reader and reaps it
    ServingReader(const ServingReader&) = delete;
    ServingReader& operator=(const ServingReader&) = delete;

    // Sends a request (the words of readerArguments, with serve) and receives the answer.
    IsolatedRun serve(const std::vector<std::string>& arguments);
    bool alive() const;
    // The reader's resident memory, 0 when unknown.
    std::size_t residentBytes();
    pid_t pid() const;

    class Process;
    explicit ServingReader(std::unique_ptr<Process> process);

  private:
    std::unique_ptr<Process> process_;
};

// Starts the reader program with posix_spawn (never a fork of this process, whose other
// threads may hold locks) with its standard output on a pipe, and decodes the stream it writes
// there. The reader is killed when it passes a limit and is always reaped; no descriptor stays
// open. The time limit counts time without progress: it restarts whenever data arrives.
IsolatedRun runIsolated(const ReaderCommand& command, const AccessReadLimits& limits);

// The reason shown to the user, e.g. "il file sembra danneggiato (...)".
std::string describeFault(Fault fault, const std::string& detail, const AccessReadLimits& limits);

}  // namespace planora::db::access
