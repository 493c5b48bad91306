#include "platform/Clock.h"

#include <chrono>

namespace varst {

std::int64_t SteadyClock::TickCount() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace varst
