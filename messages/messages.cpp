#include "messages/messages.h"

#include <cerrno>
#include <cstring>

namespace planora::msg {

std::string shown(const std::filesystem::path& path) {
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + shown(path) + "'";
}

std::string printable(std::string_view value) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string systemReason(int errnum) {
    switch (errnum) {
        case ENOSPC:
            return "il disco è pieno";
        case EDQUOT:
            return "lo spazio disco concesso all'utente è esaurito";
        case EROFS:
            return "il disco o la cartella è di sola lettura";
        case EACCES:
        case EPERM:
            return "permesso negato";
        case ENOENT:
            return "il file o la cartella non esiste";
        case ENOTDIR:
            return "una parte del percorso non è una cartella";
        case EISDIR:
            return "è una cartella";
        case ELOOP:
            return "è un collegamento simbolico";
        case EEXIST:
            return "esiste già";
        case ENAMETOOLONG:
            return "il nome è troppo lungo";
        case EIO:
            return "errore di lettura o scrittura sul disco";
        case EBUSY:
        case ETXTBSY:
            return "è in uso";
        case EMFILE:
        case ENFILE:
            return "troppi file aperti";
        case EXDEV:
            return "si trova su un altro disco";
        case ENODEV:
        case ENXIO:
            return "il dispositivo non esiste o non è collegato";
        default:
            return std::string(std::strerror(errnum)) + " (errno " + std::to_string(errnum) + ")";
    }
}

std::string cannotCreateTemporary(const std::filesystem::path& folder, int errnum) {
    return "Impossibile creare un file temporaneo nella cartella " + quoted(folder) + ": " +
           systemReason(errnum);
}

std::string cannotWriteFile(const std::filesystem::path& file, int errnum) {
    return "Impossibile scrivere il file " + quoted(file) + ": " + systemReason(errnum);
}

std::string cannotReplaceFile(const std::filesystem::path& file, int errnum) {
    return "Impossibile sostituire il file " + quoted(file) + ": " + systemReason(errnum) +
           "; il file precedente è rimasto com'era";
}

std::string notARegularFile(const std::filesystem::path& path) {
    return quoted(path) +
           " non è un file ma una cartella o un altro oggetto: rinominarlo o "
           "spostarlo altrove";
}

std::string cannotReadFile(const std::filesystem::path& file, int errnum) {
    return "Impossibile leggere il file " + quoted(file) + ": " + systemReason(errnum);
}

std::string cannotListFolder(const std::filesystem::path& folder, int errnum) {
    return "Impossibile leggere il contenuto della cartella " + quoted(folder) + ": " +
           systemReason(errnum);
}

std::string boardFileMissing(const std::filesystem::path& file) {
    return "Il file del tableau " + quoted(file) +
           " non esiste: crearlo prima con \"Stampa\" nella finestra principale";
}

std::string badStationCode(std::string_view variable, std::string_view value) {
    return "La variabile d'ambiente " + std::string(variable) + " vale \"" + printable(value) +
           "\": il codice della stazione deve poter far parte di un nome di file (al più 32 "
           "caratteri, senza \"/\", \"\\\", \"..\" né caratteri di controllo)";
}

}  // namespace planora::msg
