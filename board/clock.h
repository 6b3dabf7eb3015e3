#pragma once

#include <string>

namespace planora::board {

struct LocalDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// Where "now" comes from: the system's local time in the program, a fixed time in tests.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

class SystemClock final : public Clock {
  public:
    LocalDateTime now() const override;
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(LocalDateTime at) : at_(at) {}
    void set(LocalDateTime at) { at_ = at; }
    LocalDateTime now() const override { return at_; }

  private:
    LocalDateTime at_;
};

// Today as dd/mm/yyyy.
std::string todayText(const Clock& clock);

}  // namespace planora::board
