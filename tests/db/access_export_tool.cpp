#include "access_export_tool.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace planora::test {

namespace {

// Marks a Null field in mdb-export's output; no sample text contains it.
const std::string nullMark = "\x01NULL\x01";

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string runCommand(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string out;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    if (::pclose(pipe) != 0) {
        throw std::runtime_error("failed: " + command);
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Undoes the quotes (doubled inside) and the C-style escapes of -e.
std::string unquoted(const std::string& field) {
    std::string body = field;
    if (body.size() >= 2 && body.front() == '"' && body.back() == '"') {
        body = body.substr(1, body.size() - 2);
    }
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"' && i + 1 < body.size() && body[i + 1] == '"') {
            out += '"';
            ++i;
        } else if (c == '\\' && i + 1 < body.size()) {
            const char e = body[++i];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto end = line.find('\t', start);
        fields.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return fields;
        }
        start = end + 1;
    }
}

}  // namespace

bool haveMdbTools() {
    return std::system(
               "command -v mdb-export >/dev/null 2>&1 && command -v mdb-tables "
               ">/dev/null 2>&1") == 0;
}

ExportedTable exportTable(const std::filesystem::path& file, const std::string& table,
                          const std::string& binaryMode) {
    const std::string command = "LC_ALL=C.UTF-8 mdb-export -e -d '\t' -0 " + shellQuoted(nullMark) +
                                " -b " + shellQuoted(binaryMode) +
                                " -T '%Y-%m-%d %H:%M:%S' -D '%Y-%m-%d %H:%M:%S' " +
                                shellQuoted(file.string()) + " " + shellQuoted(table);
    const auto lines = splitLines(runCommand(command));
    ExportedTable out;
    if (lines.empty()) {
        return out;
    }
    for (const auto& name : splitFields(lines[0])) {
        out.columns.push_back(name);
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::optional<std::string>> row;
        for (const auto& field : splitFields(lines[i])) {
            row.push_back(field == nullMark ? std::nullopt
                                            : std::optional<std::string>(unquoted(field)));
        }
        out.rows.push_back(std::move(row));
    }
    return out;
}

std::vector<std::string> listTables(const std::filesystem::path& file) {
    return splitLines(runCommand("LC_ALL=C.UTF-8 mdb-tables -1 " + shellQuoted(file.string())));
}

std::filesystem::path fixture(const std::string& relative) {
    return std::filesystem::path(PLANORA_FIXTURES_DIR) / relative;
}

void AccessSamples::SetUp() {
    const std::filesystem::path folder(PLANORA_FIXTURES_DIR);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        GTEST_SKIP() << "the sample Access files are missing: no folder "
                     << folder.lexically_normal().string();
    }
}

}  // namespace planora::test
