#pragma once
// The trace window "deb": one line for every series the chart begins to draw, while the
// option "/DEB" is on.

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace varst {

class TraceWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TraceWindow(QWidget* parent = nullptr);

  // Appends text (which carries its own line end) and moves the caret to the end.
  void Append(const std::string& text);
  [[nodiscard]] QString Text() const;

 private:
  QPlainTextEdit* Text1 = nullptr;
};

}  // namespace varst
