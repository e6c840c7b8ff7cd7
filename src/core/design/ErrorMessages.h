#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrano {

inline constexpr int kErrorSlots = 81;

// The numbered messages, by what each says (the texts are in the table of ErrorMessages.cpp). Range
// messages are named after the value they check. Numbers outside the table still reach `ReportError` as
// plain ints: they show the unknown-error text.
enum ErrorNumber : int {
    kErrorTippingLength = 1,
    kErrorPerforationPermeability = 2,
    kErrorTippingExponent = 3,
    kErrorPerforationWidth = 4,
    kErrorPerforationFromTippingEdges = 5,
    kErrorPerforationTracks = 6,
    kErrorPerforationFromFilterEnd = 7,
    kErrorTippingShorterThanCigarette = 8,
    kErrorTippingWiderThanFilter = 9,
    kErrorPlugWrapPermeability = 10,
    kErrorPlugWrapExponent = 11,
    kErrorPaperPermeability = 12,
    kErrorPaperExponent = 13,
    kErrorCitrate = 14,
    kErrorPaperDiffusion = 15,
    kErrorBasisWeight = 16,
    kErrorFillerContent = 17,
    kErrorFilterLength = 18,
    kErrorFilterDiameter = 19,
    kErrorFilterRodLength = 20,
    kErrorFilterRodPressureDrop = 21,
    kErrorFilterExponent = 22,
    kErrorFibreTiter = 23,
    kErrorTotalTiter = 24,
    kErrorRodOnCigaretteTooShort = 25,
    kErrorRodMeasurementLength = 26,
    kErrorRodPressureDrop = 27,
    kErrorCigaretteLength = 28,
    kErrorRodExponent = 29,
    kErrorTobaccoMass = 30,
    kErrorOpenDrawResistance = 32,
    kErrorClosedDrawResistance = 33,
    kErrorFilterVentilation = 34,
    kErrorRodVentilation = 35,
    kErrorTotalVentilation = 36,
    kErrorBurnRate = 37,
    kErrorIsoPuffNumber = 38,
    kErrorIsoTar = 39,
    kErrorIsoNicotine = 40,
    kErrorIsoCo = 41,
    kErrorAltPuffNumber = 42,
    kErrorAltTar = 43,
    kErrorAltNicotine = 44,
    kErrorAltCo = 45,
    kErrorPuffVolume = 46,
    kErrorPuffDuration = 47,
    kErrorPuffInterval = 48,
    kErrorVentilationBlocking = 49,
    kErrorPuffShapeNotReadable = 50,
    kErrorPuffShapeTooFewPoints = 51,
    kErrorCigaretteNotWritable = 52,
    kErrorCigaretteWriteFailed =
        53,  // any save that opened its target but did not get the whole file in place
    kErrorCigaretteNotReadable = 54,
    kErrorNotCigaretteData = 55,
    kErrorNoTippingPlugWrapCombination = 56,
    kErrorNoTippingPermeability = 57,
    kErrorNoFilterVentilation = 58,
    kErrorUnknownTargetCode = 59,
    kErrorNoPaperPermeability = 60,
    kErrorFilterPressureDropPerLength = 62,
    kErrorTobaccoOverconsumed = 63,
    kErrorPrinterNotObtained = 64,
    kErrorPrinterHandleNotObtained = 65,
    kErrorStartDocFailed = 66,
    kErrorStartPageFailed = 67,
    kErrorEndPageFailed = 68,
    kErrorEndDocFailed = 69,
    kErrorLegacyNotReadable = 73,
    kErrorNotLegacyData = 74,
    kErrorTargetVentilation = 75,
    kErrorTargetVentilationOutOfReach = 76,
    kErrorNoVentilationParameters = 77,
    kErrorBandWidth = 78,
    kErrorBandSpacing = 79,
    kErrorBandPermeability = 80,
    kErrorBandDiffusion = 81,
};

// The text of numbered message n: the table's slot for 1..81 (empty for the unused slots),
// "Unknown error : %03i" for any other n, nothing for 0.
std::optional<std::string> errorMessage(int n);

// Whoever runs the model or reads files decides how a numbered error is shown: the program shows a
// message box, the command-line tool writes to stderr, tests record.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(int number, const std::string& text) = 0;
};

// Reports message n; 0 means "no error": nothing is shown and -1 is returned. Otherwise returns 1 (OK).
int ReportError(ErrorReporter& reporter, int n);

// Keeps the numbers it was given, in order.
class RecordingErrorReporter : public ErrorReporter {
public:
    void report(int number, const std::string&) override { numbers.push_back(number); }
    std::vector<int> numbers;
};

// Progress of the puff-by-puff analysis: range 0..max, a position and a line of text.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setRange(int max) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
};

class NullProgressSink : public ProgressSink {
public:
    void setRange(int) override {}
    void setPosition(int) override {}
    void setText(const std::string&) override {}
    void show() override {}
    void hide() override {}
};

}  // namespace veltrano
