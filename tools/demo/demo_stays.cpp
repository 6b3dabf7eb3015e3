#include "tools/demo/demo_stays.h"

namespace planora::demo {

namespace {

struct StayFiles {
    const char* cards;
    const char* companies;
    const char* arrangements;
};

constexpr StayFiles kCurrent = {"Scheda_Cliente", "Ditta_Intestataria", "Arrangiamento"};
constexpr StayFiles kHistory = {"SchedaStoricoClienti", "DittaStoricoClienti",
                                "ArrangiamentoStoricoClienti"};

}  // namespace

db::Currency cents(std::int64_t amount) {
    return db::Currency{amount * 100};
}

std::int64_t StayWriter::current(const Stay& stay) {
    return write(stay, false);
}
std::int64_t StayWriter::history(const Stay& stay) {
    return write(stay, true);
}

std::int64_t StayWriter::write(const Stay& stay, bool history) {
    const StayFiles& files = history ? kHistory : kCurrent;
    // History cards are stays that have ended; a current card has gone when it has a real
    // departure.
    const DayNumber gone = history && stay.realDeparture == 0 ? stay.departure : stay.realDeparture;
    const std::int64_t head = nextCode_;
    for (std::size_t i = 0; i < stay.names.size(); ++i) {
        const std::int64_t code = nextCode_++;
        const bool isHead = i == 0;
        data_.insert(files.cards, "Scheda_Cliente",
                     {{"NumeroHotel", stay.hotel},
                      {"NumeroCamera", stay.room},
                      {"NumeroProgressivo", code},
                      {"NumeroComponente", static_cast<int>(i + 1)},
                      {"DataArrivo", dateKey(stay.arrival)},
                      {"DataPartenza", dateKey(stay.departure)},
                      {"DataPartenzaReale", gone != 0 ? dateKey(gone) : std::string()},
                      {"Partito", gone != 0 ? "S" : "N"},
                      {"NomeCliente", stay.names[i]},
                      {"Commento", isHead ? stay.comment : std::string()},
                      {"CodiceAgenzia", isHead ? stay.agency : 0},
                      {"CodiceCapoGruppo", stay.groupLeader},
                      {"CodiceCapoFamiglia", stay.familyLeader}});
    }
    // Account 1 is the company the board shows; a second account is there to be passed over.
    for (const auto& [account, name] : {std::pair{1, &stay.company}, {2, &stay.secondAccount}}) {
        if (!name->empty()) {
            data_.insert(files.companies, "Ditta_Intestataria",
                         {{"NumeroHotel", stay.hotel},
                          {"CodiceCliente", head},
                          {"NumeroConto", account},
                          {"RagioneSociale", *name}});
        }
    }
    if (!stay.arrangement.empty()) {
        arrangement(files.arrangements, stay.hotel, head, stay.arrival, stay.departure,
                    stay.arrangement, stay.amountCents);
    }
    return head;
}

void StayWriter::arrangement(int hotel, std::int64_t customer, DayNumber from, DayNumber to,
                             const std::string& code, std::int64_t amountCents) {
    arrangement(kCurrent.arrangements, hotel, customer, from, to, code, amountCents);
}

void StayWriter::arrangement(const char* file, int hotel, std::int64_t customer, DayNumber from,
                             DayNumber to, const std::string& code, std::int64_t amountCents) {
    data_.insert(file, "Arrangiamento",
                 {{"NumeroHotel", hotel},
                  {"CodiceCliente", customer},
                  {"DataInizio", dateKey(from)},
                  {"DataFine", dateKey(to)},
                  {"Arrangiamento", code},
                  {"ImportoTotale", cents(amountCents)}});
}

void StayWriter::reservation(const Reservation& r) {
    const std::int64_t number = nextReservation_++;
    data_.insert("Camere_Prenotazione", "Camere_Prenotazione",
                 {{"NumeroHotel", r.hotel},
                  {"NumeroCamera", r.room},
                  {"NumeroPrenotazione", number},
                  {"DataArrivo", dateKey(r.arrival)},
                  {"DataPartenza", dateKey(r.departure)},
                  {"NumeroPersone", r.persons},
                  {"TipoPrenotazione", r.kind},
                  {"Note", r.note},
                  {"Trattamento", r.treatment},
                  {"Prezzo", cents(r.priceCents)}});
    data_.insert("Scheda_Prenotazione", "Scheda_Prenotazione",
                 {{"NumeroHotel", r.hotel},
                  {"NumeroPrenotazione", number},
                  {"TipoPrenotazione", r.kind},
                  {"NomeCliente", r.name},
                  {"Ditta", r.company},
                  {"Agenzia", r.agency}});
}

}  // namespace planora::demo
