#include "analysis/BandDrawing.h"

#include <algorithm>
#include <vector>

namespace varst {

Colour BandMedianColour(Colour background) {
  const int red = background & 0xFF;
  const int green = (background >> 8) & 0xFF;
  const int blue = (background >> 16) & 0xFF;
  return red * 3 + green * 6 + blue < 1280 ? 0xE0E0E0 : 0x404040;
}

void DrawBand(DrawingSurface& surface, const ReferenceBand& band, const BandFrame& frame) {
  const double shownWidth = frame.shownEnd - frame.shownStart;
  if (!band.present || band.bins.empty() || !(shownWidth > 0) || !(frame.yFullScale > 0)) return;
  const double binWidth = (band.end - band.start) / static_cast<double>(band.bins.size());
  const auto chartX = [&](double x) {
    return std::clamp((x - frame.shownStart) / shownWidth * 10000, 0.0, 10000.0);
  };
  const auto chartY = [&](double value) { return std::clamp(value * frame.yZoom, 0.0, frame.yFullScale); };

  // One area per run of neighbouring bins that have a band: the upper edge left to right, then
  // the lower edge back.
  std::vector<double> upper;
  std::vector<double> lower;
  const auto flush = [&] {
    if (upper.size() >= 4) {
      std::vector<double> area = upper;
      for (std::size_t i = lower.size(); i >= 2; i -= 2) {
        area.push_back(lower[i - 2]);
        area.push_back(lower[i - 1]);
      }
      surface.FilledPolygon(area, kBandFill, kBandAlpha);
    }
    upper.clear();
    lower.clear();
  };
  for (std::size_t b = 0; b < band.bins.size(); ++b) {
    const BandBin& bin = band.bins[b];
    const double x0 = band.start + binWidth * static_cast<double>(b);
    const double x1 = x0 + binWidth;
    if (!bin.present || x1 < frame.shownStart || x0 > frame.shownEnd) {
      flush();
      continue;
    }
    for (const double x : {chartX(x0), chartX(x1)}) {
      upper.insert(upper.end(), {x, chartY(bin.high)});
      lower.insert(lower.end(), {x, chartY(bin.low)});
    }
  }
  flush();

  surface.SetPenColor(BandMedianColour(frame.background));
  surface.SetPenStyle(kPenDash);
  bool drawing = false;
  double lastX = 0;
  double lastY = 0;
  for (std::size_t b = 0; b < band.bins.size(); ++b) {
    const BandBin& bin = band.bins[b];
    const double centre = band.start + binWidth * (static_cast<double>(b) + 0.5);
    if (!bin.present || centre < frame.shownStart || centre > frame.shownEnd) {
      drawing = false;
      continue;
    }
    const double x = chartX(centre);
    const double y = chartY(bin.median);
    if (drawing) surface.Line(lastX, lastY, x, y);
    drawing = true;
    lastX = x;
    lastY = y;
  }
}

}  // namespace varst
