#include "bench/FixedPrompter.h"

#include <QDialog>

#include "data/LoadFiles.h"

namespace varst::bench {

void FixedPrompter::PlaceNextMessageBox(int /*x*/, int /*y*/) {}

std::string FixedPrompter::OpenFileDialog(const std::string& /*description*/, const std::string& /*patterns*/,
                                          const std::string& /*initialName*/,
                                          const std::string& /*initialFolder*/) {
  return openResult;
}

std::string FixedPrompter::SaveFileDialog(const std::string& /*description*/, const std::string& /*patterns*/,
                                          const std::string& /*initialName*/,
                                          const std::string& /*initialFolder*/) {
  return "";
}

Colour FixedPrompter::ChooseColorDialog(Colour /*colour*/) { return kNoColour; }

std::string FixedPrompter::BrowseFolderDialog(const std::string& /*title*/, const std::string& /*initialFolder*/) {
  return "";
}

int FixedPrompter::ExecDialog(QDialog& /*dialog*/) { return QDialog::Rejected; }

Answer FixedPrompter::ShowMessage(const std::string& text, MessageIcon /*icon*/, MessageButtons /*buttons*/,
                                  const std::string* /*title*/) {
  if (text == kAddDataQuestion) return Answer::Yes;
  unexpected.push_back(text);
  return Answer::Ok;
}

}  // namespace varst::bench
