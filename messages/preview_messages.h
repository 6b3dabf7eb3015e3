#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The texts of the print preview and of the e-mail hand-off, in Italian.
namespace planora::msg {

// The caption of the preview window and the title of its notices.
std::string previewTitle();
// The title of the notices about handing the board to the mail program.
std::string mailTitle();

std::string mailProgramNotFound(std::string_view program,
                                const std::filesystem::path& besideFolder);
std::string cannotStartMailProgram(const std::filesystem::path& program, int errnum);
// The mail program ended with a failure status or was stopped by a signal.
std::string mailProgramFailed(const std::filesystem::path& program, int status);
std::string mailProgramKilled(const std::filesystem::path& program, int signal);

}  // namespace planora::msg
