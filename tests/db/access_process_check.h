#pragma once

#include <sys/wait.h>

#include <cerrno>
#include <filesystem>

// What a test checks of this process after isolated reads: nothing left open, no child left.
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

}  // namespace planora::test
