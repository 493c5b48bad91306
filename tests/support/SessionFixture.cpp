#include "support/SessionFixture.h"

#include "common/Text.h"
#include "platform/DisplayList.h"

namespace varst::test {

std::string DriveLine(const std::string& model, const std::string& serial) {
  return model + "," + serial + ",156301488,ATA,FW1.00,512,7200,SATA,64MB,00";
}

std::string RangeCondition(long long end, int flags) {
  return "0,0," + std::to_string(end) + ",0," + std::to_string(flags) + ",256,100,100,0,0,0,0,-1";
}

std::string TimeCondition(int testTime) {
  return "0,0," + std::to_string(testTime) + ",0,128,256,100,100,0," + std::to_string(testTime) + ",500,0,-1";
}

std::string Records(const std::string& code, int count, long long end, double value) {
  std::string lines;
  for (int i = 0; i < count; ++i) {
    const long long x = count > 1 ? end * i / (count - 1) : 0;
    if (i != 0) lines += "\r\n";
    lines += code + "," + std::to_string(x) + "," + std::to_string(i) + "," + std::to_string(value + i % 3) + ",1";
  }
  return lines;
}

Session::Session() {
  HeadlessOptions options;
  session = std::make_unique<HeadlessSession>(options, prompter);
  session->CurrentSettings().WorkFolder = dir.File("work");
  dir.Write("work/.keep", "");
  session->LoadFiles();
}

std::string Session::File(const std::string& name, const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return dir.Write(name, text);
}

void Session::Load(const std::vector<std::string>& paths, std::int16_t replace) {
  LoadContext context = Context();
  LoadPaths(context, paths, replace);
}

void Session::LoadList(const std::string& list, std::int16_t replace) {
  LoadContext context = Context();
  LoadFiles(context, list, replace);
}

std::string Session::Dump() const { return DumpDisplayList(session->Drawing()); }

std::vector<Colour> Session::SeriesPens() const {
  std::vector<Colour> pens;
  for (const PolylineOp& polyline : Drawing().polylines) {
    // The frame is drawn in the grid colour; everything else solid is a series.
    if (polyline.style != kPenSolid || polyline.pen == session->CurrentSettings().Grf_ColorInfo[1]) continue;
    if (pens.empty() || pens.back() != polyline.pen) pens.push_back(polyline.pen);
  }
  return pens;
}

std::vector<Colour> Session::TextColours(const std::string& part) const {
  std::vector<Colour> colours;
  for (const TextOp& text : Drawing().texts) {
    if (text.text.find(part) != std::string::npos) colours.push_back(text.colour);
  }
  return colours;
}

int Session::Count(OpKind kind) const {
  int count = 0;
  for (const DisplayOp& op : Drawing().ops) count += op.kind == kind ? 1 : 0;
  return count;
}

}  // namespace varst::test
