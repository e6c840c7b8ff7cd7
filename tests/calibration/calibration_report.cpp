// calibration-report: evaluates every calibration target on a coefficient set and prints one line per
// target (value, range, whether it is met, its status), for tuning the coefficients and for review.
//   calibration-report TARGETS.csv (COEFFICIENTS.csv | models.dat)
#include <cstdio>
#include <string>

#include "CalibrationTargets.h"
#include "CsvTable.h"
#include "ModelParameterCsv.h"
#include "core/design/NumberText.h"

using namespace veltrano;

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string valuesText(const std::vector<double>& values) {
    if (values.empty()) return "-";
    double low = values.front(), high = values.front();
    for (double v : values) {
        low = v < low ? v : low;
        high = v > high ? v : high;
    }
    if (values.size() == 1) return formatNumber("%.4f", low);
    return formatNumber("%.4f", low) + " .. " + formatNumber("%.4f", high);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: calibration-report TARGETS.csv (COEFFICIENTS.csv | models.dat)\n");
        return 2;
    }
    const auto targetText = calibration::readTextFile(argv[1]);
    if (!targetText) {
        std::fprintf(stderr, "calibration-report: cannot read %s\n", argv[1]);
        return 1;
    }
    const calibration::TargetTable table = calibration::readTargetTable(*targetText);
    if (!table.error.empty()) {
        std::fprintf(stderr, "calibration-report: %s: %s\n", argv[1], table.error.c_str());
        return 1;
    }
    ModelParameters mp;
    const std::string coefficients = argv[2];
    if (endsWith(coefficients, ".csv")) {
        const auto text = calibration::readTextFile(coefficients);
        const ModelParameterCsv csv = readModelParameterCsv(text ? *text : "");
        if (!text || !csv.error.empty()) {
            std::fprintf(stderr, "calibration-report: %s: %s\n", argv[2],
                         text ? csv.error.c_str() : "cannot read");
            return 1;
        }
        mp = csv.parameters;
    } else if (loadModelParameters(coefficients, mp) != kModelParametersOk) {
        std::fprintf(stderr, "calibration-report: %s is not a complete model parameter file\n", argv[2]);
        return 1;
    }
    calibration::TargetEvaluator evaluator(mp);
    int stale = 0;
    for (const calibration::CalibrationTarget& t : table.targets) {
        const calibration::TargetResult r = evaluator.evaluate(t);
        const bool honest = r.error.empty() && r.inRange == t.adopted();
        stale += honest ? 0 : 1;
        std::printf(
            "%-5s %-22s %-16s %-4s %s%s\n", t.id.c_str(), valuesText(r.values).c_str(),
            calibration::rangeText(t).c_str(), r.inRange ? "in" : "OUT", t.status.c_str(),
            r.error.empty() ? (honest ? "" : "   <-- status disagrees") : ("   <-- " + r.error).c_str());
    }
    return stale == 0 ? 0 : 3;
}
