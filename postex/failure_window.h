#pragma once

#include <string>

namespace planora::postex {

// Shows the failure in the program's message dialog when a display is there (DISPLAY or
// WAYLAND_DISPLAY set); does nothing otherwise.
void showFailureWhenDisplayed(int argc, char** argv, const std::string& message);

}  // namespace planora::postex
