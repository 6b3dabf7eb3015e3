#pragma once

#include <string>

namespace planora::jet {

// Page 0: the signature "Standard Jet DB", the version (1 for Jet 4) and 128 bytes from 0x18
// that the format hides under RC4 with a fixed key. Of those, readers use the code page, the
// page encryption key (0: pages are not encrypted), the sort order and the creation date.
std::string headerPage(double createdAccessDays);

}  // namespace planora::jet
