#include "bench/ResultFileGenerator.h"

#include <cmath>
#include <cstdio>

namespace varst::bench {
namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
  // A bell-shaped value in -1..1 (the mean of three uniforms, stretched).
  double Noise() { return (Uniform() + Uniform() + Uniform() - 1.5) / 1.5; }

 private:
  std::uint64_t state_;
};

struct Condition {
  std::int64_t rangeEnd = 0;
  int flags = 0;
  int fullScale = 100;
  int unit = 0;
  int testTime = 0;
  int samplingTime = 0;
};

Condition ConditionFor(const GeneratorOptions& options) {
  Condition c;
  switch (options.kind) {
    case ChartKind::Lba:
      c.rangeEnd = options.rangeEnd >= 0 ? options.rangeEnd : options.maxLba - 1;
      break;
    case ChartKind::LbaCompletionTime:
      c.rangeEnd = options.rangeEnd >= 0 ? options.rangeEnd : options.maxLba - 1;
      c.flags = 0x100;
      break;
    case ChartKind::Count:
      c.rangeEnd = options.rangeEnd >= 0 ? options.rangeEnd : 100000;
      c.fullScale = 50;
      c.unit = 10;
      c.testTime = 10;
      break;
    case ChartKind::Time:
      c.testTime = static_cast<int>(options.rangeEnd >= 0 ? options.rangeEnd : 60000);
      c.rangeEnd = c.testTime;
      c.flags = 0x80;
      c.samplingTime = 500;
      break;
  }
  if (options.flagsOverride >= 0) c.flags = options.flagsOverride;
  return c;
}

std::string ConditionLine(const GeneratorOptions& options, const Condition& c) {
  char line[256];
  const bool count = options.kind == ChartKind::Count;
  std::snprintf(line, sizeof line, "0,0,%lld,0,%d,%d,%d,%d,%d,%d,%d,0,%d", static_cast<long long>(c.rangeEnd),
                c.flags, count ? 8 : 256, count ? static_cast<int>(c.rangeEnd) : 100, c.fullScale, c.unit, c.testTime,
                c.samplingTime, options.threshold);
  std::string text = line;
  if (!options.marker.empty()) text += "," + options.marker;
  return text;
}

// The measured value at a share 0..1 of the range, for one series.
double Value(const GeneratorOptions& options, const std::string& code, double share, int test, Random& random) {
  switch (options.kind) {
    case ChartKind::Lba:
    case ChartKind::Time: {
      // Outer tracks are faster: the rate falls across the disk. Writes run a little slower.
      const double slope = options.kind == ChartKind::Lba ? 35 : 0;
      const double codeFactor = code == "W" ? 0.92 : (code == "WR" ? 0.75 : 1.0);
      double rate = (80 - slope * share) * options.speed * codeFactor * (1.0 - 0.12 * test);
      rate += 3.5 * random.Noise();
      if (random.Uniform() < 0.004) rate *= 0.45;  // a short stall
      return rate;
    }
    case ChartKind::LbaCompletionTime:
    case ChartKind::Count: {
      double time = (options.kind == ChartKind::Count ? 7.5 : 12) + 3 * random.Noise();
      if (random.Uniform() < 0.02) time = 30 + 25 * random.Uniform();
      return time;
    }
  }
  return 0;
}

void WriteSeries(std::ostream& out, const GeneratorOptions& options, const Condition& c, const std::string& code,
                 int test, Random& random) {
  const std::int64_t n = options.records;
  std::int64_t nextBreak = options.breaks > 0 ? n / (options.breaks + 1) : -1;
  char line[160];
  for (std::int64_t i = 0; i < n; ++i) {
    const double share = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0;
    std::int64_t x = 0;
    if (options.kind == ChartKind::Time) {
      x = i * c.samplingTime;
    } else {
      x = static_cast<std::int64_t>(std::llround(share * static_cast<double>(c.rangeEnd)));
    }
    std::string mark;
    if (options.errorRate > 0 && random.Uniform() < options.errorRate) mark = "E";
    if (i == nextBreak) {
      mark = mark.empty() ? "S" : "A";
      nextBreak += n / (options.breaks + 1);
    }
    const double value = Value(options, code, share, test, random);
    long count = 1;
    if (options.threshold >= 0) {
      count = value > options.threshold ? static_cast<long>(std::exp(random.Uniform() * std::log(50000.0))) : 0;
    }
    std::snprintf(line, sizeof line, "%s%s,%lld,%lld,%.2f,%ld%s%s", code.c_str(), mark.c_str(),
                  static_cast<long long>(x), static_cast<long long>(i), std::max(0.0, value), count,
                  options.sixFields ? ",0" : "", options.lineEnd.c_str());
    out << line;
  }
}

}  // namespace

void WriteResultFile(std::ostream& out, const GeneratorOptions& options) {
  Random random(options.seed);
  out << options.model << ',' << options.serial << ',' << options.maxLba << ",ATA,FW1.00,512,7200,SATA,64MB,00" << options.lineEnd;
  const Condition condition = ConditionFor(options);
  for (int test = 0; test < options.tests; ++test) {
    out << ConditionLine(options, condition) << options.lineEnd;
    for (const std::string& code : options.series) WriteSeries(out, options, condition, code, test, random);
  }
  char line[96];
  for (int i = 0; i < options.unknownRecords; ++i) {
    std::snprintf(line, sizeof line, "X,%lld,%d,%.2f,1%s",
                  static_cast<long long>(condition.rangeEnd * (i + 1) / (options.unknownRecords + 1)), i,
                  40 + 5 * random.Noise(), options.lineEnd.c_str());
    out << line;
  }
}

}  // namespace varst::bench
