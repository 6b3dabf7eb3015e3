#include "cli/arguments.h"

#include <algorithm>
#include <charconv>

#include "messages/cli_messages.h"

namespace planora::cli {

namespace {

bool isOption(const std::string& word, const std::vector<OptionDef>& options) {
    return std::ranges::find(options, word, &OptionDef::name) != options.end();
}

}  // namespace

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<OptionDef>& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || word[0] != '-') {
            positional_.push_back(word);
            continue;
        }
        const auto option = std::ranges::find(options, word, &OptionDef::name);
        if (option == options.end()) {
            throw UsageError(msg::unknownOption(word));
        }
        if (!option->takesValue) {
            values_[word] = "";
            continue;
        }
        // "--from --to 9": the value of --from is missing, it is not "--to".
        if (i + 1 >= args.size() || isOption(args[i + 1], options)) {
            throw UsageError(msg::optionNeedsValue(word));
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
        throw UsageError(msg::optionRequired(name));
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
        throw UsageError(msg::optionNeedsNumber(name, minimum, maximum, *text));
    }
    return result;
}

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "help";
}

}  // namespace planora::cli
