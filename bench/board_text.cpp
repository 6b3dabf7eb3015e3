// The conversion of database texts to board text (Windows-1252, control characters as blanks):
// the common names go the fast way, the rare ones through ICU's normalisation and
// transliteration.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "board/board_file.h"

namespace {

const std::vector<std::string> kAscii = {"ROSSI MARIO", "BIANCHI EVA", "VISTA MARE, LETTO AGGIUNTO",
                                         "ACME SPA", "GRUPPO ALFA VIAGGI ORGANIZZATI"};
const std::vector<std::string> kLatin1 = {"NICOLÒ BIANCHI", "CAFFÈ SPORT", "MÜLLER JÜRGEN",
                                          "FRANÇOIS LEFÈVRE", "PEÑA JOSÉ"};
const std::vector<std::string> kBeyond = {"Łukasz Żółć", "Dvořák Antonín", "Ōsaka Tarō", "Đorđević",
                                          "Mihăilescu Ștefan"};
const std::vector<std::string> kOtherScripts = {"Москва", "Αθήνα", "北京", "Иванов Пётр",
                                                "Σωκράτης"};

void convert(benchmark::State& state, const std::vector<std::string>& texts) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& text : texts) {
            benchmark::DoNotOptimize(planora::board::grid::boardText(text));
            bytes += text.size();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_BoardTextAscii(benchmark::State& state) {
    convert(state, kAscii);
}
void BM_BoardTextLatin1(benchmark::State& state) {
    convert(state, kLatin1);
}
void BM_BoardTextLatinBeyondTheCodePage(benchmark::State& state) {
    convert(state, kBeyond);
}
void BM_BoardTextOtherScripts(benchmark::State& state) {
    convert(state, kOtherScripts);
}

BENCHMARK(BM_BoardTextAscii);
BENCHMARK(BM_BoardTextLatin1);
BENCHMARK(BM_BoardTextLatinBeyondTheCodePage);
BENCHMARK(BM_BoardTextOtherScripts);

}  // namespace

BENCHMARK_MAIN();
