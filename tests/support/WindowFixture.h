#pragma once
// The real main window on the offscreen platform, with a scripted Prompter, a recording shell
// and a clock the test sets, over files in a temporary folder.

#include <memory>
#include <string>
#include <vector>

#include "common/Settings.h"
#include "data/DataSet.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "viewer/MainMenu.h"

class QLineEdit;
class QPushButton;

namespace varst::test {

class RecordingShell final : public Shell {
 public:
  struct Started {
    std::string program;
    std::vector<std::string> arguments;
  };
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  bool OpenWithDefaultApplication(const std::string& path) override;
  bool OpenFolder(const std::string& folder) override;

  bool programsStart = true;
  std::vector<Started> started;
  std::vector<std::string> opened;
};

class SettableClock final : public Clock {
 public:
  [[nodiscard]] std::int64_t TickCount() const override { return now; }
  std::int64_t now = 1000;
};

struct Window {
  TempDir dir;
  ScriptedPrompter prompter;
  RecordingShell shell;
  SettableClock clock;
  Settings settings;
  DataSet dataSet;
  int settingsSaved = 0;
  std::unique_ptr<MainMenu> window;

  // Opens the window with these command-line items.
  explicit Window(const std::vector<std::string>& items = {});
  ~Window();

  [[nodiscard]] QtGrid& Grid() const;
  [[nodiscard]] const DisplayList& Drawing() const;
  [[nodiscard]] QLineEdit* Box(int index) const;
  [[nodiscard]] QPushButton* Button(int index) const;
  [[nodiscard]] std::string Status() const;
  // The solid polylines' pens in drawing order without neighbouring repeats, frame excluded.
  [[nodiscard]] std::vector<Colour> SeriesPens() const;
  // Clicks a row's tick box the way the mouse does.
  void Tick(int row, bool ticked) const;
  // Types text into a box and leaves it.
  void Type(int box, const std::string& text) const;
  std::string File(const std::string& name, const std::vector<std::string>& lines) const;
};

}  // namespace varst::test
