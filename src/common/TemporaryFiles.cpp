#include "common/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace varst {
namespace {

// A fixed table, because the handler may neither allocate nor take a lock. A slot is Free,
// Claimed while its path is copied in or out, or Ready when the handler may remove it.
enum SlotState : int { kFree, kClaimed, kReady };
constexpr std::size_t kSlots = 16;
constexpr std::size_t kPathBytes = 4096;

struct Slot {
  std::atomic<int> state{kFree};
  char path[kPathBytes] = {};
};

std::array<Slot, kSlots>& Slots() {
  static std::array<Slot, kSlots> slots;
  return slots;
}

extern "C" void RemoveTemporariesAndDie(int signal) {
  for (Slot& slot : Slots()) {
#ifndef _WIN32
    if (slot.state.load(std::memory_order_acquire) == kReady) ::unlink(slot.path);
#endif
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallUnlessIgnored(int signal) {
#ifndef _WIN32
  struct sigaction current {};
  if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = RemoveTemporariesAndDie;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
#else
  std::signal(signal, RemoveTemporariesAndDie);
#endif
}

}  // namespace

void RemoveTemporariesOnSignals() {
  InstallUnlessIgnored(SIGINT);
  InstallUnlessIgnored(SIGTERM);
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

RegisteredTemporary::RegisteredTemporary(const std::string& path) {
  if (path.size() >= kPathBytes) return;
  auto& slots = Slots();
  for (std::size_t i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kClaimed, std::memory_order_acq_rel)) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].state.store(kReady, std::memory_order_release);
    slot_ = static_cast<int>(i);
    return;
  }
}

RegisteredTemporary::~RegisteredTemporary() {
  if (slot_ >= 0) Slots()[static_cast<std::size_t>(slot_)].state.store(kFree, std::memory_order_release);
}

}  // namespace varst
