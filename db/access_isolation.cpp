#include "db/access_isolation.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <thread>

#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db::access {

namespace {

using Clock = std::chrono::steady_clock;

// How often the parent looks at the child's memory while waiting for data.
constexpr std::chrono::milliseconds watchInterval{20};
constexpr std::size_t readChunkBytes = 64 * 1024;
constexpr int writerFailedExit = 3;

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

void closeDescriptorsExcept(int keep) {
    if (keep > 3) {
        close_range(3, static_cast<unsigned>(keep) - 1, 0);
    }
    close_range(static_cast<unsigned>(keep) + 1, ~0u, 0);
}

// The child's setting: killed when we end (nobody else would stop a hung reader), no core
// dumps, no terminal output (libmdb prints warnings, and the inherited stdio buffers must not
// reach the parent's output), no other inherited descriptors, and the "C" locale so that
// nothing libmdb prints depends on the parent's.
int prepareChild(int writeFd, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(writerFailedExit);
    }
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (writeFd < 3) {
        writeFd = fcntl(writeFd, F_DUPFD, 3);
    }
    const int devNull = open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd) {
        dup2(devNull, fd);
    }
    closeDescriptorsExcept(writeFd);
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_NUMERIC, "C");
    signal(SIGPIPE, SIG_DFL);
    return writeFd;
}

[[noreturn]] void runChild(const std::function<void(int)>& reader, int writeFd, pid_t parent) {
    const int fd = prepareChild(writeFd, parent);
    try {
        reader(fd);
    } catch (...) {
        _exit(writerFailedExit);
    }
    _exit(0);
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
        memoryLimit_ = residentBytes("/proc/self/statm") + limits.readerMemoryBytes;
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
            out.fault = judgeEnd(status);
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
                if (residentBytes(statmPath_) > memoryLimit_) {
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
                detail = std::strerror(errno);
                return Fault::BrokenOff;
            }
            received += static_cast<std::size_t>(n);
            if (received > limits_.streamBytes) {
                return Fault::TooMuchOutput;
            }
            if (decoder_.feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)))) {
                deadline = Clock::now() + limits_.timePerTable;
            }
        }
    }

    Fault judgeEnd(int status) {
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
    std::size_t memoryLimit_ = 0;
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

IsolatedRun runIsolated(const std::function<void(int fd)>& reader, const AccessReadLimits& limits) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return {{}, Fault::CannotStart, msg::systemReason(errno)};
    }
    const pid_t self = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        const int error = errno;
        close(fds[0]);
        close(fds[1]);
        return {{}, Fault::CannotStart, msg::systemReason(error)};
    }
    if (pid == 0) {
        close(fds[0]);
        runChild(reader, fds[1], self);
    }
    close(fds[1]);
    ParentSide parent(pid, fds[0], limits);
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
