// The chart option dialogs driven as a user would, with every prompt scripted.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "chart/ColorSelectDialog.h"
#include "chart/PositionDialog.h"
#include "chart/SettingDialog.h"
#include "chart/SizeDialog.h"
#include "platform/MemoryGrid.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"
#include "support/ScriptedPrompter.h"

namespace varst {
namespace {

using namespace std::string_literals;
using test::ScriptedPrompter;

template <typename T>
T& Child(QWidget& dialog, const char* name) {
  T* child = dialog.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *child;
}

void Click(QWidget& dialog, const char* name) { Child<QPushButton>(dialog, name).click(); }

std::string Text(QWidget& dialog, const char* name) { return ToBytes(Child<QLineEdit>(dialog, name).text()); }

struct State {
  Settings settings;
  DialogResults results;
  ScriptedPrompter prompter;
  std::vector<LineColourRow> colourRows{{"a.dat", 0x11}, {"b.dat", 0x22}, {"c.dat", 0x33}};
  std::vector<PositionRow> positionRows{
      {"/p/A", "A.dat", "MA", "SA", 0x0A}, {"/p/B", "B.dat", "MB", "SB", 0x0B}, {"/p/C", "C.dat", "MC", "SC", 0x0C}};
  std::string OrderList = "old";
  std::int32_t width = 9000;
  std::int32_t height = 6000;
  State() {
    settings.Grf_ColorInfo = {0x010203, 0x040506, 0x070809};
    settings.FontScale = 1.1F;
  }
  [[nodiscard]] bool SettingsUnchanged() const {
    return settings.Grf_ColorInfo[0] == 0x010203 && settings.Grf_ColorInfo[1] == 0x040506 &&
           settings.Grf_ColorInfo[2] == 0x070809 && settings.Grf_FontSize == 1 && settings.FontScale == 1.1F;
  }
  std::unique_ptr<Setting> MakeSetting(std::function<void()> lineColours = {}) {
    return std::make_unique<Setting>(settings, results, prompter, std::move(lineColours));
  }
  std::unique_ptr<SizeDialog> MakeSize(double tppX = 15, double tppY = 12) {
    auto dialog = std::make_unique<SizeDialog>(width, height, tppX, tppY, results, prompter);
    dialog->show();
    return dialog;
  }
};

// ---- Setting ----

TEST(SettingDialog, ShowsTheSettingsAndTheMultipliers) {
  State s;
  auto dialog = s.MakeSetting();
  EXPECT_EQ(FromQColor(Child<QLabel>(*dialog, "Label2_2").palette().color(QPalette::Window)), 0x070809);
  auto& sizes = Child<QComboBox>(*dialog, "Combo1");
  auto& scales = Child<QComboBox>(*dialog, "Combo2");
  EXPECT_FALSE(sizes.isEditable());
  EXPECT_EQ(sizes.currentText(), QStringLiteral("中"));
  QStringList offered;
  for (int i = 0; i < scales.count(); ++i) offered << scales.itemText(i);
  EXPECT_EQ(offered.join(' '), "2 1.9 1.8 1.7 1.6 1.5 1.4 1.3 1.2 1.1 1 0.9 0.8 0.7 0.6 0.5");
  EXPECT_TRUE(scales.isEditable());
  EXPECT_EQ(scales.currentText(), "1.1") << "the single-precision scale in its shortest text";
}

TEST(SettingDialog, CancelKeepsEverythingAndOkStoresIt) {
  for (const bool ok : {false, true}) {
    State s;
    s.results.SettingsChanged = 3;
    s.prompter.ExpectColour(0x123456).ExpectColour(kNoColour);
    auto dialog = s.MakeSetting();
    Click(*dialog, "Command1_1");
    Click(*dialog, "Command1_2");  // picker cancelled: that swatch stays
    Child<QComboBox>(*dialog, "Combo1").setCurrentIndex(2);
    Child<QComboBox>(*dialog, "Combo2").setEditText("1.5");
    Click(*dialog, ok ? "Command2_0" : "Command2_1");
    EXPECT_EQ(s.results.SettingsChanged, ok ? 1 : 0);
    if (!ok) {
      EXPECT_TRUE(s.SettingsUnchanged());
      continue;
    }
    EXPECT_EQ(s.settings.Grf_ColorInfo, (std::array<Colour, 11>{0x010203, 0x123456, 0x070809}));
    EXPECT_EQ(s.settings.Grf_FontSize, 2);
    EXPECT_EQ(s.settings.FontScale, 1.5F);
  }
}

TEST(SettingDialog, AMultiplierThatIsNoScaleIsRefusedAndTheDialogStays) {
  for (const char* text : {"abc", "", "0", "-1", "1e39", "1,5"}) {
    State s;
    s.results.SettingsChanged = 2;
    s.prompter.ExpectMessage("倍率が不正です");
    auto dialog = s.MakeSetting();
    dialog->show();
    Child<QComboBox>(*dialog, "Combo2").setEditText(text);
    Click(*dialog, "Command2_0");
    EXPECT_TRUE(dialog->isVisible()) << text;
    EXPECT_TRUE(s.SettingsUnchanged()) << text;
    EXPECT_EQ(s.results.SettingsChanged, 2) << text;
    EXPECT_EQ(s.prompter.History().back().icon, MessageIcon::Critical);
  }
}

TEST(SettingDialog, ASizeOutsideTheListIsKept) {
  State s;
  s.settings.Grf_FontSize = 7;
  auto dialog = s.MakeSetting();
  EXPECT_EQ(Child<QComboBox>(*dialog, "Combo1").currentIndex(), -1);
  Click(*dialog, "Command2_0");
  EXPECT_EQ(s.settings.Grf_FontSize, 7);
}

// In the line colour dialog: picks a colour for `row`, then presses `button`.
int PickAndPress(QDialog& dialog, int row, const char* button) {
  Child<QtGrid>(dialog, "Grid1").SetRow(row);
  Click(dialog, "Command1_2");
  Click(dialog, button);
  return dialog.result();
}

TEST(SettingDialog, LineColourStep) {
  const struct {
    const char* name;
    const char* button;  // in the line colour dialog
    std::int32_t before, afterStep, colour;
  } cases[] = {{"OK sets bit 2", "Command1_0", 0, 2, 0x123456}, {"cancel clears it", "Command1_1", 3, 1, 0x22}};
  for (const auto& c : cases) {
    State s;
    MemoryGrid grid;  // the window's series grid
    grid.SetCols(6);
    grid.SetRows(4);
    grid.SetTextMatrix(0, 1, "a.dat");
    grid.SetTextMatrix(1, 1, "b.dat");
    DataSet data;
    data.SeriesColor[1] = 0x22;
    s.results.SettingsChanged = c.before;
    s.prompter.ExpectDialog([&](QDialog& d) { return PickAndPress(d, 1, c.button); }).ExpectColour(0x123456);
    auto dialog = s.MakeSetting([&] { RunColorSelect(grid, data, s.results, s.prompter); });
    dialog->show();
    Click(*dialog, "Command2_2");
    EXPECT_EQ(s.results.SettingsChanged, c.afterStep) << c.name;
    EXPECT_EQ(data.SeriesColor[1], c.colour) << c.name;
    dialog->close();
    EXPECT_EQ(s.results.SettingsChanged, c.afterStep) << c.name << ": the close box leaves it";
    Click(*dialog, "Command2_1");
    EXPECT_EQ(s.results.SettingsChanged, 0) << c.name;
    EXPECT_EQ(data.SeriesColor[1], c.colour) << c.name << ": the row colours stay after cancel";
  }
}

// ---- ColorSelect ----

TEST(ColorSelectDialog, PicksForTheCurrentRowAndWritesOnOk) {
  State s;
  s.prompter.ExpectColour(0xABCDEF).ExpectColour(kNoColour);
  ColorSelect dialog(s.colourRows, s.results, s.prompter);
  dialog.show();
  auto& grid = Child<QtGrid>(dialog, "Grid1");
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.TextMatrix(1, 0), "b.dat");
  EXPECT_EQ(grid.CellBackColor(1, 1), 0x22);
  const QPoint cell = grid.visualRect(grid.model()->index(2, 0)).center();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
  EXPECT_EQ(grid.CellBackColor(2, 1), 0xABCDEF) << "a double click picks for the row";
  grid.SetRow(0);
  Click(dialog, "Command1_2");  // picker cancelled
  EXPECT_EQ(s.colourRows[2].colour, 0x33) << "nothing is written before OK";
  Click(dialog, "Command1_0");
  EXPECT_EQ(s.results.DialogResult, 1);
  EXPECT_EQ(s.colourRows[0].colour, 0x11);
  EXPECT_EQ(s.colourRows[2].colour, 0xABCDEF);
}

TEST(ColorSelectDialog, CancelAndTheCloseBoxWriteNoColour) {
  for (const bool closeBox : {false, true}) {
    State s;
    s.results.DialogResult = 1;
    s.prompter.ExpectColour(0xABCDEF);
    ColorSelect dialog(s.colourRows, s.results, s.prompter);
    dialog.show();
    Click(dialog, "Command1_2");
    closeBox ? static_cast<void>(dialog.close()) : Click(dialog, "Command1_1");
    EXPECT_EQ(s.results.DialogResult, closeBox ? 1 : -1) << "the close box leaves the result";
    EXPECT_EQ(s.colourRows[0].colour, 0x11);
  }
}

TEST(ColorSelectDialog, WithoutRowsTheGridIsEmptyAndOkChangesNothing) {
  State s;
  std::vector<LineColourRow> rows;
  ColorSelect dialog(rows, s.results, s.prompter);
  EXPECT_EQ(Child<QtGrid>(dialog, "Grid1").Rows(), 0);
  Click(dialog, "Command1_2");  // no row to pick for, so no picker
  Click(dialog, "Command1_0");
  EXPECT_EQ(s.results.DialogResult, 1);
  EXPECT_TRUE(rows.empty());
}

// ---- SizeDialog ----

void TypeAndEnter(QWidget& dialog, const char* box, const char* text) {
  auto& edit = Child<QLineEdit>(dialog, box);
  edit.setText(QString::fromUtf8(text));
  QTest::keyClick(&edit, Qt::Key_Return);
}

TEST(SizeDialogTest, TypedTexts) {
  const struct {
    const char* text;
    const char* message;  // "" for none
    const char* shown;    // the box afterwards
    std::int32_t width;   // ImageWidth after OK
  } cases[] = {
      {"300", "", "300", 4500},
      {"12.", "", "12", 180},
      {"65535", "", "65535", 983025},
      {"abc", "", "600", 9000},
      {"0", "設定値が範囲外です\r1～65535", "600", 9000},
      {"70000", "設定値が範囲外です\r1～65535", "600", 9000},
      {".", "型が一致しません。", ".", 9000},
  };
  for (const auto& c : cases) {
    State s;
    if (*c.message != '\0') s.prompter.ExpectMessage(c.message);
    auto dialog = s.MakeSize();
    EXPECT_EQ(Text(*dialog, "Text1_0"), "600");
    EXPECT_EQ(Text(*dialog, "Text1_1"), "500");
    TypeAndEnter(*dialog, "Text1_0", c.text);
    EXPECT_EQ(Text(*dialog, "Text1_0"), c.shown) << c.text;
    EXPECT_EQ(dialog->result(), 0) << "Enter does not close the dialog";
    if (*c.message != '\0') {
      EXPECT_EQ(s.prompter.History().back().text, c.message);
      EXPECT_EQ(s.prompter.History().back().icon, MessageIcon::Critical);
      EXPECT_EQ(s.prompter.History().back().title, "");
    }
    Click(*dialog, "Command1_0");
    EXPECT_EQ(s.width, c.width) << c.text;
    EXPECT_EQ(s.height, 6000) << c.text;
    EXPECT_EQ(s.results.DialogResult, 1);
  }
}

TEST(SizeDialogTest, LeavingABoxChecksIt) {
  State s;
  s.prompter.ExpectMessage("設定値が範囲外です");
  auto dialog = s.MakeSize();
  QApplication::setActiveWindow(dialog.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  auto& widthBox = Child<QLineEdit>(*dialog, "Text1_0");
  widthBox.setFocus(Qt::TabFocusReason);
  widthBox.setText("0");
  Child<QLineEdit>(*dialog, "Text1_1").setFocus(Qt::TabFocusReason);
  EXPECT_EQ(widthBox.text(), "600");
}

TEST(SizeDialogTest, OkRoundsTwipsHalvesToEvenAndCancelKeepsThem) {
  const struct {
    const char* text;
    std::int32_t width;   // at 1.5 twips per pixel
    std::int32_t height;  // at 12.5
  } cases[] = {{"1", 2, 12}, {"3", 4, 38}, {"5", 8, 62}, {"2.5", 4, 31}};
  for (const auto& c : cases) {
    State s;
    auto dialog = s.MakeSize(1.5, 12.5);
    TypeAndEnter(*dialog, "Text1_0", c.text);
    TypeAndEnter(*dialog, "Text1_1", c.text);
    Click(*dialog, "Command1_0");
    EXPECT_EQ(s.width, c.width) << c.text;
    EXPECT_EQ(s.height, c.height) << c.text;
  }
  State s;
  auto dialog = s.MakeSize();
  TypeAndEnter(*dialog, "Text1_0", "100");
  Click(*dialog, "Command1_1");
  EXPECT_EQ(s.results.DialogResult, -1);
  EXPECT_EQ(s.width, 9000);
}

// ---- Position ----

std::string Names(const QtGrid& grid) {
  std::string names;
  for (int r = 0; r < grid.Rows(); ++r) names += grid.TextMatrix(r, 1).substr(0, 1);
  return names;
}

TEST(PositionDialog, RaisingTheLastRowTwiceAndOk) {
  State s;
  Position dialog(s.positionRows, s.OrderList, s.results);
  auto& grid = Child<QtGrid>(dialog, "Grid1");
  EXPECT_TRUE(grid.isColumnHidden(0));
  EXPECT_EQ(grid.TextMatrix(2, 3), "SC");
  grid.SetRow(2);
  Click(dialog, "Command1_3");
  Click(dialog, "Command1_3");
  EXPECT_EQ(Names(grid), "CAB");
  EXPECT_TRUE(grid.IsSelected(0)) << "the moved row stays selected";
  EXPECT_EQ(grid.CellForeColor(0, 2), 0x0C) << "the colour moves with the row";
  Click(dialog, "Command1_0");
  EXPECT_EQ(s.OrderList, "/p/C\0/p/A\0/p/B,,"s);
  EXPECT_EQ(s.positionRows[0].path, "/p/C");
  EXPECT_EQ(s.positionRows[0].colour, 0x0C);
  EXPECT_EQ(s.positionRows[1].colour, 0x0A);
  EXPECT_EQ(s.results.DialogResult, 1);
}

TEST(PositionDialog, MovesAtTheEdgesAndDown) {
  const struct {
    int row;
    const char* button;
    const char* order;
    int rowAfter;
  } cases[] = {{0, "Command1_3", "ABC", 0}, {2, "Command1_2", "ABC", 2}, {0, "Command1_2", "BAC", 1}};
  for (const auto& c : cases) {
    State s;
    Position dialog(s.positionRows, s.OrderList, s.results);
    auto& grid = Child<QtGrid>(dialog, "Grid1");
    grid.SetRow(c.row);
    Click(dialog, c.button);
    EXPECT_EQ(Names(grid), c.order) << c.row << c.button;
    EXPECT_EQ(grid.Row(), c.rowAfter) << c.row << c.button;
  }
}

TEST(PositionDialog, CancelAndNoRows) {
  State s;
  Position dialog(s.positionRows, s.OrderList, s.results);
  Child<QtGrid>(dialog, "Grid1").SetRow(2);
  Click(dialog, "Command1_3");
  Click(dialog, "Command1_1");
  EXPECT_EQ(s.results.DialogResult, -1);
  EXPECT_EQ(s.OrderList, "old");
  EXPECT_EQ(s.positionRows[2].path, "/p/C");
  std::vector<PositionRow> none;
  Position empty(none, s.OrderList, s.results);
  Click(empty, "Command1_3");
  Click(empty, "Command1_0");
  EXPECT_EQ(s.OrderList, "");
  EXPECT_EQ(s.results.DialogResult, 1);
}

}  // namespace
}  // namespace varst
