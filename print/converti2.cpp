#include "print/converti2.h"

namespace planora::print {

namespace {

// The replacement of one byte, in the order the rules are tried; the byte itself when none
// applies.
char converted(unsigned char byte) {
    switch (byte) {
        case 180:
            return '\'';
        case 192:
            return '\xE0';  // à
        case 200:
            return '\xE8';  // è
        case 201:
            return '\xE9';  // é
        case 204:
            return '\xEC';  // ì
        case 217:
            return '\xF9';  // ù
        case 210:
            return '\xF2';  // ò
        case 187:
        case 188:
        case 191:
        case 193:
        case 194:
        case 196:
        case 197:
        case 202:
        case 203:
        case 206:
        case 218:
            return '-';
        case 179:
        case 183:
        case 186:
        case 195:
            return '|';
        default:
            return static_cast<char>(byte);
    }
}

}  // namespace

std::string& Converti2(std::string& frase) {
    for (char& c : frase) {
        c = converted(static_cast<unsigned char>(c));
    }
    return frase;
}

}  // namespace planora::print
