#pragma once
// A time bound for work that must not hang on bad input. The work runs on the calling thread
// (window tests need it there); a watchdog ends the whole test program when the work has not
// returned after twice the bound, so a hang fails quickly instead of stalling the suite.

#include <functional>
#include <string>

namespace varst::test {

// Runs work and fails the test when it took longer than `seconds`.
void WithinSeconds(double seconds, const std::string& what, const std::function<void()>& work);

}  // namespace varst::test
