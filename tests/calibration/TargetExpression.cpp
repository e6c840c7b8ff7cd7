#include "TargetExpression.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace veltrano::calibration {

std::string OutputReference::text() const {
    return name + (index.empty() ? "" : "[" + index + "]") + "@" + design;
}

struct TargetExpression::Node {
    enum class Kind { Number, Output, Negate, Add, Subtract, Multiply, Divide, Call } kind = Kind::Number;
    double number = 0;
    std::size_t output = 0;  // index into outputs_
    std::string function;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

using Node = TargetExpression::Node;

std::unique_ptr<Node> makeNode(Node::Kind kind) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    return node;
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

}  // namespace

class ExpressionParser {
public:
    ExpressionParser(std::string_view text, TargetExpression& target) : text_(text), target_(target) {}

    std::unique_ptr<Node> parseAll() {
        auto node = sum();
        skipBlanks();
        if (node && pos_ != text_.size()) return fail("unexpected '" + std::string(1, text_[pos_]) + "'");
        return node;
    }

private:
    std::unique_ptr<Node> fail(const std::string& message) {
        if (target_.error_.empty())
            target_.error_ = "at character " + std::to_string(pos_ + 1) + ": " + message;
        return nullptr;
    }

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    bool take(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::string name() {
        skipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    std::unique_ptr<Node> binary(std::unique_ptr<Node> left, Node::Kind kind, std::unique_ptr<Node> right) {
        if (!left || !right) return nullptr;
        auto node = makeNode(kind);
        node->children.push_back(std::move(left));
        node->children.push_back(std::move(right));
        return node;
    }

    std::unique_ptr<Node> sum() {
        auto left = product();
        for (;;) {
            if (take('+'))
                left = binary(std::move(left), Node::Kind::Add, product());
            else if (take('-'))
                left = binary(std::move(left), Node::Kind::Subtract, product());
            else
                return left;
        }
    }

    std::unique_ptr<Node> product() {
        auto left = unary();
        for (;;) {
            if (take('*'))
                left = binary(std::move(left), Node::Kind::Multiply, unary());
            else if (take('/'))
                left = binary(std::move(left), Node::Kind::Divide, unary());
            else
                return left;
        }
    }

    std::unique_ptr<Node> unary() {
        if (take('-')) {
            auto operand = unary();
            if (!operand) return nullptr;
            auto node = makeNode(Node::Kind::Negate);
            node->children.push_back(std::move(operand));
            return node;
        }
        return primary();
    }

    std::unique_ptr<Node> primary() {
        if (take('(')) {
            auto inner = sum();
            if (!inner) return nullptr;
            if (!take(')')) return fail("')' expected");
            return inner;
        }
        skipBlanks();
        if (pos_ < text_.size() &&
            (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
            return number();
        const std::string identifier = name();
        if (identifier.empty())
            return fail(pos_ < text_.size() ? "a number, output or function expected"
                                            : "the formula ends too early");
        if (take('(')) return call(identifier);
        OutputReference output{identifier, "", ""};
        if (take('[')) {
            output.index = name();
            if (output.index.empty() || !take(']')) return fail("an index and ']' expected");
        }
        if (!take('@')) return fail("'@' and a design label expected after " + identifier);
        output.design = name();
        if (output.design.empty()) return fail("a design label expected after '@'");
        auto node = makeNode(Node::Kind::Output);
        node->output = target_.outputs_.size();
        target_.outputs_.push_back(std::move(output));
        return node;
    }

    std::unique_ptr<Node> number() {
        double value = 0;
        const char* begin = text_.data() + pos_;
        const auto [end, ec] = std::from_chars(begin, text_.data() + text_.size(), value);
        if (ec != std::errc()) return fail("a number expected");
        pos_ += static_cast<std::size_t>(end - begin);
        auto node = makeNode(Node::Kind::Number);
        node->number = value;
        return node;
    }

    std::unique_ptr<Node> call(const std::string& function) {
        auto node = makeNode(Node::Kind::Call);
        node->function = function;
        if (!take(')')) {
            do {
                auto argument = sum();
                if (!argument) return nullptr;
                node->children.push_back(std::move(argument));
            } while (take(','));
            if (!take(')')) return fail("')' expected after the arguments of " + function);
        }
        return node;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    TargetExpression& target_;
};

TargetExpression::TargetExpression() = default;
TargetExpression::TargetExpression(TargetExpression&&) noexcept = default;
TargetExpression& TargetExpression::operator=(TargetExpression&&) noexcept = default;
TargetExpression::~TargetExpression() = default;

TargetExpression TargetExpression::parse(std::string_view text) {
    TargetExpression expression;
    ExpressionParser parser(text, expression);
    expression.root_ = parser.parseAll();
    return expression;
}

namespace {

double evaluateNode(const Node& node, const std::vector<OutputReference>& outputs,
                    const TargetExpression::Resolve& resolve, const TargetExpression::Function& functions) {
    const auto child = [&](std::size_t i) {
        return evaluateNode(*node.children[i], outputs, resolve, functions);
    };
    switch (node.kind) {
        case Node::Kind::Number:
            return node.number;
        case Node::Kind::Output:
            return resolve(outputs[node.output]);
        case Node::Kind::Negate:
            return -child(0);
        case Node::Kind::Add:
            return child(0) + child(1);
        case Node::Kind::Subtract:
            return child(0) - child(1);
        case Node::Kind::Multiply:
            return child(0) * child(1);
        case Node::Kind::Divide:
            return child(0) / child(1);
        case Node::Kind::Call: {
            std::vector<double> arguments;
            for (std::size_t i = 0; i < node.children.size(); ++i) arguments.push_back(child(i));
            if (node.function == "ln" && arguments.size() == 1) return std::log(arguments[0]);
            return functions(node.function, arguments);
        }
    }
    return 0;
}

}  // namespace

double TargetExpression::evaluate(const Resolve& resolve, const Function& functions) const {
    return root_ ? evaluateNode(*root_, outputs_, resolve, functions) : std::nan("");
}

}  // namespace veltrano::calibration
