#pragma once
// Buttons that share one handler and are told apart by their index, as the program's control
// arrays are. Each gets the object name "<name>_<index>", so tests can find it. The caller
// places them in its layout.

#include <QPushButton>
#include <QString>
#include <array>
#include <cstddef>

namespace varst {

template <std::size_t N, typename Handler>
[[nodiscard]] std::array<QPushButton*, N> MakeButtonArray(const QString& name, const std::array<QString, N>& captions,
                                                          QObject* context, Handler handler) {
  std::array<QPushButton*, N> buttons{};
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QPushButton(captions[i]);
    buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
    buttons[i]->setAutoDefault(false);
    QObject::connect(buttons[i], &QPushButton::clicked, context, [handler, i] { handler(static_cast<int>(i)); });
  }
  return buttons;
}

}  // namespace varst
