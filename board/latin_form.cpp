#include "board/latin_form.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <memory>

namespace planora::board {

namespace {

icu::UnicodeString toUnicode(std::u32string_view text) {
    return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()),
                                         static_cast<int32_t>(text.size()));
}

std::u32string toCodePoints(const icu::UnicodeString& text) {
    std::u32string out;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        out += static_cast<char32_t>(text.char32At(i));
    }
    return out;
}

// A transliterator of ICU, made on first use for this thread (a transliterator keeps state
// while it works); null when ICU cannot build it.
struct Made {
    std::unique_ptr<icu::Transliterator> rules;
    bool tried = false;
};

icu::Transliterator* transliterator(Made& made, const char* id) {
    if (!made.tried) {
        made.tried = true;
        UErrorCode status = U_ZERO_ERROR;
        made.rules.reset(icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
        if (U_FAILURE(status)) {
            made.rules.reset();
        }
    }
    return made.rules.get();
}

icu::Transliterator* transliterator(const char* id) {
    thread_local Made anyLatin, latinAscii;
    return transliterator(std::string_view(id) == "Any-Latin" ? anyLatin : latinAscii, id);
}

std::u32string transliterated(const char* id, std::u32string_view text) {
    icu::Transliterator* rules = transliterator(id);
    if (rules == nullptr) {
        return std::u32string(text);
    }
    icu::UnicodeString unicode = toUnicode(text);
    rules->transliterate(unicode);
    return toCodePoints(unicode);
}

bool keepsNoVisibleForm(char32_t c) {
    const auto type = u_charType(static_cast<UChar32>(c));
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_FORMAT_CHAR;
}

bool isLatinAlready(std::u32string_view text) {
    for (const char32_t c : text) {
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
        if (U_FAILURE(status) ||
            (script != USCRIPT_LATIN && script != USCRIPT_COMMON && script != USCRIPT_INHERITED)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::u32string composed(std::u32string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) {
        return std::u32string(text);
    }
    const icu::UnicodeString normal = nfc->normalize(toUnicode(text), status);
    return U_FAILURE(status) ? std::u32string(text) : toCodePoints(normal);
}

std::u32string latinForm(std::u32string_view text, bool (*inSet)(char32_t)) {
    // Any-Latin is slow to build (a good part of a second): letters that are Latin already
    // ("Ł", "ő") go straight to their plain form.
    const std::u32string latin =
        isLatinAlready(text) ? std::u32string(text) : transliterated("Any-Latin", text);
    std::u32string out;
    for (const char32_t c : latin) {
        if (keepsNoVisibleForm(c)) {
            continue;
        }
        // Any-Latin leaves Latin letters as they are; letters beyond the set ("Ł") and the
        // accented letters it makes ("ā") go on to their plain form.
        if (inSet(c)) {
            out += c;
            continue;
        }
        for (const char32_t plain : transliterated("Latin-ASCII", std::u32string_view(&c, 1))) {
            if (!keepsNoVisibleForm(plain)) {
                out += plain;
            }
        }
    }
    return out;
}

}  // namespace planora::board
