#pragma once
// A surface with the chart's logical frame, for the painter tests: X 0..100 over the width,
// Y 0..100 upward, on black.

#include "platform/RecordingSurface.h"

namespace varst::test {

inline void Frame(RecordingSurface& surface) {
  surface.SetBackColor(0);
  surface.Clear();
  surface.SetScaleLeft(0);
  surface.SetScaleWidth(100);
  surface.SetScaleTop(100);
  surface.SetScaleHeight(-100);
}

}  // namespace varst::test
