#include "tools/demo/demo_names.h"

#include <array>
#include <string_view>

namespace planora::demo {

namespace {

constexpr std::array<std::string_view, 40> kSurnames = {
    "Rossi",      "Russo",      "Ferrari",  "Esposito",  "Bianchi",  "Romano",  "Colombo",
    "Ricci",      "Marino",     "Greco",    "Bruno",     "Gallo",    "Conti",   "De Luca",
    "Mancini",    "Costa",      "Giordano", "Rizzo",     "Lombardi", "Moretti", "Barbieri",
    "Fontana",    "Santoro",    "Mariani",  "Rinaldi",   "Caruso",   "Ferrara", "Galli",
    "Martini",    "Leone",      "D'Angelo", "Dell'Orto", "Cantù",    "Abbà",    "Mazzà",
    "Sanfilippo", "Pellegrini", "Vitale",   "Serra",     "Benedetti"};

constexpr std::array<std::string_view, 40> kFirstNames = {
    "Mario",    "Giulia",   "Niccolò",  "Sofia",    "Andrea",   "Chiara",  "Luca",     "Francesca",
    "Matteo",   "Elena",    "Nicolò",   "Aurora",   "Gabriele", "Martina", "Noè",      "Zoè",
    "Mosè",     "Beatrice", "Raffaele", "Noemi",    "Gioele",   "Ilaria",  "Tommaso",  "Ludovica",
    "Federica", "Stefano",  "Annalisa", "Vittoria", "Lorenzo",  "Alessia", "Riccardo", "Giorgia",
    "Emanuele", "Rebecca",  "Pietro",   "Caterina", "Davide",   "Anna",    "Simone",   "Marta"};

constexpr std::array<std::string_view, 12> kCompanies = {
    "Ferrari & Figli S.r.l.",  "Costruzioni Martini S.p.A.",
    "Studio Legale Galli",     "Tessiture Comasche S.r.l.",
    "Società Agricola Verdi",  "Caffè Moretti S.n.c.",
    "Università degli Studi",  "Meccanica Fontana S.p.A.",
    "Edilizia Santoro S.r.l.", "Farmacia Dell'Orto",
    "Cantine Rinaldi",         "Trasporti Caruso & C."};

constexpr std::array<std::string_view, 10> kComments = {"",
                                                        "",
                                                        "",
                                                        "Camera lato lago",
                                                        "Culla in camera",
                                                        "Allergico alle noci",
                                                        "Partenza all'alba",
                                                        "Cliente abituale",
                                                        "Richiede fattura",
                                                        "Arrivo in tarda serata"};

template <std::size_t N>
std::string pick(DemoRandom& random, const std::array<std::string_view, N>& list) {
    return std::string(list[random.below(N)]);
}

}  // namespace

std::string DemoRandom::surname() {
    return pick(*this, kSurnames);
}
std::string DemoRandom::firstName() {
    return pick(*this, kFirstNames);
}
std::string DemoRandom::company() {
    return pick(*this, kCompanies);
}
std::string DemoRandom::comment() {
    return pick(*this, kComments);
}

}  // namespace planora::demo
