#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Finding and starting outside programs: the mail program and the desktop's mail opener.
namespace planora::preview {

// The folder of the running program.
std::filesystem::path programFolder();

// The executable of that name in the first folder of the PATH-style list that has one. Empty
// entries (the current folder) are not searched.
std::optional<std::filesystem::path> findOnPath(std::string_view name,
                                                std::string_view pathVariable);
// The same over the PATH of the environment.
std::optional<std::filesystem::path> findOnPath(std::string_view name);

// Starts the program with the arguments (arguments[0] is its name as it sees it) in the folder
// and does not wait for it: it runs in a session of its own, its input from /dev/null, and is
// not left behind as a child. Throws planora::Error `failure(errno)` when it cannot be started.
void startDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder);

// How a program that was waited for ended.
struct Ended {
    bool exited = false;  // else it was stopped by `signal`
    int status = 0;
    int signal = 0;
};

// Runs the program in the folder with the arguments and waits for it; its output goes where
// ours goes. Throws planora::Error when it cannot be started.
Ended runAndWait(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& folder);

}  // namespace planora::preview
