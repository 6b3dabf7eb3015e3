#include "db/access_isolation.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "db/access_request.h"
#include "db/access_spawn.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db::access {

namespace {

using Clock = std::chrono::steady_clock;

// How often the parent looks at the child's memory while waiting for data.
constexpr std::chrono::milliseconds watchInterval{20};
constexpr std::size_t readChunkBytes = 64 * 1024;
constexpr std::size_t requestsPerMemoryLook = 64;

// Resident bytes of a process, 0 when unknown.
std::size_t residentOf(const char* statmPath) {
    std::FILE* f = std::fopen(statmPath, "re");
    if (!f) {
        return 0;
    }
    unsigned long sizePages = 0, residentPages = 0;
    const int got = std::fscanf(f, "%lu %lu", &sizePages, &residentPages);
    std::fclose(f);
    return got == 2 ? residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

// Waits for the child; kills it if it has not ended by `deadline`. Returns the wait status.
int reap(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid || (got < 0 && errno != EINTR)) {
            return got == pid ? status : 0;  // ECHILD: SIGCHLD is ignored, nothing to reap
        }
        if (got == 0 && Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

// A started reader and the descriptors of its output and, when it serves, its input.
class ServingReader::Process {
  public:
    Process(pid_t pid, int outputFd, int inputFd, const AccessReadLimits& limits)
        : pid_(pid), output_(outputFd), input_(inputFd), limits_(limits) {
        std::snprintf(statmPath_, sizeof statmPath_, "/proc/%d/statm", static_cast<int>(pid));
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!ended_) {
            end(true);
        }
    }

    bool ended() const { return ended_; }
    pid_t pid() const { return pid_; }
    // The reader's resident memory as last seen while waiting for its data; read now when
    // not seen for `requestsPerMemoryLook` requests (an answer that comes at once is not worth
    // a look at /proc).
    std::size_t resident() {
        if (!ended_ && (lastSeenResident_ == 0 || answered_ % requestsPerMemoryLook == 0)) {
            lastSeenResident_ = residentOf(statmPath_);
        }
        return ended_ ? 0 : lastSeenResident_;
    }

    // Writes a request to a serving reader; a reader that has died is found by answer().
    void send(const std::string& frame) {
        std::size_t sent = 0;
        while (input_ >= 0 && sent < frame.size()) {
            const ssize_t n =
                ::send(input_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
    }

    // The answer to the request in progress: up to the reader's Done when it serves on,
    // else up to the end of its output and its exit.
    IsolatedRun answer() {
        IsolatedRun out;
        StreamDecoder decoder;
        bool outputEnded = false;
        try {
            out.fault = receive(decoder, out.detail, outputEnded);
        } catch (const ProtocolError& e) {
            out.fault = Fault::Malformed;
            out.detail = e.what();
        }
        ++answered_;
        if (out.fault == Fault::None && !outputEnded) {
            out.result = decoder.takeResult();
            return out;  // the reader waits for the next request
        }
        const int status = end(out.fault != Fault::None);
        if (out.fault == Fault::None) {
            out.fault = judgeEnd(status, decoder, out.detail);
        }
        out.result = decoder.takeResult();
        return out;
    }

    // Closes the descriptors and reaps the reader, killed at once or after the time limit.
    int end(bool killNow) {
        closeIfOpen(input_);
        closeIfOpen(output_);
        if (killNow) {
            kill(pid_, SIGKILL);
        }
        ended_ = true;
        return reap(pid_, Clock::now() + (killNow ? Clock::duration{} : limits_.timePerTable));
    }

  private:
    Fault receive(StreamDecoder& decoder, std::string& detail, bool& outputEnded) {
        auto deadline = Clock::now() + limits_.timePerTable;
        const bool serving = input_ >= 0;
        // A reader that serves on was looked at while it answered before.
        auto nextMemoryCheck = Clock::now() + (serving ? watchInterval : Clock::duration{});
        std::size_t received = 0;
        for (;;) {
            const auto now = Clock::now();
            if (now >= deadline) {
                return Fault::TimedOut;
            }
            if (now >= nextMemoryCheck) {
                lastSeenResident_ = residentOf(statmPath_);
                if (lastSeenResident_ > limits_.readerMemoryBytes) {
                    return Fault::OutOfMemory;
                }
                nextMemoryCheck = now + watchInterval;
            }
            const auto wait = std::min<Clock::duration>(deadline - now, watchInterval);
            pollfd p{output_, POLLIN, 0};
            const int ready =
                poll(&p, 1,
                     static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
            if (ready <= 0) {
                continue;  // timeout or EINTR: check the limits again
            }
            if (!chunk_) {
                // Once: a run asks for hundreds of single rows. Not cleared, so that an answer
                // of a few bytes touches no more of it than its first page.
                chunk_.reset(new char[readChunkBytes]);
            }
            const ssize_t n = read(output_, chunk_.get(), readChunkBytes);
            if (n == 0) {
                outputEnded = true;
                return Fault::None;
            }
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN) {
                    continue;
                }
                detail = msg::systemReason(errno);
                return Fault::BrokenOff;
            }
            received += static_cast<std::size_t>(n);
            if (received > limits_.streamBytes) {
                return Fault::TooMuchOutput;
            }
            decoder.feed(std::string_view(chunk_.get(), static_cast<std::size_t>(n)));
            if (serving && decoder.result().done) {
                return Fault::None;
            }
            deadline = Clock::now() + limits_.timePerTable;  // data came: the reader goes on
        }
    }

    static Fault judgeEnd(int status, StreamDecoder& decoder, std::string& detail) {
        if (WIFEXITED(status) && WEXITSTATUS(status) == kReaderUsageExit) {
            detail = msg::readerWrongArguments();
            return Fault::CannotStart;
        }
        if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0)) {
            return Fault::Crashed;
        }
        try {
            decoder.finish();
        } catch (const ProtocolError& e) {
            detail = e.what();
            return Fault::Malformed;
        }
        return decoder.result().done ? Fault::None : Fault::BrokenOff;
    }

    pid_t pid_;
    int output_;
    int input_;
    AccessReadLimits limits_;
    char statmPath_[32];
    std::unique_ptr<char[]> chunk_;  // what a read from the output takes in
    bool ended_ = false;
    std::size_t answered_ = 0;
    std::size_t lastSeenResident_ = 0;
};

namespace {

// Without printf, whose output depends on the process locale.
std::string duration(std::chrono::milliseconds ms) {
    const auto count = ms.count();
    return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

std::string mebibytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

}  // namespace

IsolatedRun runIsolated(const ReaderCommand& command, const AccessReadLimits& limits) {
    ReaderChannel output;
    if (!output.open(ReaderChannel::Kind::Pipe)) {
        return {{}, Fault::CannotStart, msg::readerCannotStart(command.program, errno)};
    }
    pid_t pid = 0;
    const int spawned = spawnReader(command, output.readerEnd(), -1, pid);
    output.closeReaderEnd();
    if (spawned != 0) {
        return {{}, Fault::CannotStart, msg::readerCannotStart(command.program, spawned)};
    }
    ServingReader::Process process(pid, output.releaseOwnEnd(), -1, limits);
    return process.answer();
}

ServingReader::ServingReader(std::unique_ptr<Process> process) : process_(std::move(process)) {}
ServingReader::~ServingReader() = default;

std::unique_ptr<ServingReader> ServingReader::start(const ReaderCommand& command,
                                                    const AccessReadLimits& limits,
                                                    IsolatedRun& first) {
    ReaderChannel output;
    ReaderChannel input;
    if (!output.open(ReaderChannel::Kind::Pipe) || !input.open(ReaderChannel::Kind::SocketPair)) {
        first = {{}, Fault::CannotStart, msg::readerCannotStart(command.program, errno)};
        return nullptr;
    }
    pid_t pid = 0;
    const int spawned = spawnReader(command, output.readerEnd(), input.readerEnd(), pid);
    output.closeReaderEnd();
    input.closeReaderEnd();
    if (spawned != 0) {
        first = {{}, Fault::CannotStart, msg::readerCannotStart(command.program, spawned)};
        return nullptr;
    }
    auto process =
        std::make_unique<Process>(pid, output.releaseOwnEnd(), input.releaseOwnEnd(), limits);
    first = process->answer();
    if (process->ended()) {
        return nullptr;
    }
    return std::make_unique<ServingReader>(std::move(process));
}

IsolatedRun ServingReader::serve(const std::vector<std::string>& arguments) {
    process_->send(requestFrame(arguments));
    return process_->answer();
}

bool ServingReader::alive() const {
    return !process_->ended();
}

std::size_t ServingReader::residentBytes() {
    return process_->resident();
}

pid_t ServingReader::pid() const {
    return process_->pid();
}

std::string describeFault(Fault fault, const std::string& detail, const AccessReadLimits& limits) {
    switch (fault) {
        case Fault::None:
            return {};
        case Fault::CannotStart:
            return detail;
        case Fault::Crashed:
            return msg::readerCrashed();
        case Fault::TimedOut:
            return msg::readerStalled(duration(limits.timePerTable));
        case Fault::OutOfMemory:
            return msg::readerOutOfMemory(mebibytes(limits.readerMemoryBytes));
        case Fault::TooMuchOutput:
            return msg::readerTooMuchOutput(mebibytes(limits.streamBytes));
        case Fault::Malformed:
            return msg::readerBadData(detail);
        case Fault::BrokenOff:
            return msg::readerStoppedEarly();
    }
    return msg::readerCrashed();
}

}  // namespace planora::db::access
