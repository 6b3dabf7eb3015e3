#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace planora::demo {

// The random source of a demo: the same seed gives the same hotel on every machine.
class DemoRandom {
  public:
    explicit DemoRandom(std::uint64_t seed) : engine_(seed) {}
    // 0 to bound - 1.
    std::uint64_t below(std::uint64_t bound) { return engine_() % bound; }
    bool chance(int percent) { return below(100) < static_cast<std::uint64_t>(percent); }

    std::string surname();
    std::string firstName();
    std::string guestName() { return surname() + " " + firstName(); }
    std::string company();
    std::string comment();

  private:
    std::mt19937_64 engine_;
};

}  // namespace planora::demo
