// Timing two ways of doing one thing against each other: the runs go in
// turns, A B A B …, so that a busy moment of the machine weighs on both
// alike, and the ratio is taken pair by pair.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "bench/seconds.h"

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct PairedFigures {
  double medianA = 0, medianB = 0;
  double meanA = 0, meanB = 0;
  double medianRatio = 0;  // the median of B / A over the pairs
  bool ok = true;          // no run failed
};

// Each function does its work once and returns the seconds it took, or a
// negative number when it failed. One warm-up pair comes first, untimed.
inline PairedFigures MeasurePairs(int pairs, const std::function<double()>& a,
                                  const std::function<double()>& b) {
  a();
  b();
  std::vector<double> timesA, timesB, ratios;
  PairedFigures figures;
  for (int i = 0; i < pairs; ++i) {
    const double ta = a();
    const double tb = b();
    if (ta < 0 || tb < 0) {
      figures.ok = false;
      continue;
    }
    timesA.push_back(ta);
    timesB.push_back(tb);
    ratios.push_back(tb / ta);
    figures.meanA += ta / pairs;
    figures.meanB += tb / pairs;
  }
  figures.medianA = Median(timesA);
  figures.medianB = Median(timesB);
  figures.medianRatio = Median(ratios);
  return figures;
}
