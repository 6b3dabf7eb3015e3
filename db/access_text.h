#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace planora::db::access {

// A Jet 4 text field as UTF-8: UTF-16LE, or "compressed" (FF FE, then one byte for each
// character below U+0100, a 0 byte switching to two bytes a character and back). As libmdb
// hands texts over, the text ends at a U+0000; an unpaired surrogate reads as '?' and a last
// odd byte is dropped.
std::string utf8FromJet4Text(std::string_view stored);

// The characters of a compressed Jet 4 text that is plain ASCII, which are its UTF-8 as they
// stand (what utf8FromJet4Text gives, without a copy); none for any other text.
std::optional<std::string_view> plainAsciiJet4Text(std::string_view stored);

}  // namespace planora::db::access
