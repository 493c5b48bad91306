#include "viewer/TraceWindow.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/QtText.h"

namespace varst {

TraceWindow::TraceWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("deb");
  Text1 = new QPlainTextEdit(this);
  Text1->setReadOnly(true);
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text1);
  resize(520, 300);
}

void TraceWindow::Append(const std::string& text) {
  QString line = ToQString(text);
  if (line.endsWith("\r\n")) line.chop(2);
  Text1->appendPlainText(line);
  Text1->moveCursor(QTextCursor::End);
  Text1->repaint();
}

QString TraceWindow::Text() const { return Text1->toPlainText(); }

}  // namespace varst
