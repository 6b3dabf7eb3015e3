#pragma once

#include <filesystem>
#include <string_view>

#include "postex/handoff.h"

namespace planora::postex {

inline constexpr std::string_view kDesktopMail = "xdg-email";

// Opens a new message with the subject and body in the desktop's mail program (xdg-email,
// found on the PATH) and waits for it to take it. Throws planora::Error when it is missing or
// reports a failure; `config` names the settings file that would have avoided it.
void openDesktopMail(const HandOff& handOff, const std::filesystem::path& dataFolder,
                     const std::filesystem::path& config);

}  // namespace planora::postex
