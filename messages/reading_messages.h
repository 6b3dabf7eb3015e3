#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The texts of reading tables on demand: a table read in several passes that the hotel's
// programs changed in between.
namespace planora::msg {

// The reason, for cannotReadDatabase: the rows changed between two reads of one run.
std::string changedWhileRead();
// A later pass over a table gave another number of rows than the first.
std::string rowsChangedBetweenReads(std::string_view table, std::size_t first, std::size_t later);

}  // namespace planora::msg
