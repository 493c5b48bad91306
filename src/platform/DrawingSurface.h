#pragma once
// The drawing surface the chart is drawn on. Coordinates are logical units set by the four
// scale properties; with a negative scale height Y grows upward. Text is drawn with its
// top-left corner at the current point, and drawing it leaves the current point where it
// was. Font sizes are in Y units.

#include <cstdint>
#include <string>
#include <vector>

#include "common/Colour.h"

namespace varst {

enum PenStyle : std::int32_t { kPenSolid = 0, kPenDash = 1, kPenDot = 2, kPenDashDot = 3 };

// A font size is the height of a text line in Y units; painted glyphs take this share of it
// and the rest is the gap to the next line, so lines stacked one font size apart do not touch.
inline constexpr double kGlyphShareOfLine = 2.0 / 3.0;

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // A hint before files of `bytes` bytes in all are drawn, so that a surface that keeps every
  // point can make room for them at once instead of growing through copies.
  virtual void ExpectFileBytes(std::uintmax_t bytes) { static_cast<void>(bytes); }

  virtual void SetBackColor(Colour colour) = 0;
  [[nodiscard]] virtual Colour BackColor() const = 0;
  virtual void SetFontSize(double size) = 0;
  [[nodiscard]] virtual double FontSize() const = 0;

  virtual void SetScaleLeft(double value) = 0;
  virtual void SetScaleWidth(double value) = 0;
  virtual void SetScaleTop(double value) = 0;
  virtual void SetScaleHeight(double value) = 0;
  [[nodiscard]] virtual double ScaleLeft() const = 0;
  [[nodiscard]] virtual double ScaleWidth() const = 0;
  [[nodiscard]] virtual double ScaleTop() const = 0;
  [[nodiscard]] virtual double ScaleHeight() const = 0;

  virtual void SetCurrentX(double value) = 0;
  virtual void SetCurrentY(double value) = 0;
  [[nodiscard]] virtual double CurrentX() const = 0;
  [[nodiscard]] virtual double CurrentY() const = 0;

  virtual void SetPenColor(Colour colour) = 0;
  [[nodiscard]] virtual Colour PenColor() const = 0;
  virtual void SetPenStyle(std::int32_t style) = 0;
  [[nodiscard]] virtual std::int32_t PenStyle() const = 0;
  virtual void SetFillColor(Colour colour) = 0;
  [[nodiscard]] virtual Colour FillColor() const = 0;
  virtual void SetTextColor(Colour colour) = 0;
  [[nodiscard]] virtual Colour TextColor() const = 0;

  // Draws text (bytes; shown as UTF-8 when valid, else Latin-1) at the current point.
  virtual void Text(const std::string& text) = 0;
  virtual void Line(double x1, double y1, double x2, double y2) = 0;
  // Outlined with the pen, filled with the fill colour.
  virtual void Rectangle(double x1, double y1, double x2, double y2) = 0;
  // A filled ellipse in the box.
  virtual void Ellipse(double x1, double y1, double x2, double y2) = 0;
  // Erases the drawing.
  virtual void Clear() = 0;
  // A filled area through the points (x, y pairs), painted translucently (alpha 0..255) and
  // without outline. Views over the chart use it; a surface may ignore it.
  virtual void FilledPolygon(const std::vector<double>& xy, Colour fill, int alpha) {
    static_cast<void>(xy), static_cast<void>(fill), static_cast<void>(alpha);
  }

  // Size of the picture the copy puts on the clipboard, in twips.
  virtual void SetExportWidth(std::int32_t twips) = 0;
  virtual void SetExportHeight(std::int32_t twips) = 0;
  [[nodiscard]] virtual std::int32_t ExportWidth() const = 0;
  [[nodiscard]] virtual std::int32_t ExportHeight() const = 0;
  // Places the drawing on the clipboard at the export size; false when that failed.
  virtual bool CopyPicture() = 0;

  // The surface's frame on the window, in twips.
  [[nodiscard]] virtual double ControlWidth() const = 0;
  [[nodiscard]] virtual double ControlHeight() const = 0;
};

}  // namespace varst
