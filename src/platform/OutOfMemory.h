#pragma once
// Running out of memory in a command: the command stops, what it built is dropped, and the
// user is told that memory ran out (not that the file is invalid). Every command of the
// command line and of the windows runs inside this guard.

#include <new>

#include "platform/Prompter.h"

namespace varst {

inline constexpr char kOutOfMemoryMessage[] = "メモリが不足しています";

// Runs `command`. When it runs out of memory, the memory it held is released by unwinding,
// `recover` puts the state the command left half-built back into a consistent one, and the
// message is shown. Returns false in that case.
template <typename Command, typename Recover>
bool RunWithinMemory(Prompter& prompter, Command&& command, Recover&& recover) {
  try {
    command();
    return true;
  } catch (const std::bad_alloc&) {
  }
  recover();
  prompter.Message(kOutOfMemoryMessage, MessageIcon::Critical);
  return false;
}

}  // namespace varst
