#include "preview/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "db/error.h"
#include "messages/preview_messages.h"

extern char** environ;

namespace planora::preview {

namespace {

bool isExecutableFile(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(file, ignored) && ::access(file.c_str(), X_OK) == 0;
}

// argv for exec: pointers into the strings, ended by a null pointer.
std::vector<char*> argvOf(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

// In the forked child only: tells the parent why it could not go on, and ends.
[[noreturn]] void failChild(int reportFd) {
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

}  // namespace

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

std::optional<std::filesystem::path> findOnPath(std::string_view name,
                                                std::string_view pathVariable) {
    while (!pathVariable.empty()) {
        const std::size_t colon = pathVariable.find(':');
        const std::string_view folder = pathVariable.substr(0, colon);
        pathVariable =
            colon == std::string_view::npos ? std::string_view() : pathVariable.substr(colon + 1);
        if (folder.empty()) {
            continue;
        }
        std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> findOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    return findOnPath(name, path != nullptr ? path : "");
}

void startDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder) {
    std::vector<char*> argv = argvOf(arguments);
    const std::string folderText = folder.string();
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        throw Error(msg::cannotStartMailProgram(program, errno));
    }
    // Forked twice so that the program is adopted by init and never waits as our zombie; only
    // async-signal-safe calls between fork and exec.
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            failChild(report[1]);
        }
        if (grandchild > 0) {
            ::_exit(0);
        }
        ::setsid();
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 || ::chdir(folderText.c_str()) != 0) {
            failChild(report[1]);
        }
        ::execve(program.c_str(), argv.data(), environ);
        failChild(report[1]);
    }
    const int forkError = errno;
    ::close(report[1]);
    int childError = 0;
    if (child < 0) {
        childError = forkError;
    } else {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (::read(report[0], &childError, sizeof childError) != sizeof childError) {
            childError = 0;
        }
    }
    ::close(report[0]);
    if (childError != 0) {
        throw Error(msg::cannotStartMailProgram(program, childError));
    }
}

Ended runAndWait(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& folder) {
    std::vector<char*> argv = argvOf(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw Error(msg::cannotStartMailProgram(program, error));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        return {true, WEXITSTATUS(status), 0};
    }
    return {false, 0, WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

}  // namespace planora::preview
