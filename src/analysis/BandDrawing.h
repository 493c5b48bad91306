#pragma once
// The reference band drawn under the series of a chart: a translucent area between the band's
// edges, bin by bin, and its median as a dashed line, clipped at the frame.

#include "analysis/ReferenceBand.h"
#include "common/Colour.h"
#include "platform/DrawingSurface.h"

namespace varst {

// Where the chart shows what: the X range across the frame (chart X 0..10000), in the file's
// units, and the value scale (chart Y = value x yZoom, the frame from 0 to yFullScale).
struct BandFrame {
  double shownStart = 0;
  double shownEnd = 0;
  double yZoom = 1;
  double yFullScale = 0;
  Colour background = 0;  // the chart's, so that the median line stands out from it
};

inline constexpr Colour kBandFill = 0xA08080;  // a grey-blue, painted translucently
inline constexpr int kBandAlpha = 110;

// Dark grey over a light background, light grey over a dark one.
[[nodiscard]] Colour BandMedianColour(Colour background);

void DrawBand(DrawingSurface& surface, const ReferenceBand& band, const BandFrame& frame);

}  // namespace varst
