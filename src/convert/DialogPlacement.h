#pragma once
// Where the conversion tool's question dialogs open: their top at one fifth of the screen
// height, centred horizontally on the screen.

class QWidget;

namespace varst {

void PlaceOnUpperCentre(QWidget& dialog);

}  // namespace varst
