#include "viewer/MainMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "Version.h"
#include "platform/ChartView.h"
#include "platform/QtGrid.h"
#include "platform/QtText.h"

namespace varst {

std::string BuildBaseCaption(int major, int minor, int revision) {
  return "ﾊﾟﾌｫｰﾏﾝｽ計測ﾋﾞｭｰｱｰ Ver" + std::to_string(major) + "." + std::to_string(minor) +
         std::to_string(revision);
}

MainMenu::MainMenu(Settings& settings, DataSet& dataSet, Services services, SettingsSaver saveSettings,
                   QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      dataSet_(dataSet),
      services_(services),
      saveSettings_(std::move(saveSettings)) {
  BuildControls();
  resize(1100, 760);
}

void MainMenu::BuildControls() {
  VSDraw1 = new ChartView;
  Label3 = new QLabel(VSDraw1);
  Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
  Label3->setStyleSheet("color: #a0a0a0; background: transparent;");
  VSDraw1->onResized = [this](int width, int height) {
    Label3->setText(QString("W:%1\nH:%2").arg(width).arg(height));
    Label3->adjustSize();
    Label3->move(width - Label3->width() - 4, 2);
  };

  Picture1 = new QWidget;
  Grid1 = new QtGrid(Picture1);
  Grid1->SetCols(6);
  Grid1->SetHeaderVisible(false);
  Grid1->SetColHidden(0, true);
  Label2 = new QLabel(Picture1);
  auto* panelLayout = new QVBoxLayout(Picture1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(Grid1, 1);
  panelLayout->addWidget(Label2);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->addWidget(VSDraw1);
  splitter_->addWidget(Picture1);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({540, 200});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->addWidget(splitter_);
}

void MainMenu::Form_Load() {
  Grid1->SetRows(0);
  VSDraw1->Surface().SetBackColor(settings_.Grf_ColorInfo[0]);
  VSDraw1->Surface().Clear();
  settings_.BaseCaption = BuildBaseCaption(kVersionMajor, kVersionMinor, kVersionRevision);
  setWindowTitle(ToQString(settings_.BaseCaption));
}

void MainMenu::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainMenu::Form_Unload() {
  if (saveSettings_) saveSettings_();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
}

}  // namespace varst
