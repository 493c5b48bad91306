#pragma once
// What a run reads from its window while it works: the choices, read again for each file,
// and the chance to let pending window events run between two files.

#include <functional>
#include <string>

namespace varst {

// Existing-file choices, by index.
inline constexpr int kExistingOverwrite = 0;  // "上書きする"
inline constexpr int kExistingRename = 1;     // "名前を変えて保存する"
inline constexpr int kExistingSkip = 2;       // "コピーしない"
inline constexpr int kExistingAsk = 3;        // "ダイアログを開く"

// Level choices, by index: "指定なし", "機種名", "日付".
inline constexpr int kLevelNone = 0;
inline constexpr int kLevelModel = 1;
inline constexpr int kLevelDate = 2;

class ConversionForm {
 public:
  virtual ~ConversionForm() = default;
  [[nodiscard]] virtual std::string BaseFolder() const = 0;
  // The level choice index of folder level 0 (first) or 1 (second).
  [[nodiscard]] virtual int LevelChoice(int level) const = 0;
  [[nodiscard]] virtual int ExistingFileChoice() const = 0;
  [[nodiscard]] virtual bool TimeStampCheck() const = 0;
  // False: the list's path texts are trimmed of blanks before use, as the window's grid
  // wants. True: they are used exactly as given (paths from a command line).
  [[nodiscard]] virtual bool ExactPaths() const { return false; }
  // Called after each file; a window processes its pending events here.
  virtual void ProcessEvents() = 0;
};

// The choices as plain values.
struct ConversionChoices {
  std::string baseFolder;
  int level1 = kLevelNone;
  int level2 = kLevelNone;
  int existing = kExistingSkip;
  bool checkTimeStamp = false;
  bool exactPaths = false;
};

// A form without a window: fixed choices and an optional hook run after each file.
class FixedForm final : public ConversionForm {
 public:
  explicit FixedForm(ConversionChoices choices, std::function<void()> afterEachFile = {})
      : choices_(std::move(choices)), afterEachFile_(std::move(afterEachFile)) {}
  [[nodiscard]] std::string BaseFolder() const override { return choices_.baseFolder; }
  [[nodiscard]] int LevelChoice(int level) const override { return level == 0 ? choices_.level1 : choices_.level2; }
  [[nodiscard]] int ExistingFileChoice() const override { return choices_.existing; }
  [[nodiscard]] bool TimeStampCheck() const override { return choices_.checkTimeStamp; }
  [[nodiscard]] bool ExactPaths() const override { return choices_.exactPaths; }
  void ProcessEvents() override {
    if (afterEachFile_) afterEachFile_();
  }

 private:
  ConversionChoices choices_;
  std::function<void()> afterEachFile_;
};

}  // namespace varst
