#pragma once
// The main window: the chart surface above, the panel with the series grid below.

#include <QWidget>
#include <functional>

#include "common/Settings.h"
#include "data/DataSet.h"
#include "platform/Services.h"

class QLabel;
class QSplitter;

namespace varst {

class ChartView;
class QtGrid;

// "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver" & major & "." & minor & revision (1.2.5 gives "... Ver1.25").
[[nodiscard]] std::string BuildBaseCaption(int major, int minor, int revision);

class MainMenu : public QWidget {
  Q_OBJECT

 public:
  // Writes the settings file; start-up hands in the writer it owns.
  using SettingsSaver = std::function<void()>;

  MainMenu(Settings& settings, DataSet& dataSet, Services services, SettingsSaver saveSettings,
           QWidget* parent = nullptr);

  // The window's load step, run once when start-up shows the window.
  void Form_Load();

  [[nodiscard]] ChartView& ChartSurface() { return *VSDraw1; }
  [[nodiscard]] QtGrid& SeriesGrid() { return *Grid1; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  // Closing the window: the settings are saved and every other window is closed.
  void Form_Unload();

  Settings& settings_;
  DataSet& dataSet_;
  Services services_;
  SettingsSaver saveSettings_;

  QSplitter* splitter_ = nullptr;
  ChartView* VSDraw1 = nullptr;
  QWidget* Picture1 = nullptr;
  QtGrid* Grid1 = nullptr;
  QLabel* Label2 = nullptr;  // status: progress and elapsed time
  QLabel* Label3 = nullptr;  // size readout of the chart surface
};

}  // namespace varst
