#pragma once

#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// What a test checks of this process after isolated reads: nothing left open, no child left;
// and the reader programs it started.
namespace planora::test {

inline int openDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

inline bool noChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// The child processes of `parent`.
inline std::vector<pid_t> childrenOf(pid_t parent) {
    std::vector<pid_t> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        char state = 0;
        int ppid = 0;
        std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid);
        if (ppid == parent) {
            children.push_back(static_cast<pid_t>(std::stoi(name)));
        }
    }
    return children;
}

// A child process of `parent`, or 0.
inline pid_t childOf(pid_t parent) {
    const auto children = childrenOf(parent);
    return children.empty() ? 0 : children.front();
}

// Gone, or a zombie that nobody reaps (a container's first process may not).
inline bool ended(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

}  // namespace planora::test
