#include "print/command_set.h"

#include <cmath>

#include "board/helpers.h"

namespace planora::print {

namespace {

constexpr int kFilledLengthWithoutSet = 66;

}  // namespace

int CommandSet::filledLength(bool compressed) const {
    if (!found) {
        return kFilledLengthWithoutSet;
    }
    return compressed ? B(7) : B(8);
}

std::array<int, 12> commandGroups(std::string_view text) {
    std::array<int, 12> groups{};
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const std::size_t start = 3 * k;
        if (start >= text.size()) {
            break;
        }
        groups[k] = static_cast<int>(std::lround(board::numericValue(text.substr(start, 3))));
    }
    return groups;
}

}  // namespace planora::print
