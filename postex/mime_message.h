#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "postex/handoff.h"

namespace planora::postex {

// The name the board is attached under.
inline constexpr std::string_view kAttachmentName = "tableau.txt";

// What goes into one message besides the hand-off.
struct Envelope {
    std::string from;
    std::vector<std::string> to;
    std::time_t date = 0;
    std::string messageId;  // without the angle brackets
    std::string boundary;
};

// The whole message, lines ended by CR LF: headers (Date, From, To, Subject encoded where it
// is not plain ASCII, Message-ID, MIME-Version), then a multipart/mixed body with the text as
// quoted-printable UTF-8 (not re-wrapped: the reader gets the lines back whole) and the same
// text attached as "tableau.txt" in base64.
std::string buildMessage(const HandOff& handOff, const Envelope& envelope);

// A fresh envelope: now, a random Message-ID in the sender's domain and a random boundary.
Envelope newEnvelope(std::string from, std::vector<std::string> to);

// "a@b.c, d@e.f": addresses as a header and the user read them.
std::string addressList(const std::vector<std::string>& addresses);

// The pieces, for the tests and for anyone who needs them.
std::string dateHeader(std::time_t when);  // "Tue, 08 Dec 2026 17:10:20 +0100"
std::string encodedHeaderText(std::string_view utf8);
std::string quotedPrintable(std::string_view utf8);
std::string base64Lines(std::string_view bytes);

}  // namespace planora::postex
