#include "messages/reading_messages.h"

#include "messages/messages.h"

namespace planora::msg {

std::string changedWhileRead() {
    return "un altro programma ha modificato la tabella mentre veniva letta; ripetere "
           "l'operazione";
}

std::string rowsChangedBetweenReads(std::string_view table, std::size_t first, std::size_t later) {
    return "La tabella \"" + printable(table) + "\" ha dato " + std::to_string(later) +
           " righe in una nuova lettura invece delle " + std::to_string(first) +
           " della prima: un altro programma l'ha modificata; ripetere l'operazione";
}

}  // namespace planora::msg
