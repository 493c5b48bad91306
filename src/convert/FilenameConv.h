#pragma once
// "ファイル名変換ツール": lists data files (open dialog or drop), takes the destination base
// folder, two folder levels, the existing-file choice and the time stamp check, runs the
// conversion and shows each file's outcome and the four counts. Its choices live in the
// settings and are written when the window closes.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "common/Settings.h"
#include "convert/ConversionForm.h"
#include "convert/ConversionState.h"
#include "convert/DialogQuestions.h"
#include "convert/StatusCounts.h"
#include "platform/Grid.h"
#include "platform/Services.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace varst {

class QtGrid;

class FilenameConv : public QWidget, public GridEvents, public ConversionForm, public CountLabels {
  Q_OBJECT

 public:
  // Writes the settings file; the caller hands in the writer it owns.
  using SettingsSaver = std::function<void()>;

  FilenameConv(Settings& settings, Services services, SettingsSaver saveSettings, QWidget* parent = nullptr);

  // Lists a file: 1 when added, 0 when it was listed already.
  int AddListedFile(const std::string& path);
  // Lists a file, with a notice when it was listed already, and updates the listed count.
  void AddFileWithNotice(const std::string& path);
  // Lists several files as one addition command does: each with AddFileWithNotice, then the
  // grid keeps exactly the listed rows.
  void AddFilesWithNotice(const std::vector<std::string>& paths);
  // Removes the selected file rows.
  void DeleteSelectedRows();

  [[nodiscard]] int ListedCount() const { return state_.ListedCount; }
  [[nodiscard]] QtGrid& FileList() { return *Grid1; }
  // True from the start of a run until it has returned.
  [[nodiscard]] bool RunActive() const { return runActive_; }

  // ConversionForm: what the run reads, file by file.
  [[nodiscard]] std::string BaseFolder() const override;
  [[nodiscard]] int LevelChoice(int level) const override;
  [[nodiscard]] int ExistingFileChoice() const override;
  [[nodiscard]] bool TimeStampCheck() const override;
  void ProcessEvents() override;

  // CountLabels.
  void SetCountText(int label, const std::string& text) override;

  // GridEvents of the file list.
  void StartEdit(int row, int col, bool& cancel) override;
  void AfterScroll(int oldTopRow, int newTopRow) override;
  void MouseUp(int button) override;
  void MouseMove(int row, int col) override;
  void DblClick() override;
  void DragDrop(const std::vector<std::string>& paths) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildLevelRow();
  QWidget* BuildOptionRows();
  QWidget* BuildListButtons();
  void BuildFileList();
  void BuildPopup();
  // Fits the shown columns to their contents, leaving the status texts some room.
  void FitColumns();
  void Form_Load();
  void Form_Unload();

  // Command1(0): starts a run, or asks the running one to stop.
  void StartOrAbort();
  void RunAndReport();
  void SetRunning(bool running);
  void SetRunControlsEnabled(bool enabled);
  // Command1(1), "全削除".
  void ClearAll();
  // Command1(4), "ファイル".
  void AddFromOpenDialog();
  // Asks whether the listed files go before more are added; Yes empties the list.
  void OfferToEmptyList();
  // Opens the selected rows' files of column 1 or 4 in the editor.
  void EditSelected(int col);
  void OpenInEditor(const std::string& path);
  void BrowseFolder();
  void OpenDestinationFolder();

  Settings& settings_;
  Services services_;
  SettingsSaver saveSettings_;
  ConversionState state_;
  DialogQuestions questions_;

  bool running_ = false;         // the start button reads "中止"
  bool runActive_ = false;       // RunConversion is on the stack
  bool closeAfterRun_ = false;   // the window was asked to close during a run
  int popupCol_ = -1;            // the column the popup menu was opened over

  QWidget* Picture1 = nullptr;
  QFrame* Frame1 = nullptr;
  std::array<QLabel*, 4> Label1{};
  QLineEdit* Text1 = nullptr;
  QPushButton* Command2 = nullptr;
  std::array<QComboBox*, 2> Combo1{};
  QComboBox* Combo2 = nullptr;
  QCheckBox* Check1 = nullptr;
  std::array<QLabel*, 4> Label2{};
  std::array<QPushButton*, 5> Command1{};
  QPushButton* Command10 = nullptr;
  QtGrid* Grid1 = nullptr;
  QLabel* Label3 = nullptr;
  QMenu* POPUP = nullptr;
};

}  // namespace varst
