#pragma once
// A viewer session without a window over files written into a temporary folder, with a
// scripted Prompter: the loader, the chart drawing and the series grid as the window uses them.

#include <memory>
#include <string>
#include <vector>

#include "app/HeadlessSession.h"
#include "data/LoadFiles.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace varst::test {

// A drive line for a model and serial number.
std::string DriveLine(const std::string& model = "MODEL-T1", const std::string& serial = "SNT001");
// A range condition line over 0..end (13 fields).
std::string RangeCondition(long long end = 1000000, int flags = 0);
// A time condition line (flag &H80) with the test time in ms.
std::string TimeCondition(int testTime = 10000);
// Records code,x,index,value,1 spread over 0..end.
std::string Records(const std::string& code, int count, long long end = 1000000, double value = 50);

struct Session {
  ScriptedPrompter prompter;
  TempDir dir;
  std::unique_ptr<HeadlessSession> session;

  Session();
  // Writes a file into the folder (lines joined with CR LF, each ended by one).
  std::string File(const std::string& name, const std::vector<std::string>& lines) const;
  void Load(const std::vector<std::string>& paths, std::int16_t replace = 0);
  void LoadList(const std::string& list, std::int16_t replace = 0);
  [[nodiscard]] LoadContext Context() { return session->Context(); }
  [[nodiscard]] DataSet& Data() { return session->Data(); }
  [[nodiscard]] MemoryGrid& Grid() { return session->SeriesGrid(); }
  [[nodiscard]] const DisplayList& Drawing() const { return session->Drawing(); }
  [[nodiscard]] std::string Dump() const;
  // The pen colours of the polylines in drawing order, without repeats next to each other.
  [[nodiscard]] std::vector<Colour> SeriesPens() const;
  // The colour of each text that contains `part`.
  [[nodiscard]] std::vector<Colour> TextColours(const std::string& part) const;
  [[nodiscard]] int Count(OpKind kind) const;
};

}  // namespace varst::test
