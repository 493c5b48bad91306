#pragma once
// "色設定": the chart's three colours (back, grid, scale), the legend size and the axis font
// multiplier. Edits stay in the dialog until OK; from here the line colour step is opened,
// which the window provides because it owns the series rows.

#include <QDialog>
#include <array>
#include <functional>

#include "chart/DialogResults.h"
#include "common/Settings.h"
#include "platform/Prompter.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace varst {

class Setting : public QDialog {
  Q_OBJECT

 public:
  // OK writes Grf_ColorInfo[0..2], Grf_FontSize and FontScale of settings and sets
  // SettingsChanged := 1; cancel sets SettingsChanged := 0 and writes nothing.
  // openLineColours runs the line colour dialog (ColorSelect) and leaves DialogResult; after
  // it returns, bit value 2 of SettingsChanged is set when DialogResult is 1, else cleared.
  Setting(Settings& settings, DialogResults& results, Prompter& prompter, std::function<void()> openLineColours,
          QWidget* parent = nullptr);

 private:
  void Form_Load();
  void ShowSwatch(int index);
  void Command1_Click(int index);
  void Command2_Click(int index);
  void AcceptSettings();
  // The multiplier typed or chosen in Combo2; false when it cannot be a FontScale.
  [[nodiscard]] bool ReadFontScale(float& scale) const;

  Settings& settings_;
  DialogResults& results_;
  Prompter& prompter_;
  std::function<void()> openLineColours_;

  std::array<QLabel*, 5> Label1{};
  std::array<QLabel*, 3> Label2{};
  std::array<QPushButton*, 3> Command1{};
  QComboBox* Combo1 = nullptr;
  QComboBox* Combo2 = nullptr;
  std::array<QPushButton*, 3> Command2{};
  std::array<Colour, 3> swatchColours_{};
};

}  // namespace varst
