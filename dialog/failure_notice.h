#pragma once

#include <functional>

namespace planora::dialog {

// Runs one step of a window's event handler. Whatever it throws — a planora::Error, a failure
// of memory or of the file system, any library's exception — is shown in the message dialog
// (button set 48, title "Errore") instead of leaving the handler, where it would end the
// program. Returns false after a failure.
bool showingFailures(const std::function<void()>& step);

// Shows the failure being handled; call it only inside a catch block.
void showCurrentFailure();

}  // namespace planora::dialog
