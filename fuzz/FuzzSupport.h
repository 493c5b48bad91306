#pragma once
// What the fuzz targets share: a Prompter that answers every question without a person, and
// a private folder for the files a target writes its input to.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Prompter.h"

namespace varst::fuzz {

// Answers Yes to every question and OK to every message; every dialog is cancelled.
class QuietPrompter final : public Prompter {
 public:
  void PlaceNextMessageBox(int /*x*/, int /*y*/) override {}
  std::string OpenFileDialog(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return {};
  }
  std::string SaveFileDialog(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return {};
  }
  Colour ChooseColorDialog(Colour /*colour*/) override { return kNoColour; }
  std::string BrowseFolderDialog(const std::string&, const std::string&) override { return {}; }
  int ExecDialog(QDialog& /*dialog*/) override { return 0; }

  int messages = 0;

 protected:
  Answer ShowMessage(const std::string& /*text*/, MessageIcon /*icon*/, MessageButtons buttons,
                     const std::string* /*title*/) override {
    ++messages;
    return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
  }
};

// The folder of this process's files, made on first use under $TMPDIR (or /tmp) and removed
// with everything in it when the process ends normally.
const std::string& PrivateFolder();

// Writes bytes to a file of the private folder and returns its path.
std::string WriteFile(std::string_view name, const std::uint8_t* data, std::size_t size);
std::string WriteFile(std::string_view name, std::string_view bytes);

// Stops the process with a message when a property of the code does not hold, so that the
// fuzzer saves the input as a crash.
void Require(bool holds, const char* what);

}  // namespace varst::fuzz
