#include "db/access_request.h"

#include <charconv>

namespace planora::db::access {

std::vector<std::string> readerArguments(const ReaderInvocation& invocation) {
    std::vector<std::string> arguments = {"--parent", std::to_string(invocation.parent)};
    if (invocation.request.allTables) {
        arguments.emplace_back("--all");
    } else if (invocation.request.table) {
        arguments.emplace_back("--table");
        arguments.push_back(*invocation.request.table);
        if (!invocation.request.where.empty()) {
            arguments.emplace_back("--where");
            arguments.push_back(invocation.request.where);
        }
    } else {
        arguments.emplace_back("--list");
        if (invocation.request.definitions) {
            arguments.emplace_back("--definitions");
        }
    }
    // The file last, after "--", so that no file name can pass for an option.
    arguments.emplace_back("--");
    arguments.push_back(invocation.file.string());
    return arguments;
}

std::optional<ReaderInvocation> parseReaderArguments(const std::vector<std::string>& arguments) {
    ReaderInvocation invocation;
    std::size_t at = 0;
    auto next = [&]() -> const std::string* {
        return at < arguments.size() ? &arguments[at++] : nullptr;
    };
    const std::string* word = next();
    const std::string* pid = next();
    if (!word || *word != "--parent" || !pid) {
        return std::nullopt;
    }
    const auto parsed = std::from_chars(pid->data(), pid->data() + pid->size(), invocation.parent);
    if (parsed.ec != std::errc() || parsed.ptr != pid->data() + pid->size() ||
        invocation.parent <= 0) {
        return std::nullopt;
    }
    word = next();
    if (word && *word == "--all") {
        invocation.request.allTables = true;
    } else if (word && *word == "--table") {
        const std::string* table = next();
        if (!table) {
            return std::nullopt;
        }
        invocation.request.table = *table;
        if (at < arguments.size() && arguments[at] == "--where") {
            ++at;
            const std::string* where = next();
            if (!where || where->empty()) {
                return std::nullopt;
            }
            invocation.request.where = *where;
        }
    } else if (word && *word == "--list") {
        if (at < arguments.size() && arguments[at] == "--definitions") {
            ++at;
            invocation.request.definitions = true;
        }
    } else {
        return std::nullopt;
    }
    word = next();
    const std::string* file = next();
    if (!word || *word != "--" || !file || file->empty() || at != arguments.size()) {
        return std::nullopt;
    }
    invocation.file = *file;
    return invocation;
}

}  // namespace planora::db::access
