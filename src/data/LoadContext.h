#pragma once
// Everything the loader works with: the state it changes, the chart it draws through, and the
// window's controls it reads and writes.

#include "common/Settings.h"
#include "data/DataSet.h"
#include "data/LineDrawer.h"
#include "data/LoaderHost.h"
#include "platform/DrawingSurface.h"
#include "platform/Grid.h"
#include "platform/Prompter.h"

namespace varst {

struct LoadContext {
  Settings& settings;
  DataSet& dataSet;
  LineDrawer& drawer;
  DrawingSurface& surface;  // the chart surface; DrawFile prints the error counts on it
  Grid& grid;               // the series grid
  LoaderHost& host;
  Prompter& prompter;
};

}  // namespace varst
