#pragma once
// "画像のサイズ設定": the pixel size of the picture the clipboard command copies. The window
// keeps the size in twips; the boxes show and take whole pixels from 1 to 65535, checked when
// a box is left or Enter is pressed in it.

#include <QDialog>
#include <array>
#include <cstdint>

#include "chart/DialogResults.h"
#include "chart/EntryChecks.h"
#include "platform/Prompter.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace varst {

class SizeDialog : public QDialog {
  Q_OBJECT

 public:
  // OK: ImageWidth := width x twipsPerPixelX, ImageHeight := height x twipsPerPixelY, rounded
  // halves to even; DialogResult := 1. Cancel: DialogResult := -1. A twips-per-pixel value
  // that is not positive is taken as 15, the value at 96 dots per inch.
  SizeDialog(std::int32_t& ImageWidth, std::int32_t& ImageHeight, double twipsPerPixelX, double twipsPerPixelY,
             DialogResults& results, Prompter& prompter, QWidget* parent = nullptr);
  ~SizeDialog() override;

  SizeDialog(const SizeDialog&) = delete;
  SizeDialog& operator=(const SizeDialog&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void ShowEntry(int index);
  void Text1_LostFocus(int index);
  void Command1_Click(int index);
  [[nodiscard]] int EntryIndexOf(const QObject* box) const;

  std::int32_t& imageWidth_;
  std::int32_t& imageHeight_;
  std::array<double, 2> twipsPerPixel_{};
  DialogResults& results_;
  Prompter& prompter_;

  std::array<EntryField, 2> entries_{};
  std::array<QLabel*, 2> Label1{};
  std::array<QLineEdit*, 2> Text1{};
  std::array<QPushButton*, 2> Command1{};
  bool checking_ = false;  // a check's message box is open; its focus changes are not the user's
};

}  // namespace varst
