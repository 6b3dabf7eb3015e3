#include "tools/mdb/jet_header.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "tools/mdb/jet_format.h"

namespace planora::jet {

namespace {

constexpr std::size_t kMaskedStart = 0x18;
constexpr std::size_t kMaskedBytes = 128;
constexpr std::size_t kVersion = 0x14;
constexpr std::size_t kCodePage = 0x3C;
constexpr std::size_t kEncryptionKey = 0x3E;
constexpr std::size_t kSortOrder = 0x6E;
constexpr std::size_t kCreated = 0x72;
constexpr std::uint8_t kJet4 = 0x01;
constexpr std::uint16_t kWindows1252 = 1252;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;
constexpr std::uint32_t kHeaderKey = 0x6B39DAC7;

// The RC4 key stream of a key, as many bytes as asked for.
std::string rc4Stream(const std::string& key, std::size_t length) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::size_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = (j + state[i] + static_cast<std::uint8_t>(key[i % key.size()])) % 256;
        std::swap(state[i], state[j]);
    }
    std::string out;
    std::size_t a = 0, b = 0;
    for (std::size_t n = 0; n < length; ++n) {
        a = (a + 1) % 256;
        b = (b + state[a]) % 256;
        std::swap(state[a], state[b]);
        out += static_cast<char>(state[(state[a] + state[b]) % 256]);
    }
    return out;
}

}  // namespace

std::string headerPage(double createdAccessDays) {
    std::string page(kPageSize, '\0');
    page[1] = 0x01;
    page.replace(4, 16, std::string("Standard Jet DB\0", 16));
    page[kVersion] = static_cast<char>(kJet4);
    putLittleEndian(page, kCodePage, kWindows1252, 2);
    putLittleEndian(page, kEncryptionKey, 0, 4);
    putLittleEndian(page, kSortOrder, kGeneralSortOrder, 2);
    std::uint64_t created = 0;
    std::memcpy(&created, &createdAccessDays, sizeof created);
    putLittleEndian(page, kCreated, created, 8);
    std::string key;
    appendLittleEndian(key, kHeaderKey, 4);
    const std::string stream = rc4Stream(key, kMaskedBytes);
    for (std::size_t i = 0; i < kMaskedBytes; ++i) {
        page[kMaskedStart + i] = static_cast<char>(page[kMaskedStart + i] ^ stream[i]);
    }
    return page;
}

}  // namespace planora::jet
