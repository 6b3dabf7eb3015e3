#include "postex/smtp_sender.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <string>

#include "db/error.h"
#include "messages/postex_messages.h"

namespace planora::postex {

namespace {

// What the conversation with the server has come to: the last command that names something
// the user can act on (never AUTH, which carries the credentials), the server's last reply, and
// the first reply that refused something (the QUIT that follows would hide it) with the command
// it answered.
struct Conversation {
    std::string command;
    std::string reply;
    std::string refusedCommand;
    std::string refusal;
};

std::string firstLine(const char* data, std::size_t size) {
    std::string line(data, size);
    const std::size_t end = line.find_first_of("\r\n");
    return end == std::string::npos ? line : line.substr(0, end);
}

int onTrace(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* conversation = static_cast<Conversation*>(user);
    if (type == CURLINFO_HEADER_IN) {
        conversation->reply = firstLine(data, size);
        if (conversation->refusal.empty() && !conversation->reply.empty() &&
            conversation->reply.front() >= '4') {
            conversation->refusal = conversation->reply;
            conversation->refusedCommand = conversation->command;
        }
    } else if (type == CURLINFO_HEADER_OUT) {
        const std::string line = firstLine(data, size);
        if (line.starts_with("MAIL FROM") || line.starts_with("RCPT TO") || line == "DATA") {
            conversation->command = line;
        } else if (line.starts_with("AUTH")) {
            conversation->command.clear();
        }
    }
    return 0;
}

struct Upload {
    std::string_view rest;
};

std::size_t onRead(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const std::size_t length = std::min(size * count, upload->rest.size());
    std::memcpy(buffer, upload->rest.data(), length);
    upload->rest.remove_prefix(length);
    return length;
}

std::string urlOf(const MailConfig& config) {
    const bool bracket =
        config.server.find(':') != std::string::npos && config.server.front() != '[';
    const std::string host = bracket ? "[" + config.server + "]" : config.server;
    return (config.security == Security::Tls ? "smtps://" : "smtp://") + host + ":" +
           std::to_string(config.port);
}

[[noreturn]] void fail(CURLcode code, const MailConfig& config, const Conversation& talk,
                       const char* detail) {
    const std::string server = config.serverName();
    const std::string reason = detail[0] != '\0' ? detail : curl_easy_strerror(code);
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
            throw Error(msg::smtpCannotConnect(server, reason));
        case CURLE_USE_SSL_FAILED:
            throw Error(msg::smtpNoStartTls(server));
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
            throw Error(msg::smtpTlsFailed(server, reason));
        case CURLE_LOGIN_DENIED:
            throw Error(msg::smtpLoginRefused(server, config.user, talk.refusal));
        default:
            break;
    }
    if (!talk.refusedCommand.empty()) {
        throw Error(msg::smtpCommandRefused(server, talk.refusedCommand, talk.refusal));
    }
    throw Error(msg::smtpFailed(server, reason, talk.refusal.empty() ? talk.reply : talk.refusal));
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

}  // namespace

void sendMail(const MailConfig& config, std::string_view message) {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
    CurlHandle curl(curl_easy_init(), &curl_easy_cleanup);
    CurlList recipients(nullptr, &curl_slist_free_all);
    for (const std::string& to : config.to) {
        recipients.reset(curl_slist_append(recipients.release(), ("<" + to + ">").c_str()));
    }
    Conversation talk;
    Upload upload{message};
    char detail[CURL_ERROR_SIZE] = "";
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, urlOf(config).c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops answering must not leave the clerk waiting for ever.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     config.security == Security::None ? CURLUSESSL_NONE : CURLUSESSL_ALL);
    if (!config.caFile.empty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, config.caFile.c_str());
    }
    if (!config.user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, config.user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, config.password.c_str());
    }
    const std::string from = "<" + config.from + ">";
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &onRead);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &onTrace);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &talk);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK) {
        fail(code, config, talk, detail);
    }
}

}  // namespace planora::postex
