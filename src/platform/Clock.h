#pragma once
// The millisecond tick count the commands measure their elapsed time with.

#include <cstdint>

namespace varst {

class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual std::int64_t TickCount() const = 0;
};

// Milliseconds of a steady clock.
class SteadyClock final : public Clock {
 public:
  [[nodiscard]] std::int64_t TickCount() const override;
};

}  // namespace varst
