#include "core/explore/Tolerance.h"

#include <algorithm>
#include <cmath>

#include "core/explore/CounterRandom.h"
#include "core/explore/DiffusionCoupling.h"

namespace veltrano {

namespace {

std::uint64_t streamOf(const ExploreField& field) {
    return static_cast<std::uint64_t>(&field - exploreFields().data());
}

// Runs go in blocks, so that a run of millions of samples keeps only a block of designs at a time.
constexpr std::size_t kBlock = 1024;

Spread percent(double amount) {
    return {Spread::Shape::Normal, amount, true};
}
Spread inUnit(double amount) {
    return {Spread::Shape::Normal, amount, false};
}

using V = DesignValues;

struct Typical {
    double V::*member;
    Spread spread;
    bool byDefault;
};

const Typical kTypical[] = {
    {&V::tp_perfoperm, percent(12), true},   {&V::pw_perm, percent(10), true},
    {&V::cp_perm, percent(10), true},        {&V::cp_diff, percent(10), false},
    {&V::cp_bandperm, percent(10), false},   {&V::cp_banddiff, percent(10), false},
    {&V::fi_totpd, percent(4), true},        {&V::ro_totpd, percent(4), false},
    {&V::ro_totmass, percent(2.5), true},    {&V::tp_onlinevent, inUnit(1), false},
    {&V::tp_width, inUnit(0.3), false},      {&V::tp_perfopos, inUnit(0.3), false},
    {&V::tp_perfowidth, inUnit(0.2), false}, {&V::fi_len, inUnit(0.3), false},
    {&V::fi_totlen, inUnit(0.3), false},     {&V::ro_len, inUnit(0.3), false},
    {&V::ro_totlen, inUnit(0.3), false},     {&V::fi_diam, inUnit(0.05), false},
    {&V::cp_bandwidth, inUnit(0.3), false},  {&V::cp_bandspace, inUnit(0.5), false},
};

}  // namespace

Spread typicalSpread(const ExploreField& field) {
    for (const Typical& t : kTypical)
        if (t.member == field.member()) return t.spread;
    // Exponents, titres, citrate and the regime: a small relative spread.
    return percent(2);
}

bool variedByDefault(const ExploreField& field) {
    for (const Typical& t : kTypical)
        if (t.member == field.member()) return t.byDefault;
    return false;
}

std::optional<std::string> unknownFieldProblem(const ExploreField& field, const DesignValues& current) {
    const std::string name(field.name());
    const KnownBit bit = field.tableEntry().knownBit;
    if (bit != KnownBit::None && !current.isKnown(bit))
        return "the value of " + name + " is not marked known on this design, so the model never reads it";
    // The model reads a perforation position only together with a known width.
    if (field.member() == &DesignValues::tp_perfopos && !current.isKnown(KnownBit::PerforationWidth))
        return "the value of " + name +
               " is read only with a known perforation width, which this design does not mark known";
    return std::nullopt;
}

std::vector<const ExploreField*> ToleranceSetup::fields() const {
    std::vector<const ExploreField*> fields;
    for (const ToleranceInput& in : inputs) fields.push_back(in.field);
    return fields;
}

std::vector<std::string> heldValues(const ToleranceSetup& setup, const DesignValues& current) {
    std::vector<std::string> held;
    for (std::string_view name : heldKnownValues(setup.fields(), current, setup.coupleDiffusion))
        held.emplace_back(name);
    return held;
}

std::optional<std::string> checkToleranceSetup(const ToleranceSetup& setup, const DesignValues& current,
                                               const ModelParameters& mp) {
    if (setup.inputs.empty()) return "no input is varied";
    for (std::size_t i = 0; i < setup.inputs.size(); ++i) {
        const ExploreField* field = setup.inputs[i].field;
        if (!field) return "no field given";
        const std::string name(field->name());
        if (const std::optional<std::string> unknown = unknownFieldProblem(*field, current)) return unknown;
        if (!isOffered(*field, current)) return "the field " + name + " cannot be edited on this design";
        for (std::size_t j = 0; j < i; ++j)
            if (setup.inputs[j].field == field) return "the field " + name + " is varied twice";
        const Spread& spread = setup.inputs[i].spread;
        if (!std::isfinite(spread.amount) || spread.amount < 0)
            return "the spread of " + name + " must be a finite number, not negative";
    }
    if (setup.outputs.empty()) return "no output is asked for";
    for (const OutputLimit& limit : setup.limits)
        if (std::find(setup.outputs.begin(), setup.outputs.end(), limit.output) == setup.outputs.end())
            return "the limit " + limitText(limit) + " is on an output that is not asked for";
    if (setup.samples < 1 || setup.samples > kMaxToleranceSamples)
        return "the samples must number 1 to " + std::to_string(kMaxToleranceSamples);
    if (setup.coupleDiffusion) return couplingProblem(setup.fields(), current, mp);
    return std::nullopt;
}

std::vector<double> drawnValues(const ToleranceSetup& setup, const DesignValues& current, int index) {
    std::vector<double> drawn;
    drawn.reserve(setup.inputs.size());
    for (const ToleranceInput& input : setup.inputs) {
        const double u = uniformDraw(setup.seed, static_cast<std::uint64_t>(index), streamOf(*input.field));
        drawn.push_back(spreadValue(input.spread, current.*input.field->member(), u));
    }
    return drawn;
}

DesignValues toleranceVariant(const ToleranceSetup& setup, const DesignValues& current,
                              std::span<const double> drawn, const ModelParameters& mp) {
    DesignValues variant = current;
    for (std::size_t k = 0; k < setup.inputs.size(); ++k)
        storeValue(*setup.inputs[k].field, variant, drawn[k]);
    if (setup.coupleDiffusion) coupleDiffusion(variant, current, mp);
    return variant;
}

int runTolerance(const ToleranceSetup& setup, std::span<const int> indices, const DesignValues& current,
                 const ExploreBasis& basis, const ToleranceCallbacks& callbacks) {
    std::vector<std::vector<double>> drawn(std::min(indices.size(), kBlock));
    std::vector<int> positions;
    int finished = 0;
    bool cancelled = false;
    VariantCallbacks variantCallbacks;
    variantCallbacks.cancelRequested = [&] {
        cancelled = cancelled || (callbacks.cancelRequested && callbacks.cancelRequested());
        return cancelled;
    };
    for (std::size_t start = 0; start < indices.size() && !cancelled; start += kBlock) {
        const std::span<const int> block = indices.subspan(start, std::min(kBlock, indices.size() - start));
        positions.resize(block.size());
        for (std::size_t k = 0; k < block.size(); ++k) {
            positions[k] = static_cast<int>(k);
            drawn[k] = drawnValues(setup, current, block[k]);
        }
        // Variants are numbered by their place in the block.
        variantCallbacks.done = [&](int k, VariantResult&& result) {
            const auto at = static_cast<std::size_t>(k);
            ToleranceSample sample{block[at],
                                   std::move(drawn[at]),
                                   result.status == VariantStatus::Refused,
                                   {},
                                   std::move(result.errors)};
            if (!sample.refused)
                for (const ExploreOutput* o : setup.outputs) sample.outputs.push_back(o->read(result.values));
            if (callbacks.sampleDone) callbacks.sampleDone(std::move(sample));
        };
        finished += runVariants(
            positions,
            [&](int k) {
                return toleranceVariant(setup, current, drawn[static_cast<std::size_t>(k)], basis.mp);
            },
            basis, false, variantCallbacks);
    }
    return finished;
}

}  // namespace veltrano
