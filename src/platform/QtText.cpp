#include "platform/QtText.h"

#include <QColor>
#include <QFile>

#include "common/TextEncoding.h"

namespace varst {

QString ToQString(const std::string& bytes) { return QString::fromStdString(ToDisplayUtf8(bytes)); }

std::string ToBytes(const QString& text) { return text.toStdString(); }

QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }

QColor ToQColor(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

Colour FromQColor(const QColor& colour) { return Rgb(colour.red(), colour.green(), colour.blue()); }

}  // namespace varst
