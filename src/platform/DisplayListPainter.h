#pragma once
// Paints a DisplayList with QPainter at any pixel size.

#include <QImage>
#include <QSizeF>

#include "platform/DisplayList.h"

class QPainter;

namespace varst {

// Paints the list into a target of the given size in pixels, starting with the background.
void PaintDisplayList(QPainter& painter, const DisplayList& list, QSizeF size);

// The list rendered into a new image of width x height pixels.
[[nodiscard]] QImage RenderDisplayList(const DisplayList& list, int width, int height);

}  // namespace varst
