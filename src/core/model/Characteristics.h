#pragma once

#include "core/design/CigaretteDesign.h"
#include "core/design/ModelParameters.h"

namespace veltrano {

// Constants of the model, as every earlier version used them.
inline constexpr double kPi = 3.141592654;
inline constexpr double kPaPerMmH2O = 9.7926;  // not 9.80665
inline constexpr double kCuToMetresPerSecond = 1.6666e-7;

// The mean axial velocity (m/s) of the standard 17.5 ml/s flow in a cigarette of diameter d (mm).
inline double standardVelocity(double d) {
    return 70 / (kPi * d * d);
}

// A permeability in CU as the wall coefficient of a paper with exponent n (m/s per Pa^n).
double wallCoefficient(double permeability, double n);

// Replaces every value whose known bit is clear by its default; sets `ci_len`.
void applyDefaults(DesignValues& d, const ModelParameters& mp);

// Power-law coefficients of the ventilation zone, paper, filter and rod.
void computePerforationCoefficients(DesignValues& d, const ModelParameters& mp);
void computePaperCoefficients(DesignValues& d);
void computeFilterCoefficients(DesignValues& d);
void computeRodCoefficients(DesignValues& d);

// Diffusion capacity (cm/s) predicted for the paper of d.
double predictDiffusion(const DesignValues& d, const ModelParameters& mp);

// Length of the butt (mm): the largest of fi_len + 8, 23 and tp_width + 3.
double buttLength(const DesignValues& d);

// The x at which the line through (x1, y1) and (x2, y2) reaches y.
double interpolateLinear(double x1, double y1, double x2, double y2, double y);

}  // namespace veltrano
