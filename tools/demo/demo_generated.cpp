#include <algorithm>

#include "tools/demo/demo_parts.h"

namespace planora::demo {

namespace {

struct Tariff {
    const char* code;
    std::int64_t centsPerPersonNight;
};

constexpr Tariff kTariffs[] = {{"PN", 4500}, {"BB", 5500}, {"HB", 7800}, {"MP", 7200},
                               {"FB", 9500}, {"PC", 9900}, {"DAY", 3000}};

constexpr const char* kReservationKinds[] = {"C", "O", "D", "T", "A"};

int partySize(DemoRandom& random) {
    const auto roll = random.below(100);
    return roll < 50 ? 1 : roll < 85 ? 2 : roll < 95 ? 3 : 4;
}

// The rooms on a board that can take generated stays, and how many cards each gets.
std::vector<const DemoRoom*> boardRooms(const std::vector<DemoRoom>& rooms, bool withShowcase) {
    std::vector<const DemoRoom*> found;
    for (const DemoRoom& room : rooms) {
        if (room.onBoard && (withShowcase || !isShowcaseRoom(room))) {
            found.push_back(&room);
        }
    }
    return found;
}

int quota(int total, std::size_t rooms, std::size_t index) {
    const auto n = static_cast<std::size_t>(total);
    return static_cast<int>(n / rooms + (index < n % rooms ? 1 : 0));
}

// A party of guests with a random head; the other members share the surname.
Stay randomStay(DemoRandom& random, const DemoRoom& room, int persons) {
    Stay stay;
    stay.hotel = room.hotel;
    stay.room = room.number;
    const std::string surname = random.surname();
    for (int i = 0; i < persons; ++i) {
        stay.names.push_back(surname + " " + random.firstName());
    }
    stay.comment = random.comment();
    if (random.chance(30)) {
        stay.agency = static_cast<int>(random.below(4) + 1);
    }
    if (random.chance(25)) {
        stay.company = random.company();
        if (random.chance(20)) {
            stay.secondAccount = random.company();
        }
    }
    if (random.chance(85)) {
        const Tariff& tariff = kTariffs[random.below(std::size(kTariffs))];
        stay.arrangement = tariff.code;
        stay.amountCents = tariff.centsPerPersonNight * persons;
    }
    return stay;
}

void setNights(Stay& stay, DayNumber arrival, int nights) {
    stay.arrival = arrival;
    stay.departure = arrival + nights;
    stay.amountCents *= std::max(nights, 1);
}

// Party sizes adding up to exactly `cards`.
std::vector<int> parties(DemoRandom& random, int cards) {
    std::vector<int> sizes;
    for (int left = cards; left > 0;) {
        const int size = std::min(partySize(random), left);
        sizes.push_back(size);
        left -= size;
    }
    return sizes;
}

class Generator {
  public:
    Generator(StayWriter& stays, DemoRandom& random, DayNumber day)
        : stays_(stays), random_(random), day_(day) {}

    // Stays one after another, the last ending around today; about a third of the rooms are
    // free today and may get a reservation instead. Returns the first arrival.
    DayNumber currentStays(const DemoRoom& room, int cards) {
        const std::vector<int> sizes = parties(random_, cards);
        std::vector<int> nights;
        DayNumber span = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            nights.push_back(static_cast<int>(random_.below(7) + 1));
            span += nights.back() + static_cast<DayNumber>(random_.below(2));
        }
        const bool freeToday = random_.chance(33);
        DayNumber arrival = day_ - span + static_cast<DayNumber>(random_.below(3)) +
                            (freeToday ? -static_cast<DayNumber>(random_.below(6) + 3) : 1);
        const DayNumber first = arrival;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            Stay stay = randomStay(random_, room, sizes[i]);
            setNights(stay, arrival, nights[i]);
            if (stay.departure < day_) {
                stay.realDeparture = stay.departure;
            } else if (stay.arrival > day_) {
                break;  // future guests are reservations, not guest cards
            }
            lead(stay);
            previousHead_ = stays_.current(stay);
            previousHotel_ = stay.hotel;
            arrival = stay.departure + static_cast<DayNumber>(random_.below(2));
        }
        if (arrival <= day_ && random_.chance(60)) {
            reservation(room, day_);
        } else if (random_.chance(20)) {
            reservation(room, std::max(arrival, day_ + 1));
        }
        return first;
    }

    // Past stays going back from `before`.
    void historyStays(const DemoRoom& room, int cards, DayNumber before) {
        DayNumber departure = before;
        for (int size : parties(random_, cards)) {
            const int nights = static_cast<int>(random_.below(7) + 1);
            Stay stay = randomStay(random_, room, size);
            setNights(stay, departure - nights, nights);
            stay.realDeparture = departure;
            stays_.history(stay);
            departure = stay.arrival - static_cast<DayNumber>(random_.below(3));
        }
    }

  private:
    // Now and then a party belongs to the group or the family of the party before it.
    void lead(Stay& stay) {
        if (previousHead_ == 0 || previousHotel_ != stay.hotel) {
            return;
        }
        if (random_.chance(6)) {
            stay.groupLeader = previousHead_;
            stay.arrangement.clear();
        } else if (random_.chance(3)) {
            stay.familyLeader = previousHead_;
            stay.arrangement.clear();
        }
    }

    void reservation(const DemoRoom& room, DayNumber arrival) {
        Reservation r;
        r.hotel = room.hotel;
        r.room = room.number;
        r.arrival = arrival;
        r.departure = arrival + static_cast<DayNumber>(random_.below(6) + 1);
        r.persons = partySize(random_);
        r.kind = kReservationKinds[random_.below(std::size(kReservationKinds))];
        r.name = random_.guestName();
        if (random_.chance(25)) {
            r.company = random_.company();
        }
        const Tariff& tariff = kTariffs[random_.below(5)];
        r.treatment = tariff.code;
        r.priceCents = tariff.centsPerPersonNight * r.persons * (r.departure - r.arrival);
        stays_.reservation(r);
    }

    StayWriter& stays_;
    DemoRandom& random_;
    DayNumber day_;
    std::int64_t previousHead_ = 0;
    int previousHotel_ = 0;
};

}  // namespace

void writeGeneratedStays(StayWriter& stays, DemoRandom& random, const std::vector<DemoRoom>& rooms,
                         DayNumber day, GeneratedCounts counts) {
    Generator generator(stays, random, day);
    const auto current = boardRooms(rooms, false);
    const auto all = boardRooms(rooms, true);
    std::vector<DayNumber> firstArrival(all.size(), day - 7);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto at = std::ranges::find(current, all[i]);
        if (at != current.end()) {
            const auto index = static_cast<std::size_t>(at - current.begin());
            firstArrival[i] =
                generator.currentStays(*all[i], quota(counts.currentCards, current.size(), index));
        }
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        generator.historyStays(*all[i], quota(counts.historyCards, all.size(), i),
                               std::min(firstArrival[i], day - 7));
    }
}

}  // namespace planora::demo
