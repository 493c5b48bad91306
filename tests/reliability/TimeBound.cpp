#include "reliability/TimeBound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace varst::test {

void WithinSeconds(double seconds, const std::string& what, const std::function<void()>& work) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (!finished.wait_for(lock, std::chrono::duration<double>(2 * seconds), [&] { return done; })) {
      std::fprintf(stderr, "\n%s: still running after %.0f s, taken for a hang\n", what.c_str(), 2 * seconds);
      std::fflush(stderr);
      std::_Exit(3);
    }
  });
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
  EXPECT_LE(elapsed.count(), seconds) << what << " took " << elapsed.count() << " s";
}

}  // namespace varst::test
