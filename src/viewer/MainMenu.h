#pragma once
// The main window: the chart surface above; below it the series grid and the controls, the
// seven command buttons, the smoothing entry boxes and offset modes, "機種名表示", the Y full
// scale box with "Y Scale", and the status label.
//
// The window's handlers keep their names: Form_Load, Command1_Click, Grid1_AfterEdit ...
// Their steps live in MainMenuCommands.cpp (the buttons), MainMenuGrid.cpp (grid and entry
// boxes) and MainMenuPopup.cpp (popup menu, batch lists, closing).

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/PointStore.h"
#include "viewer/WindowBands.h"
#include "chart/ChartControls.h"
#include "chart/ChartState.h"
#include "chart/DialogResults.h"
#include "common/Settings.h"
#include "data/DataSet.h"
#include "data/LoadContext.h"
#include "data/LoaderHost.h"
#include "platform/Grid.h"
#include "platform/Services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTimer;

namespace varst {

class ChartDrawing;
class ChartViews;
struct DisplayList;
class ChartView;
class QtGrid;

// "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver" & major & "." & minor & revision (1.2.5 gives "... Ver1.25").
[[nodiscard]] std::string BuildBaseCaption(int major, int minor, int revision);

inline constexpr char kBusySuffix[] = " (処理中)";

class MainMenu : public QWidget, public LoaderHost, public ChartControls, public GridEvents {
  Q_OBJECT

 public:
  // Writes the settings file; start-up hands in the writer it owns.
  using SettingsSaver = std::function<void()>;

  MainMenu(Settings& settings, DataSet& dataSet, Services services, SettingsSaver saveSettings,
           QWidget* parent = nullptr);
  ~MainMenu() override;

  // The window's load step, run once when start-up shows the window.
  void Form_Load();

  // The caption: mode 1 the base caption, mode 2 the base caption & text, 0 unchanged; then
  // the window repaints and pending events run.
  void SetTitle(const std::string& text, int mode);

  // The seven command buttons, run inside the busy frame (Index 0 to 6).
  void Command1_Click(int Index);
  // The grid: only column 1 (the tick box) edits; a tick or untick redraws from the ticked
  // rows. Row 0 and column 1 is also the redraw of the whole window.
  void Grid1_StartEdit(int Row, int Col, bool& Cancel);
  void Grid1_AfterEdit(int Row, int Col);
  void Grid1_AfterScroll(int OldTopRow, int NewTopRow);
  void Grid1_OLEDragDrop(const std::vector<std::string>& paths);
  // The entry boxes: a number outside the box's bounds is refused with a message and the
  // last accepted value comes back.
  void Text1_LostFocus(int Index);
  void Timer1_Timer();
  void Check1_Click();
  // The popup menu of the grid: 0 delete the current row, 1 edit the ticked files, 2 change
  // the drawing order, 3 save the chart as a picture file.
  void POPUP_SUB_Click(int Index);
  void Command2_Click();
  // A batch list file ("[FILE LIST]" in its first 101 lines) is run and 1 returned; else 0.
  std::int32_t CheckFileListBatch(const std::string& path);
  void RunFileListBatch(const std::string& path);

  [[nodiscard]] LoadContext Context();
  [[nodiscard]] ChartView& ChartSurface() { return *VSDraw1; }
  [[nodiscard]] QtGrid& SeriesGrid() { return *Grid1; }
  [[nodiscard]] ChartState& Chart() { return chart_; }
  // Zoom, the hover readout and the statistics window over the chart.
  [[nodiscard]] ChartViews& Views() { return *views_; }
  // The records the chart drew, per series row.
  [[nodiscard]] const PointStore& DrawnPoints() const { return points_; }
  [[nodiscard]] QString StatusText() const;
  // "基準帯": when ticked, the band of each group of ticked series lies under the series and
  // the rows outside it are marked; follows every drawing of the chart.
  void RefreshBand();
  [[nodiscard]] const WindowBands& Bands() const { return bands_; }
  [[nodiscard]] QCheckBox* BandCheck() const { return bandCheck_; }

  // Lines for the trace window while "/DEB" is on.
  void SetTraceSink(std::function<void(const std::string&)> sink) { trace_ = std::move(sink); }

  // LoaderHost
  void ClearYScaleBox() override;
  [[nodiscard]] bool KeepYScale() const override;
  void AppendProgress(const std::string& marks) override;
  void ClearProgress() override;
  void FileProgress(double share) override;
  void EndFileProgress() override;
  void ProcessEvents() override;
  [[nodiscard]] ScreenPoint MessageBoxPoint() const override;

  // GridEvents
  void StartEdit(int row, int col, bool& cancel) override { Grid1_StartEdit(row, col, cancel); }
  void AfterEdit(int row, int col) override { Grid1_AfterEdit(row, col); }
  void AfterScroll(int oldTopRow, int newTopRow) override { Grid1_AfterScroll(oldTopRow, newTopRow); }
  void MouseUp(int button) override;
  void DragDrop(const std::vector<std::string>& paths) override { Grid1_OLEDragDrop(paths); }

  // The picture size of the clipboard copy, in twips.
  std::int32_t ImageWidth = 0;
  std::int32_t ImageHeight = 0;
  // The accepted range of each entry box.
  std::array<std::int32_t, 11> EntryMin{0, -100, 1, 1, 0};
  std::array<std::int32_t, 11> EntryMax{1000, 2000, 500, 20, 100};

  // ChartControls
  [[nodiscard]] std::string YScaleText() const override;
  void SetYScaleText(const std::string& text) override;
  [[nodiscard]] bool ShowModelName() const override;
  void SetOffsetUnitCaption(const std::string& caption) override;
  [[nodiscard]] Colour WindowBackColor() const override;
  void Trace(const std::string& line) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Paints what changed (a file's progress: only what was added to the chart) and lets the
  // window repaint, without taking clicks or keys.
  void PaintAndProcessEvents(bool progressive);
  // Runs one command of the window. When memory runs out on the way, the data set, the grid
  // and the chart are emptied (whatever the command had half built goes with them), the
  // window leaves its busy state and the user is told.
  void GuardCommand(const std::function<void()>& command);
  void BuildControls();
  QWidget* BuildControlPanel();
  // Closing the window: the settings are saved and every other window is closed.
  void Form_Unload();
  // The commands of the buttons; those that stop early answer false.
  void OpenDataFiles();
  bool SaveRowFile();
  void CopyRowFile(const std::string& destination, const std::string& source);
  bool SmoothCheckedSeries();
  void CopyChartToClipboard();
  bool CopyPictureToClipboard(const DisplayList& list, std::int32_t widthTwips, std::int32_t heightTwips);
  bool MergeCheckedSeries();
  void EditChartSettings();
  // Draws one row's series alone, which captures its lines into the line buffer.
  void DrawRowSelected(int row);
  // Fills the grid row of the series a smoothing or merge just added and writes its reference
  // file; false when no series was added.
  bool FillNewSeriesRow(std::int32_t seriesBefore);
  std::vector<std::uint8_t>& StartRowsToCheck();
  void TickRowsToCheck();
  // The modal dialogs, each run through the Prompter.
  void RunSizeDialog();
  void RunSettingDialog();

  // Opens the file name conversion tool, or brings its open window to the front.
  void OpenConversionTool();

  void ShowPopupMenu();
  void DeleteCurrentRow();
  void EditTickedFiles();
  void ChangeDrawingOrder();
  // Saves the chart as PNG, SVG or PDF, chosen by the name's extension (none: PNG), at the
  // size the picture size dialog gives; the file is written whole and then renamed.
  void SaveChartPicture();
  void SetHourglass(bool on);
  [[nodiscard]] double TwipsPerPixelX() const;
  [[nodiscard]] double TwipsPerPixelY() const;

  Settings& settings_;
  DataSet& dataSet_;
  Services services_;
  SettingsSaver saveSettings_;
  ChartState chart_;
  std::unique_ptr<ChartDrawing> drawing_;
  PointStore points_;
  ChartViews* views_ = nullptr;
  std::function<void(const std::string&)> trace_;

  QSplitter* splitter_ = nullptr;
  ChartView* VSDraw1 = nullptr;
  QWidget* Picture1 = nullptr;
  QtGrid* Grid1 = nullptr;
  std::array<QPushButton*, 7> Command1{};
  // 0 Average Cnt, 1 Offset, 2 Y Scale, 3 and 4 the reference band's k and tolerance (%).
  std::array<QLineEdit*, 5> Text1{};
  std::array<QLabel*, 2> Label1{};
  std::array<QRadioButton*, 3> Option1{};
  QCheckBox* Check1 = nullptr;  // "機種名表示"
  QCheckBox* Check3 = nullptr;  // "Y Scale"
  QCheckBox* bandCheck_ = nullptr;  // "基準帯"
  QTimer* bandTimer_ = nullptr;
  std::uint64_t bandRevision_ = 0;  // the drawing the shown band was made for
  WindowBands bands_;
  QLabel* Label2 = nullptr;     // status: progress and elapsed time
  QLabel* Label3 = nullptr;     // size readout of the chart surface
  QTimer* Timer1 = nullptr;     // takes the initial picture size once
  QMenu* POPUP = nullptr;       // the grid's popup menu, made on first use
  QPushButton* conversionButton_ = nullptr;
  QWidget* conversionTool_ = nullptr;  // the open conversion window, if any

  DialogResults results_;
  std::string OrderList;  // the drawing order the Position dialog built
  // The rows a smoothing or merge added, ticked when it ends.
  std::vector<std::uint8_t> RowsToCheck;
  bool checkingEntry_ = false;  // a bound check's message box is open
  int busyDepth_ = 0;           // nesting of the commands that show the busy pointer
  int percentShown_ = 0;        // length of the percentage at the end of the status text
  QElapsedTimer progressShown_;  // since the window last showed a file's progress
  qint64 progressPause_ = 0;     // ms until it shows it again
};

// The size readout: "W:" & width & CR & "H:" & height, in pixels.
[[nodiscard]] std::string SizeReadout(int widthPixels, int heightPixels);

}  // namespace varst
