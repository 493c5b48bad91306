#pragma once
// Conversions between the program's byte strings and Qt's texts.

#include <QString>
#include <string>

#include "common/Colour.h"

class QColor;

namespace varst {

// Bytes shown as text: UTF-8 when valid, else Latin-1.
[[nodiscard]] QString ToQString(const std::string& bytes);
// Interface texts written in the source (UTF-8) back to bytes.
[[nodiscard]] std::string ToBytes(const QString& text);

// Paths in the platform's native encoding.
[[nodiscard]] QString PathToQString(const std::string& path);
[[nodiscard]] std::string PathFromQString(const QString& path);

[[nodiscard]] QColor ToQColor(Colour colour);
[[nodiscard]] Colour FromQColor(const QColor& colour);

}  // namespace varst
