#include "cli/arguments.h"

#include <algorithm>
#include <charconv>

namespace planora::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<OptionDef>& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || word[0] != '-') {
            positional_.push_back(word);
            continue;
        }
        const auto option = std::ranges::find(options, word, &OptionDef::name);
        if (option == options.end()) {
            throw UsageError("unknown option " + word);
        }
        if (!option->takesValue) {
            values_[word] = "";
            continue;
        }
        if (i + 1 >= args.size()) {
            throw UsageError("option " + word + " needs a value");
        }
        values_[word] = args[++i];
    }
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string Arguments::required(const std::string& name) const {
    const auto found = value(name);
    if (!found) {
        throw UsageError("option " + name + " is required");
    }
    return *found;
}

long long Arguments::number(const std::string& name, long long minimum, long long maximum,
                            long long fallback) const {
    const auto text = value(name);
    if (!text) {
        return fallback;
    }
    long long result = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, result);
    if (error != std::errc() || stop != end || result < minimum || result > maximum) {
        throw UsageError("option " + name + " needs a whole number from " +
                         std::to_string(minimum) + " to " + std::to_string(maximum) + ", not '" +
                         *text + "'");
    }
    return result;
}

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "help";
}

}  // namespace planora::cli
