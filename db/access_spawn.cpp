#include "db/access_spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace planora::db::access {

namespace {

int aboveStandard(int fd) {
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    close(fd);
    return moved;
}

}  // namespace

ReaderChannel::~ReaderChannel() {
    closeReaderEnd();
    if (own_ >= 0) {
        close(own_);
    }
}

bool ReaderChannel::open(Kind kind) {
    int fds[2];
    const int made = kind == Kind::Pipe ? pipe2(fds, O_CLOEXEC)
                                        : socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds);
    if (made != 0) {
        return false;
    }
    own_ = aboveStandard(fds[0]);  // a pipe's read end
    reader_ = aboveStandard(fds[1]);
    return own_ >= 0 && reader_ >= 0;
}

void ReaderChannel::closeReaderEnd() {
    if (reader_ >= 0) {
        close(reader_);
        reader_ = -1;
    }
}

int ReaderChannel::releaseOwnEnd() {
    return std::exchange(own_, -1);
}

int spawnReader(const ReaderCommand& command, int writeFd, int inputFd, pid_t& pid) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, writeFd, STDOUT_FILENO);
    if (inputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, inputFd, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // Every signal as a new program has it. Naming them all also spares the child a look at
    // each one's action before it sets it, which posix_spawn makes for those not named.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> words;
    words.push_back(command.program.filename().string());
    words.insert(words.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int result =
        posix_spawn(&pid, command.program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

}  // namespace planora::db::access
