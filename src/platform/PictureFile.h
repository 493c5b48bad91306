#pragma once
// The chart as a picture file or clipboard entry: PNG, SVG or PDF, all painted from the same
// display list by the same painter at the same pixel size, so dense series are reduced per
// device pixel alike and the three pictures show the same drawing. In SVG and PDF the texts
// stay text and the lines stay lines.

#include <QByteArray>
#include <optional>
#include <string>

#include "common/FileWrite.h"
#include "platform/DisplayList.h"

class QImage;
class QMimeData;

namespace varst {

enum class PictureFormat { Png, Svg, Pdf };

// An image as a PNG file's bytes: 8-bit RGB, every pixel as it is; empty when it could not be
// made. Written here rather than by Qt's image writer, which takes two to three times as long
// for a chart (it tries every row filter on every row, where a chart's flat colour compresses
// as well without).
[[nodiscard]] QByteArray EncodePngImage(const QImage& image);

// The format a file name asks for by its extension, in any letter case: ".png", ".svg" or
// ".pdf"; none for anything else.
[[nodiscard]] std::optional<PictureFormat> PictureFormatOfPath(const std::string& path);

// The picture of width x height pixels (for PDF a page of width x height points) encoded in
// the format; empty when it could not be made.
[[nodiscard]] QByteArray EncodePicture(const DisplayList& list, int width, int height, PictureFormat format);

// Writes the picture whole to a temporary file beside path and renames it into place, so a
// failure never leaves a half-written picture where a good file stood.
[[nodiscard]] WriteResult SavePicture(const DisplayList& list, int width, int height, PictureFormat format,
                                      const std::string& path);

// One clipboard entry with the picture as an image and as "image/svg+xml"; the caller owns
// it until it hands it to the clipboard.
[[nodiscard]] QMimeData* PictureMimeData(const DisplayList& list, int width, int height);

}  // namespace varst
