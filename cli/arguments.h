#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace planora::cli {

// A command line that does not fit the command's options; its message goes before the usage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct OptionDef {
    std::string name;  // "--hotel"
    bool takesValue = false;
};

// The options and positional arguments of one command.
class Arguments {
  public:
    // args are the words after the command name. Throws UsageError for an unknown option or a
    // missing value (an option that takes one, followed by nothing or by another option).
    Arguments(const std::vector<std::string>& args, const std::vector<OptionDef>& options);

    bool has(const std::string& name) const { return values_.contains(name); }
    std::optional<std::string> value(const std::string& name) const;
    std::string required(const std::string& name) const;
    // A whole number in [minimum, maximum]; fallback when the option is absent.
    long long number(const std::string& name, long long minimum, long long maximum,
                     long long fallback) const;
    const std::vector<std::string>& positional() const { return positional_; }

  private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

bool isHelp(const std::string& word);

}  // namespace planora::cli
