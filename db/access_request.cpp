#include "db/access_request.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>

namespace planora::db::access {

namespace {

template <typename Number>
std::string numberList(const std::vector<Number>& numbers) {
    std::string list;
    for (const Number n : numbers) {
        if (!list.empty()) {
            list.push_back(',');
        }
        list += std::to_string(n);
    }
    return list;
}

template <typename Number>
std::optional<std::vector<Number>> parseNumberList(std::string_view list) {
    std::vector<Number> numbers;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view word = list.substr(0, comma);
        Number n{};
        const auto parsed = std::from_chars(word.data(), word.data() + word.size(), n);
        if (word.empty() || parsed.ec != std::errc() || parsed.ptr != word.data() + word.size()) {
            return std::nullopt;
        }
        numbers.push_back(n);
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
        if (list.empty()) {
            return std::nullopt;  // a trailing comma
        }
    }
    return numbers;
}

// The option after a table's name, if any: --where, --columns or --rows with its word.
template <typename Next>
bool parseTableOption(const Next& next, const std::string* option, ReadRequest& request) {
    if (!option || (*option != "--where" && *option != "--columns" && *option != "--rows")) {
        return true;
    }
    next();
    const std::string* word = next();
    if (!word) {
        return false;
    }
    if (*option == "--where") {
        request.where = *word;
        return !word->empty();
    }
    if (*option == "--columns") {
        request.columns = parseNumberList<std::size_t>(*word);
        return request.columns.has_value();
    }
    request.rows = parseNumberList<std::uint64_t>(*word);
    return request.rows.has_value();
}

}  // namespace

std::vector<std::string> readerArguments(const ReaderInvocation& invocation) {
    std::vector<std::string> arguments = {"--parent", std::to_string(invocation.parent)};
    if (invocation.serve) {
        arguments.emplace_back("--serve");
    }
    if (invocation.request.allTables) {
        arguments.emplace_back("--all");
    } else if (invocation.request.table) {
        arguments.emplace_back("--table");
        arguments.push_back(*invocation.request.table);
        if (!invocation.request.where.empty()) {
            arguments.emplace_back("--where");
            arguments.push_back(invocation.request.where);
        } else if (invocation.request.columns) {
            arguments.emplace_back("--columns");
            arguments.push_back(numberList(*invocation.request.columns));
        } else if (invocation.request.rows) {
            arguments.emplace_back("--rows");
            arguments.push_back(numberList(*invocation.request.rows));
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
    if (word && *word == "--serve") {
        invocation.serve = true;
        word = next();
    }
    if (word && *word == "--all") {
        invocation.request.allTables = true;
    } else if (word && *word == "--table") {
        const std::string* table = next();
        if (!table) {
            return std::nullopt;
        }
        invocation.request.table = *table;
        if (!parseTableOption(next, at < arguments.size() ? &arguments[at] : nullptr,
                              invocation.request)) {
            return std::nullopt;
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

namespace {

// No request comes near this: a file name and a criteria of a few hundred characters.
constexpr std::uint32_t maxFrameBytes = 1u << 20;

void appendNumber(std::string& out, std::uint32_t n) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((n >> shift) & 0xff));
    }
}

std::uint32_t numberAt(const char* at) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(at);
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

}  // namespace

std::string requestFrame(const std::vector<std::string>& arguments) {
    std::string frame;
    appendNumber(frame, static_cast<std::uint32_t>(arguments.size()));
    for (const auto& word : arguments) {
        appendNumber(frame, static_cast<std::uint32_t>(word.size()));
        frame += word;
    }
    return frame;
}

bool RequestReader::fill(std::size_t bytes) {
    if (at_ > 0 && buffer_.size() - at_ < bytes) {
        buffer_.erase(0, at_);  // offsets from at_ stay as they were
        at_ = 0;
    }
    while (buffer_.size() - at_ < bytes) {
        const std::size_t had = buffer_.size();
        buffer_.resize(had + std::max(bytes - (had - at_), kChunkBytes));
        ssize_t n = 0;
        do {
            n = ::read(fd_, buffer_.data() + had, buffer_.size() - had);
        } while (n < 0 && errno == EINTR);
        buffer_.resize(had + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (n <= 0) {
            return false;
        }
    }
    return true;
}

FrameRead RequestReader::next(std::vector<std::string>& arguments) {
    arguments.clear();
    if (!fill(4)) {
        return buffer_.size() == at_ ? FrameRead::End : FrameRead::Malformed;
    }
    const std::uint32_t count = numberAt(buffer_.data() + at_);
    std::size_t frame = 4;  // bytes of the frame so far
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!fill(frame + 4)) {
            return FrameRead::Malformed;
        }
        const std::uint32_t size = numberAt(buffer_.data() + at_ + frame);
        frame += 4;
        if (frame + size > maxFrameBytes || !fill(frame + size)) {
            return FrameRead::Malformed;
        }
        arguments.emplace_back(buffer_.data() + at_ + frame, size);
        frame += size;
    }
    at_ += frame;
    return FrameRead::Request;
}

}  // namespace planora::db::access
