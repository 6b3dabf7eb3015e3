#include "postex/mime_message.h"

#include <array>
#include <cstdio>
#include <random>

#include "preview/screen_text.h"

namespace planora::postex {

namespace {

constexpr std::string_view kHex = "0123456789ABCDEF";
constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLimit = 76;

std::string base64(std::string_view bytes) {
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned value = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 |
                               static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) {
            out += kBase64[(value >> shift) & 0x3F];
        }
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned value = static_cast<unsigned char>(bytes[i]) << 16 |
                               (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0U);
        out += kBase64[(value >> 18) & 0x3F];
        out += kBase64[(value >> 12) & 0x3F];
        out += two ? kBase64[(value >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

bool isPlainHeaderText(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            return false;
        }
    }
    return text.size() <= 60 && text.find("=?") == std::string_view::npos;
}

// Length of the UTF-8 sequence its lead byte starts.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2 : 1;
}

// One line of text, quoted-printable, soft-broken at 76 characters.
void appendQuotedLine(std::string& out, std::string_view line) {
    std::size_t column = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        // Blanks at a line end would be lost on the way; a dot at a line start can be taken for
        // the end of the data by a careless relay.
        const bool plain =
            (byte >= 0x21 && byte <= 0x7E && byte != '=' && !(byte == '.' && column == 0)) ||
            ((byte == ' ' || byte == '\t') && !last);
        std::string piece;
        if (plain) {
            piece = static_cast<char>(byte);
        } else {
            piece = {'=', kHex[byte >> 4], kHex[byte & 0xF]};
        }
        if (column + piece.size() > kLineLimit - 1) {
            out += "=\r\n";
            column = 0;
            if (byte == '.') {
                piece = "=2E";
            }
        }
        out += piece;
        column += piece.size();
    }
    out += "\r\n";
}

std::string randomHex(std::size_t digits) {
    std::random_device source;
    std::string out;
    for (std::size_t i = 0; i < digits; ++i) {
        out += kHex[source() % 16];
    }
    return out;
}

std::string domainOf(std::string_view address) {
    const std::size_t at = address.rfind('@');
    return at == std::string_view::npos ? "localhost" : std::string(address.substr(at + 1));
}

}  // namespace

std::string addressList(const std::vector<std::string>& addresses) {
    std::string out;
    for (const std::string& address : addresses) {
        out += (out.empty() ? "" : ", ") + address;
    }
    return out;
}

std::string dateHeader(std::time_t when) {
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&when, &local);
    const long offset = local.tm_gmtoff / 60;
    const long hours = (offset < 0 ? -offset : offset) / 60;
    const long minutes = (offset < 0 ? -offset : offset) % 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[static_cast<std::size_t>(local.tm_wday)], local.tm_mday,
                  kMonths[static_cast<std::size_t>(local.tm_mon)], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', hours,
                  minutes);
    return text;
}

std::string encodedHeaderText(std::string_view utf8) {
    if (isPlainHeaderText(utf8)) {
        return std::string(utf8);
    }
    // Encoded words of at most 45 bytes each (75 characters encoded), never splitting a
    // character, folded onto lines of their own.
    std::string out;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = start;
        while (end < utf8.size()) {
            const std::size_t next = end + sequenceLength(static_cast<unsigned char>(utf8[end]));
            if (next - start > 45) {
                break;
            }
            end = std::min(next, utf8.size());
        }
        out += (out.empty() ? "" : "\r\n ") + std::string("=?UTF-8?B?") +
               base64(utf8.substr(start, end - start)) + "?=";
        start = end;
    }
    return out;
}

std::string quotedPrintable(std::string_view utf8) {
    std::string out;
    for (const std::string& line : preview::splitScreenLines(utf8)) {
        appendQuotedLine(out, line);
    }
    return out;
}

std::string base64Lines(std::string_view bytes) {
    const std::string encoded = base64(bytes);
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); i += kLineLimit) {
        out += encoded.substr(i, kLineLimit) + "\r\n";
    }
    return out;
}

std::string buildMessage(const HandOff& handOff, const Envelope& envelope) {
    const std::string& b = envelope.boundary;
    std::string m;
    m += "Date: " + dateHeader(envelope.date) + "\r\n";
    m += "From: " + envelope.from + "\r\n";
    m += "To: " + addressList(envelope.to) + "\r\n";
    m += "Subject: " + encodedHeaderText(handOff.subject) + "\r\n";
    m += "Message-ID: <" + envelope.messageId + ">\r\n";
    m += "MIME-Version: 1.0\r\n";
    m += "X-Mailer: postex\r\n";
    m += "Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n";
    m += "\r\n";
    m += "--" + b + "\r\n";
    m += "Content-Type: text/plain; charset=UTF-8\r\n";
    m += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    // The line end before a boundary belongs to the boundary: one more keeps the text's last.
    m += quotedPrintable(handOff.body) + "\r\n";
    m += "--" + b + "\r\n";
    m += "Content-Type: text/plain; charset=UTF-8; name=\"" + std::string(kAttachmentName) +
         "\"\r\n";
    m += "Content-Disposition: attachment; filename=\"" + std::string(kAttachmentName) + "\"\r\n";
    m += "Content-Transfer-Encoding: base64\r\n\r\n";
    // The attached file has the line ends of a text file (CR LF), like the board.
    std::string attached;
    for (const char c : handOff.body) {
        attached += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    m += base64Lines(attached);
    m += "--" + b + "--\r\n";
    return m;
}

Envelope newEnvelope(std::string from, std::vector<std::string> to) {
    Envelope envelope;
    envelope.date = std::time(nullptr);
    envelope.messageId = std::to_string(envelope.date) + "." + randomHex(16) + "@" + domainOf(from);
    envelope.boundary = "=_postex_" + randomHex(24);
    envelope.from = std::move(from);
    envelope.to = std::move(to);
    return envelope;
}

}  // namespace planora::postex
