#pragma once

#include <string>
#include <vector>

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"

namespace veltrano::testing {

// The committed coefficient set the model tests run on (tests/data/fixture-models.dat).
const ModelParameters& fixtureParameters();

// The built-in puff shapes and one irregular shape.
void setShape(DesignValues& d, const std::vector<double>& points);
std::vector<double> sineShape();  // 400 points sin(π·i/400)
inline const std::vector<double> kRectangleShape{1, 1};
inline const std::vector<double> kTriangleShape{0, 1, 0};
inline const std::vector<double> kRampShape{0, 1};
inline const std::vector<double> kIrregularShape{0.2, 0.9, 1.0, 0.45, 0.7, 0.15, 0.0};

// A pair of designs the whole model runs on: the reference with its measured values and the current one.
struct CorpusCase {
    std::string name;
    DesignValues reference;
    DesignValues current;
};
// About thirty designs: every perforation type, online targets in and out of reach, banded paper, the
// puff shapes, ventilation blocking, short and long rods, several patterns of known bits.
const std::vector<CorpusCase>& modelCorpus();

}  // namespace veltrano::testing
