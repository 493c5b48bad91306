// varst-window-bench: times the main window's own work on the offscreen platform.
//
//   varst-window-bench load   [--runs N] FILE           open the file until the chart is shown
//   varst-window-bench resize [--runs N] FILE           resize the chart of the loaded file, repaint
//   varst-window-bench redraw [--runs N] FILE...        redraw of the ticked rows
//   varst-window-bench smooth [--runs N] --window W FILE  smoothing of the one series
//   varst-window-bench merge  [--runs N] FILE...        merge of the ticked series
//   varst-window-bench readout [--runs N] FILE...       hover readout update at a new mouse X
//   varst-window-bench zoom   [--runs N] FILE...        redraw of a zoomed range, painted
//
// Output, one item a line, for scripts/bench to read:
//   sample CASE MS        one timed run, in milliseconds of wall time
//   info CASE KEY=VALUE   facts about a run (paints seen, rows, chart size)
//   median CASE MS        the median of the samples
// A command that shows a message other than the add-data question is a failed run: the
// message goes to standard error and the program exits with status 1.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchWindow.h"
#include "bench/PaintCounter.h"
#include "chart/ViewRanges.h"
#include "platform/ChartView.h"
#include "viewer/ChartViews.h"

namespace {

using varst::bench::BenchWindow;
using varst::bench::PaintCounter;
using varst::bench::PaintCounts;

constexpr char kUsage[] =
    "Usage: varst-window-bench load|resize|redraw|smooth|merge|readout|zoom [--runs N] [--window W] FILE...\n";

struct Options {
  std::string name;
  int runs = 5;
  std::string window = "5";
  std::vector<std::string> files;
};

class Stopwatch {
 public:
  [[nodiscard]] double Ms() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Stops the run when the window said something instead of doing the work, or when it did not
// end with the rows it should have.
void Check(BenchWindow& w, int expectedRows, const std::string& what) {
  for (const std::string& message : w.Prompter().unexpected) {
    throw std::runtime_error(what + ": the window showed the message \"" + message + "\"");
  }
  if (w.Rows() != expectedRows) {
    throw std::runtime_error(what + ": " + std::to_string(w.Rows()) + " grid rows, expected " +
                             std::to_string(expectedRows));
  }
}

void Sample(const Options& options, std::vector<double>& samples, double ms) {
  samples.push_back(ms);
  std::cout << "sample " << options.name << " " << ms << "\n" << std::flush;
}

void Info(const Options& options, const std::string& text) {
  std::cout << "info " << options.name << " " << text << "\n" << std::flush;
}

std::string PaintInfo(const PaintCounts& counts) {
  return "event_loop_passes=" + std::to_string(counts.eventLoopPasses) +
         " window_paints=" + std::to_string(counts.windowPaints) +
         " chart_paints=" + std::to_string(counts.chartPaints) +
         " status_paints=" + std::to_string(counts.statusPaints) +
         " status_texts=" + std::to_string(counts.statusTexts) +
         " first_paint_ms=" + std::to_string(static_cast<long>(counts.firstPaintMs)) +
         " longest_gap_ms=" + std::to_string(static_cast<long>(counts.longestGapMs));
}

// The status label after a command: its elapsed "[ms]" text, as the user reads it.
std::string StatusInfo(BenchWindow& w) { return "status=" + w.Status().text().toStdString(); }

// Opening the file until the chart is shown, counting the repaints on the way.
std::vector<double> Load(const Options& options) {
  std::vector<double> samples;
  for (int run = 0; run < options.runs; ++run) {
    BenchWindow w;
    PaintCounter counter(w.Window(), w.Chart(), w.Status());
    counter.Start();
    const Stopwatch watch;
    w.Open(options.files);
    BenchWindow::Settle();
    const double ms = watch.Ms();
    const PaintCounts counts = counter.Stop();
    Check(w, static_cast<int>(options.files.size()), "load");
    Sample(options, samples, ms);
    Info(options, PaintInfo(counts) + " " + StatusInfo(w));
  }
  return samples;
}

// A new size for the chart, then one synchronous repaint; every run takes another size, so
// that nothing drawn for an earlier size can be reused.
std::vector<double> Resize(const Options& options) {
  std::vector<double> samples;
  BenchWindow w;
  w.Open(options.files);
  BenchWindow::Settle();
  Check(w, static_cast<int>(options.files.size()), "resize");
  QWidget& chart = w.Chart();
  const QSize base = chart.size();
  Info(options, "chart=" + std::to_string(base.width()) + "x" + std::to_string(base.height()));
  for (int run = 0; run < options.runs; ++run) {
    const int step = run + 1;
    const QSize size(std::max(100, base.width() - 9 * step), std::max(100, base.height() - 5 * step));
    const Stopwatch watch;
    chart.resize(size);
    chart.repaint();
    Sample(options, samples, watch.Ms());
    BenchWindow::Settle();
  }
  return samples;
}

// The redraw of every ticked row, as ticking a box or "描画" runs it.
std::vector<double> Redraw(const Options& options) {
  std::vector<double> samples;
  BenchWindow w;
  w.Open(options.files);
  BenchWindow::Settle();
  const int rows = static_cast<int>(options.files.size());
  Check(w, rows, "redraw");
  for (int run = 0; run < options.runs; ++run) {
    PaintCounter counter(w.Window(), w.Chart(), w.Status());
    counter.Start();
    const Stopwatch watch;
    w.Window().Grid1_AfterEdit(0, 1);
    BenchWindow::Settle();
    const double ms = watch.Ms();
    const PaintCounts counts = counter.Stop();
    Check(w, rows, "redraw");
    Sample(options, samples, ms);
    Info(options, "chart_paints=" + std::to_string(counts.chartPaints));
  }
  return samples;
}

// One command on a newly opened window per run: the window as the user has it right after
// opening the files, with nothing left from an earlier run.
std::vector<double> CommandOnFreshWindow(const Options& options, int index, int addedRows,
                                         const std::function<void(BenchWindow&)>& prepare) {
  std::vector<double> samples;
  const int rows = static_cast<int>(options.files.size());
  for (int run = 0; run < options.runs; ++run) {
    BenchWindow w;
    w.Open(options.files);
    prepare(w);
    BenchWindow::Settle();
    Check(w, rows, options.name + " (opening)");
    const Stopwatch watch;
    w.Window().Command1_Click(index);
    BenchWindow::Settle();
    const double ms = watch.Ms();
    Check(w, rows + addedRows, options.name);
    Sample(options, samples, ms);
    Info(options, StatusInfo(w));
  }
  return samples;
}

std::vector<double> Smooth(const Options& options) {
  return CommandOnFreshWindow(options, 2, static_cast<int>(options.files.size()), [&options](BenchWindow& w) {
    w.Type(0, options.window);
    w.Type(1, "0");
  });
}

std::vector<double> Merge(const Options& options) {
  return CommandOnFreshWindow(options, 4, 1, [](BenchWindow& /*w*/) {});
}

// The readout follows the mouse: one move to another pixel column and the synchronous repaint
// that shows it (the chart's picture is reused; only the readout is painted anew).
std::vector<double> Readout(const Options& options) {
  std::vector<double> samples;
  BenchWindow w;
  w.Open(options.files);
  BenchWindow::Settle();
  Check(w, static_cast<int>(options.files.size()), "readout");
  auto& chart = static_cast<varst::ChartView&>(w.Chart());
  chart.repaint();
  const auto chartPaints = chart.ChartPaintCount();
  for (int run = 0; run < options.runs; ++run) {
    const QPointF at(chart.width() * (0.2 + 0.6 * run / std::max(1, options.runs)), chart.height() / 2.0);
    const Stopwatch watch;
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    chart.repaint();
    Sample(options, samples, watch.Ms());
  }
  const auto lines = w.Window().Views().ShownReadout();
  Info(options, "readout_lines=" + std::to_string(lines.size()) +
                    " chart_paints=" + std::to_string(chart.ChartPaintCount() - chartPaints));
  return samples;
}

// A zoom into a tenth of the range, at another place each run, until the chart is shown.
std::vector<double> Zoom(const Options& options) {
  std::vector<double> samples;
  BenchWindow w;
  w.Open(options.files);
  BenchWindow::Settle();
  const int rows = static_cast<int>(options.files.size());
  Check(w, rows, "zoom");
  varst::ChartViews& views = w.Window().Views();
  const varst::ViewRange whole = views.WholeRange();
  for (int run = 0; run < options.runs; ++run) {
    const double share = 0.05 + 0.8 * run / std::max(1, options.runs);
    const double start = whole.start + (whole.end - whole.start) * share;
    const double end = start + (whole.end - whole.start) / 10;
    const Stopwatch watch;
    views.ZoomTo(start, end);
    BenchWindow::Settle();
    const double ms = watch.Ms();
    Check(w, rows, "zoom");
    Sample(options, samples, ms);
    views.ShowWholeRange();
    BenchWindow::Settle();
  }
  return samples;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  if (argc < 3) return false;
  options.name = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string item = argv[i];
    if (item == "--runs" && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (item == "--window" && i + 1 < argc) {
      options.window = argv[++i];
    } else if (item.rfind("--", 0) == 0) {
      return false;
    } else {
      options.files.push_back(item);
    }
  }
  return !options.files.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    std::vector<double> samples;
    if (options.name == "load") {
      samples = Load(options);
    } else if (options.name == "resize") {
      samples = Resize(options);
    } else if (options.name == "redraw") {
      samples = Redraw(options);
    } else if (options.name == "smooth") {
      samples = Smooth(options);
    } else if (options.name == "merge") {
      samples = Merge(options);
    } else if (options.name == "readout") {
      samples = Readout(options);
    } else if (options.name == "zoom") {
      samples = Zoom(options);
    } else {
      std::cerr << kUsage;
      return 2;
    }
    std::cout << "median " << options.name << " " << Median(samples) << "\n";
  } catch (const std::exception& error) {
    std::cerr << "varst-window-bench: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
