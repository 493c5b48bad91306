#include "analysis/ReferenceBand.h"

#include "analysis/BandDrawing.h"
#include "platform/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varst {
namespace {

// A series over the range 0..500 with one record in the middle of each of the 500 bins, at
// `level` except for the bins listed in `slow`, which hold `slowLevel`.
std::vector<BandPoint> Flat(double level, int slowBins = 0, double slowLevel = 0) {
  std::vector<BandPoint> points;
  for (int b = 0; b < 500; ++b) points.push_back({b + 0.5, b < slowBins ? slowLevel : level});
  return points;
}

TEST(ReferenceBand, MedianOfOddEvenAndTies) {
  struct Case {
    std::vector<double> values;
    std::optional<double> median;
  };
  const Case cases[] = {
      {{}, std::nullopt}, {{5}, 5.0}, {{3, 1, 2}, 2.0}, {{4, 1, 3, 2}, 2.5}, {{2, 9, 2, 2}, 2.0}, {{7, 7}, 7.0},
      {{-1, 1}, 0.0},
  };
  for (Case c : cases) EXPECT_EQ(MedianOf(c.values), c.median);
}

TEST(ReferenceBand, BinsAreEqualAndTheLastHoldsTheUpperEnd) {
  struct Case {
    double x, start, end;
    std::optional<int> bin;
  };
  const Case cases[] = {
      {0, 0, 500, 0},       {0.999, 0, 500, 0},   {1, 0, 500, 1},          {499.5, 0, 500, 499},
      {500, 0, 500, 499},   {-0.1, 0, 500, {}},   {500.1, 0, 500, {}},     {5, 5, 5, {}},
      {NAN, 0, 500, {}},    {150, 100, 200, 250}, {0x10000, 0, 0x20000, 250},
  };
  for (const Case& c : cases) EXPECT_EQ(BinOf(c.x, c.start, c.end, 500), c.bin) << c.x;
}

TEST(ReferenceBand, SeriesBinValueIsTheMedianOfItsRecords) {
  const std::vector<BandPoint> points = {{0.2, 10}, {0.7, 20}, {2.5, 5}, {2.6, 1}, {2.7, 3}, {500, 8}, {600, 99}};
  const auto values = SeriesBinValues(points, 0, 500, 500);
  ASSERT_EQ(values.size(), 500u);
  EXPECT_EQ(values[0], 15.0);  // even count: mean of the two middle values
  EXPECT_FALSE(values[1]);     // no record there
  EXPECT_EQ(values[2], 3.0);
  EXPECT_EQ(values[499], 8.0);  // the upper end; 600 lies outside the range
}

TEST(ReferenceBand, BandAndVerdicts) {
  struct Case {
    const char* name;
    std::vector<std::vector<BandPoint>> series;
    bool present;
    double median, halfWidth;  // of bin 499
    std::vector<bool> outliers;
  };
  const double mad = 1.4826 * 2;  // values 98, 100, 102: deviations 2, 0, 2
  const Case cases[] = {
      {"scaled deviation", {Flat(100), Flat(102), Flat(98)}, true, 100, 3 * mad, {false, false, false}},
      {"tolerance floor", {Flat(100), Flat(100), Flat(100), Flat(106)}, true, 100, 5, {false, false, false, true}},
      {"inside the floor", {Flat(100), Flat(100), Flat(100), Flat(104)}, true, 100, 5, {false, false, false, false}},
      {"two series", {Flat(100), Flat(50)}, false, 0, 0, {false, false}},
      {"exactly the share is not more", {Flat(100), Flat(100), Flat(100), Flat(100, 5, 200)}, true, 100, 5,
       {false, false, false, false}},
      {"just over the share", {Flat(100), Flat(100), Flat(100), Flat(100, 6, 200)}, true, 100, 5,
       {false, false, false, true}},
  };
  for (const Case& c : cases) {
    const ReferenceBand band = ComputeReferenceBand(c.series, 0, 500);
    EXPECT_EQ(band.present, c.present) << c.name;
    ASSERT_EQ(band.series.size(), c.outliers.size()) << c.name;
    for (std::size_t i = 0; i < c.outliers.size(); ++i) EXPECT_EQ(band.series[i].outlier, c.outliers[i]) << c.name << i;
    if (!c.present) continue;
    const BandBin& last = band.bins[499];
    EXPECT_TRUE(last.present) << c.name;
    EXPECT_DOUBLE_EQ(last.median, c.median) << c.name;
    EXPECT_DOUBLE_EQ(last.high - last.median, c.halfWidth) << c.name;
  }
}

TEST(ReferenceBand, ABinNeedsThreeSeriesAndSharesCountOnlyBandedBins) {
  // The third series covers only the first half of the range: the second half has two series
  // and no band, so the drive that is slow there is not judged there.
  std::vector<BandPoint> half;
  for (int b = 0; b < 250; ++b) half.push_back({b + 0.5, 100});
  std::vector<BandPoint> slowLate = Flat(100);
  for (int b = 250; b < 500; ++b) slowLate[static_cast<std::size_t>(b)].value = 10;
  const ReferenceBand band = ComputeReferenceBand({Flat(100), slowLate, half}, 0, 500);
  EXPECT_TRUE(band.bins[249].present);
  EXPECT_FALSE(band.bins[250].present);
  EXPECT_EQ(band.series[1].binsWithBand, 250u);
  EXPECT_EQ(band.series[1].binsOutside, 0u);
  EXPECT_FALSE(band.series[1].outlier);

  // A series with a fifth of its bins at 80% is outside in exactly those bins.
  const ReferenceBand slowZone = ComputeReferenceBand({Flat(100), Flat(101), Flat(99), Flat(100, 100, 80)}, 0, 500);
  EXPECT_EQ(slowZone.series[3].binsOutside, 100u);
  EXPECT_DOUBLE_EQ(slowZone.series[3].outlierShare, 0.2);
  EXPECT_TRUE(slowZone.series[3].outlier);
}

TEST(ReferenceBand, DrawnAsAreasPerRunOfBinsAndADashedMedianClippedAtTheFrame) {
  ReferenceBand band;
  band.present = true;
  band.start = 0;
  band.end = 4;
  band.bins = {{true, 10, 8, 12}, {false, 0, 0, 0}, {true, 20, 18, 22}, {true, 40, 30, 60}};
  RecordingSurface surface;
  surface.Clear();
  // The frame shows 0..4 across 0..10000, values x 2 up to 100: the last bin's top is cut there.
  DrawBand(surface, band, BandFrame{0, 4, 2, 100, 0x000000});
  const std::string expected =
      "clear\n"
      "scale 0 0 1000 1000\n"
      "polygon A08080 110 0 24 2500 24 2500 16 0 16\n"
      "polygon A08080 110 5000 44 7500 44 7500 100 10000 100 10000 60 7500 60 7500 36 5000 36\n"
      "line 6250 40 8750 80 E0E0E0 1\n";
  EXPECT_EQ(DumpDisplayList(surface.List()), expected);
}

}  // namespace
}  // namespace varst
