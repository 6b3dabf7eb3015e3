#pragma once

#include <stdexcept>
#include <string>

namespace planora {

// The one failure type of the core. Its message is meant for the user: it names the file,
// table, field, criteria or line that the failure concerns.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace planora
