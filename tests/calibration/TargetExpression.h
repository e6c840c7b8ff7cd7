#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::calibration {

// A model output of one evaluated design in a target's formula: `name@A`, or for a per-puff array
// `name[i]@A` with i a puff index from 0, `last` (the last puff) or `last_full` (the last puff of ten
// tenths).
struct OutputReference {
    std::string name;
    std::string index;  // empty for a value that is not per puff
    std::string design;

    std::string text() const;
};

// The formula of a calibration target: numbers, outputs, + - * /, parentheses and the functions ln(x),
// tar_retention(d, L, dp, T, t) and nicotine_retention(d, L, dp, T, t) (the retention of a filter plug
// of diameter d mm, length L mm, pressure drop dp mmH2O, total titer T and filament titer t den).
class TargetExpression {
public:
    struct Node;
    using Resolve = std::function<double(const OutputReference&)>;
    using Function = std::function<double(const std::string& name, const std::vector<double>& arguments)>;

    // Parses the text; on failure `error()` says where and why.
    static TargetExpression parse(std::string_view text);
    TargetExpression(TargetExpression&&) noexcept;
    TargetExpression& operator=(TargetExpression&&) noexcept;
    ~TargetExpression();

    const std::string& error() const { return error_; }
    // Every output the formula reads, in the order it reads them.
    const std::vector<OutputReference>& outputs() const { return outputs_; }
    // The value of the formula; `functions` receives every call other than ln.
    double evaluate(const Resolve& resolve, const Function& functions) const;

private:
    TargetExpression();
    std::unique_ptr<Node> root_;
    std::vector<OutputReference> outputs_;
    std::string error_;
    friend class ExpressionParser;
};

}  // namespace veltrano::calibration
