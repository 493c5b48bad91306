#pragma once
// The real main window for a benchmark: started the way the program starts it, but with its
// per-user and work folders in a temporary folder (the user's settings file is never read or
// written), a Prompter that answers every question the same way and a Shell that does nothing.

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "bench/FixedPrompter.h"
#include "bench/IdleShell.h"
#include "common/Settings.h"
#include "data/DataSet.h"
#include "platform/Clock.h"
#include "viewer/MainMenu.h"

class QLabel;

namespace varst::bench {

class BenchWindow {
 public:
  BenchWindow();
  ~BenchWindow();
  BenchWindow(const BenchWindow&) = delete;
  BenchWindow& operator=(const BenchWindow&) = delete;

  [[nodiscard]] MainMenu& Window() { return *window_; }
  [[nodiscard]] QWidget& Chart();
  [[nodiscard]] QLabel& Status();
  [[nodiscard]] FixedPrompter& Prompter() { return prompter_; }
  [[nodiscard]] int Rows();

  // Opens the files through "ﾌｧｲﾙを開く" as a user picks them in the open dialog.
  void Open(const std::vector<std::string>& paths);
  // Types into an entry box (Text1_0 the smoothing count, Text1_1 the offset) and leaves it.
  void Type(int box, const std::string& text);
  // Runs pending events until none is left, so that what a command scheduled is painted.
  static void Settle();

 private:
  QTemporaryDir folder_;
  FixedPrompter prompter_;
  IdleShell shell_;
  SteadyClock clock_;
  Settings settings_;
  DataSet dataSet_;
  std::unique_ptr<MainMenu> window_;
};

}  // namespace varst::bench
