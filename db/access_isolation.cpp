#include "db/access_isolation.h"

#include <poll.h>
#include <signal.h>
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

// Resident bytes of a process, 0 when unknown.
std::size_t residentBytes(const char* statmPath) {
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

class ParentSide {
  public:
    ParentSide(pid_t pid, int readFd, const AccessReadLimits& limits)
        : pid_(pid), fd_(readFd), limits_(limits) {
        std::snprintf(statmPath_, sizeof statmPath_, "/proc/%d/statm", static_cast<int>(pid));
    }
    ParentSide(const ParentSide&) = delete;
    ParentSide& operator=(const ParentSide&) = delete;
    ~ParentSide() {
        if (fd_ >= 0) {
            close(fd_);
        }
        if (!reaped_) {
            kill(pid_, SIGKILL);
            reap(pid_, Clock::now());
        }
    }

    IsolatedRun run() {
        IsolatedRun out;
        try {
            out.fault = receive(out.detail);
        } catch (const ProtocolError& e) {
            out.fault = Fault::Malformed;
            out.detail = e.what();
        }
        close(fd_);
        fd_ = -1;
        if (out.fault != Fault::None) {
            kill(pid_, SIGKILL);
        }
        const int status = reap(pid_, Clock::now() + limits_.timePerTable);
        reaped_ = true;
        if (out.fault == Fault::None) {
            out.fault = judgeEnd(status, out.detail);
        }
        out.result = decoder_.takeResult();
        return out;
    }

  private:
    Fault receive(std::string& detail) {
        auto deadline = Clock::now() + limits_.timePerTable;
        auto nextMemoryCheck = Clock::now();
        std::size_t received = 0;
        std::string chunk(readChunkBytes, '\0');
        for (;;) {
            const auto now = Clock::now();
            if (now >= deadline) {
                return Fault::TimedOut;
            }
            if (now >= nextMemoryCheck) {
                if (residentBytes(statmPath_) > limits_.readerMemoryBytes) {
                    return Fault::OutOfMemory;
                }
                nextMemoryCheck = now + watchInterval;
            }
            const auto wait = std::min<Clock::duration>(deadline - now, watchInterval);
            pollfd p{fd_, POLLIN, 0};
            const int ready =
                poll(&p, 1,
                     static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
            if (ready <= 0) {
                continue;  // timeout or EINTR: check the limits again
            }
            const ssize_t n = read(fd_, chunk.data(), chunk.size());
            if (n == 0) {
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
            decoder_.feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
            deadline = Clock::now() + limits_.timePerTable;  // data came: the reader goes on
        }
    }

    Fault judgeEnd(int status, std::string& detail) {
        if (WIFEXITED(status) && WEXITSTATUS(status) == kReaderUsageExit) {
            detail = msg::readerWrongArguments();
            return Fault::CannotStart;
        }
        if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0)) {
            return Fault::Crashed;
        }
        decoder_.finish();
        return decoder_.result().done ? Fault::None : Fault::BrokenOff;
    }

    pid_t pid_;
    int fd_;
    const AccessReadLimits& limits_;
    char statmPath_[32];
    bool reaped_ = false;
    StreamDecoder decoder_;
};

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
    Pipe pipe;
    if (!pipe.open()) {
        return {{}, Fault::CannotStart, msg::readerCannotStart(command.program, errno)};
    }
    pid_t pid = 0;
    const int spawned = spawnReader(command, pipe.writeEnd(), pid);
    pipe.closeWriteEnd();
    if (spawned != 0) {
        return {{}, Fault::CannotStart, msg::readerCannotStart(command.program, spawned)};
    }
    ParentSide parent(pid, pipe.releaseReadEnd(), limits);
    try {
        return parent.run();
    } catch (const ProtocolError& e) {
        return {{}, Fault::Malformed, e.what()};
    }
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
