#include "postex/mail_config.h"

#include <algorithm>
#include <array>
#include <map>

#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/postex_messages.h"
#include "preview/screen_text.h"

namespace planora::postex {

namespace {

constexpr std::array<std::string_view, 9> kKeys = {
    "server", "port", "security", "user", "password", "password_file", "from", "to", "ca_file"};

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

// The key = value lines of the file; comments and empty lines left out.
std::map<std::string, std::string> settingsOf(std::string_view text,
                                              const std::filesystem::path& file) {
    std::map<std::string, std::string> settings;
    int number = 0;
    for (const std::string& raw : preview::splitBoardLines(text)) {
        ++number;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key = lowerCase(trimmed(line.substr(0, std::min(equals, line.size()))));
        if (equals == std::string_view::npos || key.empty()) {
            throw Error(msg::configNotKeyValue(file, number, line));
        }
        if (std::ranges::find(kKeys, key) == kKeys.end()) {
            throw Error(msg::configUnknownKey(file, number, key));
        }
        if (!settings.emplace(key, trimmed(line.substr(equals + 1))).second) {
            throw Error(msg::configRepeatedKey(file, number, key));
        }
    }
    return settings;
}

// A plain address: something@domain, without blanks, quotes, angle brackets or controls, so
// that it cannot break the envelope or a header.
bool isPlainAddress(std::string_view address) {
    const std::size_t at = address.find('@');
    const bool clean = std::ranges::none_of(address, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || c == '<' || c == '>' || c == '"' || c == ',' ||
               c == ';' || c == '(' || c == ')';
    });
    return clean && at != std::string_view::npos && at > 0 && at + 1 < address.size() &&
           address.find('@', at + 1) == std::string_view::npos;
}

bool isHostName(std::string_view host) {
    return !host.empty() && std::ranges::all_of(host, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']';
    });
}

class Reader {
  public:
    Reader(std::map<std::string, std::string> settings, const std::filesystem::path& file)
        : settings_(std::move(settings)), file_(file) {}

    std::string optional(const std::string& key) const {
        const auto found = settings_.find(key);
        return found == settings_.end() ? std::string() : found->second;
    }
    std::string required(const std::string& key) const {
        std::string value = optional(key);
        if (value.empty()) {
            throw Error(msg::configMissingKey(file_, key));
        }
        return value;
    }
    [[noreturn]] void bad(std::string_view key, std::string_view expected) const {
        throw Error(msg::configBadValue(file_, key, optional(std::string(key)), expected));
    }

  private:
    std::map<std::string, std::string> settings_;
    std::filesystem::path file_;
};

Security securityOf(const Reader& reader) {
    const std::string value = lowerCase(reader.optional("security"));
    if (value.empty() || value == "starttls") {
        return Security::StartTls;
    }
    if (value == "tls") {
        return Security::Tls;
    }
    if (value == "none") {
        return Security::None;
    }
    reader.bad("security", "starttls, tls oppure none");
}

int portOf(const Reader& reader, Security security) {
    const std::string value = reader.optional("port");
    if (value.empty()) {
        return security == Security::Tls ? 465 : security == Security::StartTls ? 587 : 25;
    }
    int port = 0;
    for (const char c : value) {
        if (c < '0' || c > '9' || port > 65535) {
            reader.bad("port", "un numero da 1 a 65535");
        }
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) {
        reader.bad("port", "un numero da 1 a 65535");
    }
    return port;
}

std::vector<std::string> recipientsOf(const Reader& reader) {
    const std::string list = reader.required("to");
    std::vector<std::string> to;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view address =
            trimmed(std::string_view(list).substr(start, comma - start));
        if (!isPlainAddress(address)) {
            reader.bad("to", "un elenco di indirizzi come nome@dominio separati da virgole");
        }
        to.emplace_back(address);
        start = comma + 1;
    }
    return to;
}

// The first line of the password file, without its line end.
std::string passwordFrom(const std::filesystem::path& file) {
    const std::vector<std::string> lines = preview::splitBoardLines(files::readFile(file));
    if (lines.empty() || lines.front().empty()) {
        throw Error(msg::emptyPasswordFile(file));
    }
    return lines.front();
}

void readLogin(const Reader& reader, const std::filesystem::path& file,
               const std::filesystem::path& dataFolder, MailConfig& config) {
    config.user = reader.optional("user");
    const std::string passwordFile = reader.optional("password_file");
    config.password = reader.optional("password");
    if (!passwordFile.empty() && !config.password.empty()) {
        reader.bad("password_file", "assente quando è indicata \"password\"");
    }
    if (!passwordFile.empty()) {
        config.password = passwordFrom(dataFolder / passwordFile);
    }
    if (config.user.empty() && !config.password.empty()) {
        throw Error(msg::configPasswordWithoutUser(file));
    }
    if (!config.user.empty() && config.password.empty()) {
        throw Error(msg::configUserWithoutPassword(file));
    }
}

}  // namespace

std::string MailConfig::serverName() const {
    return server + ":" + std::to_string(port);
}

MailConfig parseMailConfig(std::string_view text, const std::filesystem::path& file,
                           const std::filesystem::path& dataFolder) {
    const Reader reader(settingsOf(text, file), file);
    MailConfig config;
    config.server = reader.required("server");
    if (!isHostName(config.server)) {
        reader.bad("server", "un nome o un indirizzo di server");
    }
    config.security = securityOf(reader);
    config.port = portOf(reader, config.security);
    readLogin(reader, file, dataFolder, config);
    config.from = reader.required("from");
    if (!isPlainAddress(config.from)) {
        reader.bad("from", "un indirizzo come nome@dominio");
    }
    config.to = recipientsOf(reader);
    const std::string caFile = reader.optional("ca_file");
    if (!caFile.empty()) {
        config.caFile = dataFolder / caFile;
    }
    return config;
}

std::optional<MailConfig> loadMailConfig(const std::filesystem::path& dataFolder,
                                         std::filesystem::path* file) {
    const std::filesystem::path found = files::fileNoCase(dataFolder, kConfigFile);
    if (file != nullptr) {
        *file = found;
    }
    std::error_code ignored;
    if (!std::filesystem::exists(found, ignored)) {
        return std::nullopt;
    }
    return parseMailConfig(files::readFile(found), found, dataFolder);
}

}  // namespace planora::postex
