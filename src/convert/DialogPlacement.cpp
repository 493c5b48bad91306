#include "convert/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

namespace varst {

void PlaceOnUpperCentre(QWidget& dialog) {
  const QScreen* screen = dialog.screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const int width = dialog.frameGeometry().width();
  dialog.move(area.x() + (area.width() - width) / 2, area.y() + area.height() / 5);
}

}  // namespace varst
