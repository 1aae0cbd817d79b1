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
  int failedRuns = 0;      // runs that failed or came out wrong, the warm-up's included
  bool ok = true;          // no run failed
};

// Each function does its work once and returns the seconds it took, or a
// negative number when it failed or its result came out wrong. One warm-up
// pair comes first, untimed but checked: a failure there is a failure too.
inline PairedFigures MeasurePairs(int pairs, const std::function<double()>& a,
                                  const std::function<double()>& b) {
  PairedFigures figures;
  const double warmA = a();  // apart: a always runs before b
  const double warmB = b();
  figures.failedRuns += (warmA < 0) + (warmB < 0);
  std::vector<double> timesA, timesB, ratios;
  for (int i = 0; i < pairs; ++i) {
    const double ta = a();
    const double tb = b();
    figures.failedRuns += (ta < 0) + (tb < 0);
    if (ta < 0 || tb < 0) continue;
    timesA.push_back(ta);
    timesB.push_back(tb);
    ratios.push_back(tb / ta);
  }
  figures.ok = figures.failedRuns == 0;
  for (size_t i = 0; i < timesA.size(); ++i) {
    figures.meanA += timesA[i] / static_cast<double>(timesA.size());
    figures.meanB += timesB[i] / static_cast<double>(timesB.size());
  }
  figures.medianA = Median(timesA);
  figures.medianB = Median(timesB);
  figures.medianRatio = Median(ratios);
  return figures;
}
