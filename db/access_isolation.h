#pragma once

#include <functional>
#include <string>

#include "db/access_limits.h"
#include "db/access_protocol.h"

namespace planora::db::access {

// Why an isolated read did not deliver a complete stream.
enum class Fault {
    None,
    CannotStart,    // no process or pipe could be made
    Crashed,        // the reader died of a signal or failed
    TimedOut,       // a step took longer than the time limit
    OutOfMemory,    // the reader's resident memory passed the limit
    TooMuchOutput,  // the reader sent more than the stream limit
    Malformed,      // the stream broke the protocol
    BrokenOff,      // the stream ended before its end message
};

struct IsolatedRun {
    StreamResult result;  // what arrived before any fault
    Fault fault = Fault::None;
    std::string detail;  // the protocol fault or the system error, if any
};

// Runs `reader` in a forked child process that writes the stream to the descriptor it is given,
// and decodes the stream here. The child is killed when it passes a limit and is always reaped;
// no descriptor stays open. The clock restarts at each completed step of the stream.
IsolatedRun runIsolated(const std::function<void(int fd)>& reader, const AccessReadLimits& limits);

// The reason shown to the user, e.g. "the file seems damaged (the reader crashed)".
std::string describeFault(Fault fault, const std::string& detail, const AccessReadLimits& limits);

}  // namespace planora::db::access
