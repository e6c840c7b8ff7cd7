#!/usr/bin/env python3
"""Writes data/model-parameters.csv: the 162 model coefficients, each with its block, meaning and source.

Every block is written here in a readable form (a scale times a dimensionless shape, or a physical law)
whose few parameters carry the published facts; this script expands the forms into the coefficients the
model reads. Sources in brackets ([A1], [C6], ...) are listed in data/README.md; T-xx are the calibration
targets of data/calibration-targets.csv, which the calibration test checks on the real model.

    python3 tools/derive-model-parameters.py > data/model-parameters.csv
"""
import csv
import math
import sys

rows = []  # (index, value, block, meaning, source)


def add(value, block, meaning, source):
    rows.append((len(rows), value, block, meaning, source))


# --- Ventilation zone: effective permeability Q·x / (Q·w1 + w0·x + c), i.e. 1 / (w1/x + w0/Q + c/(Q·x)),
# with x the perforation term and Q the plug wrap permeability: w0 weights the plug wrap's resistance,
# w1 the perforation's, c is a constant. A plain series connection is (1, 1, 0).
ZONES = [
    ("electrostatic perforation", 1.0, "T-01, T-02, T-03: the plain series connection reproduces the default "
     "design's measured PDc 124 mmH2O, FV 13 % and RV 10 % without tuning"),
    ("micro laser perforation", 15.0, "[B10] FV rises with plug wrap permeability; [A7] two-row laser tipping "
     "200–600 CU on 3300–8000 CU plug wrap gives FV of about 20–45 %"),
    ("macro and online laser perforation", 40.0, "[B9] four rows on a 10000 CU plug wrap reach at most about "
     "70 % (77 % at the extreme 8000 CU tipping); [B10] FV depends clearly on the plug wrap grade: 2 × 400 CU "
     "gives 22 % on 3300 CU and 45 % on 26000 CU"),
]
for zone, w0, source in ZONES:
    add(w0, "ventilation zone, " + zone,
        "weight of the plug wrap's resistance (the term multiplying the perforation term x in the denominator)"
        + ("; larger than 1 because air crosses the plug wrap only near the discrete holes" if w0 > 1 else ""),
        source)
    add(1.0, "ventilation zone, " + zone, "weight of the perforation's resistance (the term multiplying the "
        "plug wrap permeability in the denominator)", source)
    add(0.0, "ventilation zone, " + zone, "constant of the denominator; none needed", source)

# --- ISO base functions Q(v, P) of the filter ventilation v (%) and the paper permeability P (CU), per % of
# unventilated flow (the puff number without that factor). Form:
#   Q = t0 · [1 + a·v + b1·(P − 50) + b3·v·(P − 50) + b2·(P − 50)²],  b3 = −b1/100
# so that the permeability effect fades as v → 100. t0 is the value at v = 0, P = 50 for the reference
# rod, filter and paper; it is chosen so that the default design reproduces its stored values (T-04..T-08).
BASES = [
    ("nicotine", 0.0088679, -0.0005, -0.0037, 8e-6, True,
     "T-05 (0.70 mg); T-12, T-14 (ventilation, [B2]); T-22 ([C1] −19 % for 20 → 77 CU); [C3] nicotine ~15 % "
     "less sensitive to permeability than NFDPM"),
    ("'tar' (NFDPM)", 0.14539, -0.0030, -0.0044, 9.6e-6, True,
     "T-04 (11 mg); T-10, T-11, T-14 ([B1] [B2]: filtration rises with ventilation, so 'tar' falls faster than "
     "dilution); T-20 ([C1] −25 %), T-25 ([C3])"),
    ("carbon monoxide", 0.15977, 0.0010, -0.0038, 8e-6, True,
     "T-06 (13 mg); T-13, T-15 ([B1] CO per nicotine rises with ventilation; [E2] CO is not filtered); "
     "T-21 ([C1] −23 %), T-23 ([C2] −17 % for 30 → 70 CU), T-24"),
    ("puff number", 8.2003, 0.00336, -0.00125, 0.0, False,
     "T-07 (8 puffs); T-16, T-17 ([B7] [B8]: less air through the coal per puff); T-27 ([C8]); T-90: rises with "
     "ventilation at every permeability; its value at 100 % sets the burn rate (T-08)"),
]
TERMS = ["constant", "× v (filter ventilation %)", "× P (paper permeability CU)", "× v·P", "× v²", "× P²"]
for name, t0, a, b1, b2, fade, source in BASES:
    b3 = -b1 / 100 if fade else 0.0
    coefficients = [t0 * (1 - 50 * b1 + 2500 * b2), t0 * (a - 50 * b3), t0 * (b1 - 100 * b2), t0 * b3, 0.0,
                    t0 * b2]
    form = (f"Q = t0·[1 + a·v + b1·(P−50) + b3·v·(P−50) + b2·(P−50)²] with t0 = {t0:g}, a = {a:g}, b1 = {b1:g}, "
            f"b2 = {b2:g}, b3 = {b3:g}")
    for term, value in zip(TERMS, coefficients):
        add(value, "ISO base function, " + name, f"{term}; {form}", source)

# --- Citrate factor N(P, c) / N(P, 1), c the citrate content (%), P limited to 20..60 CU. Form:
#   N = 1 + e·(c − 1) + g·(c − 1)·(P − 40)
# so N(P, 1) = 1 and the effect grows with permeability ([C4]).
CITRATE = [
    ("nicotine", -0.05, -0.0005, "[C3] citrate acts on all yields; [C4] CO/nicotine falls with burn agent, so "
     "nicotine responds less than CO"),
    ("'tar' (NFDPM)", -0.05, -0.0005, "T-33 (−8 % for 0.5 → 2.0 %); [C3]; [D2] direction"),
    ("carbon monoxide", -0.08, -0.001, "T-32 (−13 %); [C4] [D4] CO/nicotine down to −15 % at the highest "
     "permeability and burn agent; [C5]; [C13] salts raise the CO concentration of each puff, so CO per "
     "cigarette falls less than the puff number"),
    ("puff number", -0.12, -0.001, "T-30 (−18 %), T-31 (burn rate +22 %); [D3] [F5] citrate speeds the paper "
     "and the static burn"),
]
CITRATE_TERMS = ["constant", "× P (CU)", "× c (citrate %)", "× P·c", "× P²", "× c²"]
for name, e, g, source in CITRATE:
    coefficients = [1 - e + 40 * g, -g, e - 40 * g, g, 0.0, 0.0]
    form = f"N = 1 + e·(c−1) + g·(c−1)·(P−40) with e = {e:g} per %, g = {g:g} per % and CU"
    for term, value in zip(CITRATE_TERMS, coefficients):
        add(value, "citrate factor, " + name, f"{term}; {form}", source + "; no published dose–response for "
            "paper citrate was found: replace with own factorial data")

# --- Predicted diffusion capacity: D = k·P^m + f·P^(1/r)·(1 + s·(B − 25))·(c − 25), B basis weight g/m²,
# c filler %.
add(0.2, "predicted diffusion capacity", "factor k of k·P^m (cm/s): 50 CU → 1.41, 30 CU → 1.10, 100 CU → 2.0",
    "[C6] diffusion ∝ √permeability for naturally porous papers; [C7] base papers 1.05–1.32 cm/s; T-43, T-44")
add(0.5, "predicted diffusion capacity", "permeability exponent m", "[C6] square-root law")
add(0.0042, "predicted diffusion capacity", "filler term factor f: the default paper (50 CU, 21 + 9 g/m²) is "
    "predicted at its stored 1.54 cm/s, so its diffusion factor is 1", "[C8] filler raises diffusivity; T-45")
add(2.0, "predicted diffusion capacity", "root r of the permeability in the filler term (the same √P law)", "[C6]")
add(-0.03, "predicted diffusion capacity", "basis weight slope s (per g/m²): more fibre lowers the filler effect",
    "[C8] fibre lowers diffusivity")

# --- Diffusion factors exp((D − D0)·k) per cm/s, interleaved with four unused slots.
DIFFUSION = [
    ("nicotine", -0.05, "[C8] direction (fewer puffs); kept small because [G1] reports lower nicotine with "
     "bands, which a negative slope cannot give; T-62, L-03"),
    ("'tar' (NFDPM)", -0.10, "[C8] NFDPM falls as diffusivity rises; T-41, T-61"),
    ("carbon monoxide", -0.25, "[C8]; T-40: about −0.12 from CO escape during puffs (the escape formula with [C6]) "
     "and −0.1 from fewer puffs; T-60 ([G1] +11 % with bands, [C7])"),
    ("puff number", -0.20, "[C8] puff number falls as diffusivity rises; T-42, T-63"),
]
for name, slope, source in DIFFUSION:
    add(0.0, "not used", "reserved slot, read by no operation", "-")
    add(slope, "diffusion factor, " + name, "slope k of exp((D − D0)·k), per cm/s", source)


# --- Filter retention. Exponential filtration law, written for a 20 mm plug, whose pressure drop is X/6 for
# a rod pressure drop X per 120 mm:  E20(X) = 1 − exp(−κ·X/6); a plug of L mm retains 1 − (1 − E20)^(L/20).
# κ = κ0·(d/7.8)²·(t/3)^−0.35·(T/30000)^0.1 (d diameter mm, t filament titer, T total titer). κ0 makes the
# reference filter (7.8 mm, 23 mm, 68.33 mmH2O, 30000/3) retain 45 % 'tar' and 37 % nicotine. The model
# reads E20 linearised in X at the reference rod pressure drop X0 = 356.52 mmH2O (slope %/mmH2O and offset %)
# at 7.5 and 8.5 mm, each a quadratic in t and T/1000 fitted over 1.6–10 dpf and 15000–50000 den.
X0 = 68.33333333333333 * 120 / 23
GRID_T = [1.6, 2.0, 2.5, 3.0, 3.5, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0]
GRID_TT = [15.0, 20.0, 25.0, 30.0, 35.0, 40.0, 45.0, 50.0]


def kappa0(retention):
    return -math.log(1 - retention) * (20 / 23) * 6 / X0


def linearised(k0, d, t, tt):
    k = k0 * (d / 7.8) ** 2 * (t / 3.0) ** -0.35 * (tt / 30.0) ** 0.1
    penetration = math.exp(-k * X0 / 6)
    slope = 100 * k / 6 * penetration
    return slope, 100 * (1 - penetration) - slope * X0


def quadratic_fit(points):
    """Least squares g0 + g1·t + g2·T + g3·t·T + g4·t² + g5·T² through (t, T, y)."""
    n = 6
    a = [[0.0] * (n + 1) for _ in range(n)]
    for t, tt, y in points:
        basis = [1.0, t, tt, t * tt, t * t, tt * tt]
        for i in range(n):
            for j in range(n):
                a[i][j] += basis[i] * basis[j]
            a[i][n] += basis[i] * y
    for col in range(n):  # Gauss-Jordan with partial pivoting
        pivot = max(range(col, n), key=lambda r: abs(a[r][col]))
        a[col], a[pivot] = a[pivot], a[col]
        for r in range(n):
            if r != col:
                f = a[r][col] / a[col][col]
                for c in range(col, n + 1):
                    a[r][c] -= f * a[col][c]
    return [a[i][n] / a[i][i] for i in range(n)]


FILTER = [("nicotine", 0.37, "T-51 ([E1] 40 %; nicotine/DPM retention 0.83), T-52"),
          ("'tar' (NFDPM)", 0.45, "T-50 ([A6] 40–50 %, [E1] 48 %), T-53 ([E4] [E7]), T-54 ([F1] [A7]), "
           "T-55 ([E3] [E4]), T-56 ([E3] [E5]), T-57 ([E4])")]
G_TERMS = ["constant", "× t (filament titer den)", "× T (total titer / 1000 den)", "× t·T", "× t²", "× T²"]
for name, retention, source in FILTER:
    k0 = kappa0(retention)
    for d in (7.5, 8.5):
        grid = [(t, tt, linearised(k0, d, t, tt)) for t in GRID_T for tt in GRID_TT]
        for part, which in (("slope (% per mmH2O of rod pressure drop per 120 mm)", 0), ("offset (%)", 1)):
            fit = quadratic_fit([(t, tt, y[which]) for t, tt, y in grid])
            for term, value in zip(G_TERMS, fit):
                add(value, f"filter retention, {name}, {d} mm",
                    f"{term} of the {part} of a 20 mm plug; tangent at {X0:.2f} mmH2O per 120 mm of "
                    f"E20 = 1 − exp(−κ·X/6), κ = {k0:.6g}·(d/7.8)²·(t/3)^−0.35·(T/30)^0.1", source)
add(1.0, "filter retention, nicotine", "length exponent: penetration is exponential in length",
    "[F1] exponential filtration law; [E6] a coefficient falling along the filter cannot be represented")
add(1.0, "filter retention, 'tar' (NFDPM)", "length exponent: penetration is exponential in length",
    "[F1]; T-54")

# --- Coal and rod of the puff-by-puff analysis.
add(60.0, "coal, second and later puffs", "pressure drop over the coal at 17.5 ml/s (mmH2O)",
    "[F3] [F7] the lit cigarette as the unlit one with a coal pressure drop upstream; T-84 (+21 %), T-85, T-86 "
    "([B11] [C11]); L-01: about 300 mmH2O would reach [F3]'s +50 % but quadruple the lit rod ventilation")
add(1.2, "coal, second and later puffs", "flow exponent (between laminar 1 and the rod's 1.2)", "T-84; [F3]")
add(40.0, "coal, first puff", "pressure drop over the coal at 17.5 ml/s (mmH2O): the coal is not yet formed",
    "T-84..T-86; [F3]")
add(1.2, "coal, first puff", "flow exponent", "as the later puffs")
add(6.0, "coal", "coal length (mm)", "[A8] thermocouple and X-ray studies of the burning zone (5–8 mm)")
add(1e-4, "retention in the unburnt rod, 'tar' (NFDPM)", "slope of µ (per mm) on packing density (mg/cm³)",
    "[F2] µ rises practically linearly with density; µ = 0.0125 /mm at 255 mg/cm³; T-80, T-88")
add(-0.013, "retention in the unburnt rod, 'tar' (NFDPM)", "offset of µ (per mm): keeps the step at 200 mg/cm³, "
    "where retention is switched off, small (µ = 0.007)", "[F2]; T-88 (53 % of the first puff)")
add(6e-5, "retention in the unburnt rod, nicotine", "slope of µ on packing density",
    "[F2] µ for nicotine about 60 % of µ for condensate; T-81")
add(-0.008, "retention in the unburnt rod, nicotine", "offset of µ (per mm)", "[F2]; T-81")
add(0.15, "escape of carbon monoxide through the paper", "gas-side transfer coefficient, an effective CO "
    "diffusivity in the rod (cm²/s): the gas-side conductance is G = 2·value/r", "[C6] cigarette-level coefficient 35–45 % of the paper's, "
    "+50 % when lit; CO–air diffusivity about 0.2 cm²/s; T-82, T-83, T-87 (28 % in the first puff)")

# --- Paper composition factor M(F, L, P) / M(18.125, 6.875, P), F fibre and L filler (g/m²). Form:
#   M = 1 + mL·(L − 6.875) + mF·(F − 18.125)
PAPER = [("nicotine", -0.003, 0.002, "[C4] filler and fibre barely move other constituents; signs of [C5] [C8]"),
         ("'tar' (NFDPM)", -0.005, 0.003, "[C8] more filler, more diffusion, less NFDPM; [C5]"),
         ("carbon monoxide", -0.02, 0.01, "[C8] filler raises diffusion; [C5] CO rises with basis weight; [C10]"),
         ("puff number", -0.01, 0.005, "[C8] puff number falls as diffusivity rises")]
PAPER_TERMS = ["constant", "× L (filler g/m²)", "× F (fibre g/m²)", "× P (CU)", "× L²", "× F²", "× P²", "× L·P"]
for name, mL, mF, source in PAPER:
    coefficients = [1 - 6.875 * mL - 18.125 * mF, mL, mF, 0.0, 0.0, 0.0, 0.0, 0.0]
    form = f"M = 1 + mL·(L−6.875) + mF·(F−18.125) with mL = {mL:g}, mF = {mF:g} per g/m²"
    for term, value in zip(PAPER_TERMS, coefficients):
        add(value, "paper composition factor, " + name, f"{term}; {form}",
            source + "; sizes are estimates, signs are sourced")

assert len(rows) == 162, len(rows)
writer = csv.writer(sys.stdout, lineterminator="\n")
writer.writerow(["index", "value", "block", "meaning", "source"])
for index, value, block, meaning, source in rows:
    writer.writerow([index, f"{value:.6g}", block, meaning, source])
