#pragma once

#include <filesystem>
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

// Starts the reader program with posix_spawn (never a fork of this process, whose other
// threads may hold locks) with its standard output on a pipe, and decodes the stream it writes
// there. The reader is killed when it passes a limit and is always reaped; no descriptor stays
// open. The time limit counts time without progress: it restarts whenever data arrives.
IsolatedRun runIsolated(const ReaderCommand& command, const AccessReadLimits& limits);

// The reason shown to the user, e.g. "il file sembra danneggiato (...)".
std::string describeFault(Fault fault, const std::string& detail, const AccessReadLimits& limits);

}  // namespace planora::db::access
