#pragma once
// The controls of the main window that the chart drawing reads and writes.

#include <string>

#include "common/Colour.h"

namespace varst {

class ChartControls {
 public:
  virtual ~ChartControls() = default;
  // The Y full scale box: empty, or a value that overrides the file's full scale.
  [[nodiscard]] virtual std::string YScaleText() const = 0;
  virtual void SetYScaleText(const std::string& text) = 0;
  // "機種名表示": the legend shows model, serial number and capacity.
  [[nodiscard]] virtual bool ShowModelName() const = 0;
  // The caption of the first offset mode button: the Y unit, "MB" or "ms".
  virtual void SetOffsetUnitCaption(const std::string& caption) = 0;
  // The window's own background colour, which fills the threshold boxes.
  [[nodiscard]] virtual Colour WindowBackColor() const = 0;
  // A line for the trace window (it carries its CR LF).
  virtual void Trace(const std::string& line) = 0;
};

}  // namespace varst
