#pragma once
// The controls of the main window that the loader reads and writes. The window implements
// them on its widgets; headless runs on plain values.

#include <string>

namespace varst {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

class LoaderHost {
 public:
  virtual ~LoaderHost() = default;
  // Empties the Y full scale box.
  virtual void ClearYScaleBox() = 0;
  // Whether "Y Scale" is ticked, so that the box keeps its value across loads.
  [[nodiscard]] virtual bool KeepYScale() const = 0;
  // The status label's progress row.
  virtual void AppendProgress(const std::string& marks) = 0;
  virtual void ClearProgress() = 0;
  // How far the reading of a long file has come (0..1); the window shows it and repaints.
  virtual void FileProgress(double /*share*/) {}
  // The file is drawn: its share leaves the progress row (what else the row shows stays).
  virtual void EndFileProgress() {}
  // Lets the window repaint and handle pending events during long work.
  virtual void ProcessEvents() = 0;
  // Where a question box of the loader opens, in screen pixels.
  [[nodiscard]] virtual ScreenPoint MessageBoxPoint() const = 0;
};

}  // namespace varst
