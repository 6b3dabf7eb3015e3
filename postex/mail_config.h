#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planora::postex {

inline constexpr std::string_view kConfigFile = "postex.conf";

enum class Security { StartTls, Tls, None };

// Where and how the mail is sent: the settings of "postex.conf".
struct MailConfig {
    std::string server;
    int port = 0;
    Security security = Security::StartTls;
    std::string user;      // empty: no login
    std::string password;  // from "password" or the first line of "password_file"
    std::string from;
    std::vector<std::string> to;
    std::filesystem::path caFile;  // extra trusted authorities; empty: the system's only

    // "host:port", as messages name the server.
    std::string serverName() const;
};

// The settings of a "postex.conf" text; `file` names it in messages and password_file is read
// relative to `dataFolder`. Throws planora::Error naming the file, line, key or value.
MailConfig parseMailConfig(std::string_view text, const std::filesystem::path& file,
                           const std::filesystem::path& dataFolder);

// "postex.conf" of the data folder (found without regard to case), or nothing when there is
// none. `file` receives where it is or would be.
std::optional<MailConfig> loadMailConfig(const std::filesystem::path& dataFolder,
                                         std::filesystem::path* file = nullptr);

}  // namespace planora::postex
