#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The texts of postex, the mail program, in Italian.
namespace planora::msg {

// The title of postex's message window.
std::string postexTitle();
// What postex prints when it is asked for help.
std::string postexUsage();

// --- The hand-off file ---
std::string handOffMissing(const std::filesystem::path& file);
std::string handOffWithoutSubjectLine(const std::filesystem::path& file);

// --- postex.conf ---
std::string configNotKeyValue(const std::filesystem::path& file, int line, std::string_view text);
std::string configUnknownKey(const std::filesystem::path& file, int line, std::string_view key);
std::string configRepeatedKey(const std::filesystem::path& file, int line, std::string_view key);
std::string configMissingKey(const std::filesystem::path& file, std::string_view key);
std::string configBadValue(const std::filesystem::path& file, std::string_view key,
                           std::string_view value, std::string_view expected);
std::string configPasswordWithoutUser(const std::filesystem::path& file);
std::string configUserWithoutPassword(const std::filesystem::path& file);
std::string emptyPasswordFile(const std::filesystem::path& file);

// --- Sending ---
// `server` is "host:port"; `reply` the server's last answer, `reason` the library's text.
std::string smtpCannotConnect(std::string_view server, std::string_view reason);
std::string smtpNoStartTls(std::string_view server);
std::string smtpTlsFailed(std::string_view server, std::string_view reason);
std::string smtpLoginRefused(std::string_view server, std::string_view user,
                             std::string_view reply);
std::string smtpCommandRefused(std::string_view server, std::string_view command,
                               std::string_view reply);
std::string smtpFailed(std::string_view server, std::string_view reason, std::string_view reply);
std::string mailSent(std::string_view server, std::string_view recipients);

// --- Without postex.conf: the desktop's mail program ---
std::string desktopMailMissing(std::string_view program, const std::filesystem::path& config);
std::string desktopMailFailed(std::string_view program, int status);
std::string desktopMailOpened(std::string_view program);

}  // namespace planora::msg
