#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "board/validation.h"

namespace planora::dialog {

class MsgBox_Form;

// Shows the message dialog modally and returns the answer code of the button pressed
// (0 "Ok", 6 "Si", 7 "No", 2 "Annulla"). A dialog closed without a button press returns the
// answer of the previous call.
std::int16_t MostraMessaggio(const QString& message, std::int16_t buttons, const QString& title);
// The same with UTF-8 texts.
std::int16_t MostraMessaggio(const std::string& message, std::int16_t buttons,
                             const std::string& title);
// A notice of the core (button set 48).
std::int16_t MostraMessaggio(const board::Message& notice);

// Called with the dialog once it is on screen, before the user can answer it; empty by
// default. It lets the tests and other callers that run without a user answer the dialog.
using ShownHook = std::function<void(MsgBox_Form&)>;
void setShownHook(ShownHook hook);

}  // namespace planora::dialog
