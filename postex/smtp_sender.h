#pragma once

#include <string_view>

#include "postex/mail_config.h"

namespace planora::postex {

// Sends the message through the server of the settings (libcurl's SMTP: STARTTLS or TLS as set,
// login when a user is set) to every recipient. Returns when the server has accepted it; throws
// planora::Error with the server's reply (a refused login, a refused sender or recipient, no
// STARTTLS, a certificate that cannot be trusted, no connection) otherwise. A recipient that
// the server refuses fails the whole message, so nobody gets it while someone else does not.
void sendMail(const MailConfig& config, std::string_view message);

}  // namespace planora::postex
