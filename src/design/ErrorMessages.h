#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrano {

inline constexpr int kErrorSlots = 81;

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
