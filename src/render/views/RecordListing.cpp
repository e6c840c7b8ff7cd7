#include "render/views/RecordListing.h"

#include <QPainter>
#include <algorithm>
#include <functional>
#include <variant>

#include "core/design/DesignFields.h"
#include "core/design/NumberText.h"
#include "core/design/Windows1252.h"
#include "render/resources/Palette.h"
#include "render/views/ChartText.h"
#include "render/views/PainterScopes.h"
#include "render/views/ValueText.h"
#include "render/views/Views.h"

namespace veltrano {

namespace {

// Labels are padded to one column width; the values start after it.
constexpr std::size_t kLabelWidth = 15;

struct ListedField {
    const char* label;
    const char* field;
    const char* format;
};

constexpr ListedField kListedFields[] = {
    {"Version", "version", "%4.2f"},
    {"known", "known", "%08X"},
    {"ci_len", "ci_len", "%6.2f"},
    {"tp_width", "tp_width", "%6.2f"},
    {"tp_perfowidth", "tp_perfowidth", "%6.2f"},
    {"tp_perfoperm", "tp_perfoperm", "%6.2f"},
    {"tp_perfopos", "tp_perfopos", "%6.2f"},
    {"tp_perfotype", "tp_perfotype", "%i"},
    {"tp_perfotrack", "tp_perfotrack", "%i"},
    {"tp_exponent", "tp_exponent", "%6.2f"},
    {"tp_k", "tp_k", "%10.7e"},
    {"tp_n", "tp_n", "%10.7e"},
    {"pw_perm", "pw_perm", "%8.2f"},
    {"pw_exponent", "pw_exponent", "%6.2f"},
    {"cp_perm", "cp_perm", "%6.2f"},
    {"cp_exponent", "cp_exponent", "%6.2f"},
    {"cp_diff", "cp_diff", "%6.4f"},
    {"cp_citrate", "cp_citrate", "%6.4f"},
    {"cp_fiber", "cp_fiber", "%6.2f"},
    {"cp_filler", "cp_filler", "%6.2f"},
    {"cp_k", "cp_k", "%10.7e"},
    {"cp_n", "cp_n", "%10.7e"},
    {"fi_pd", "fi_pd", "%6.2f"},
    {"fi_len", "fi_len", "%6.2f"},
    {"fi_totpd", "fi_totpd", "%6.2f"},
    {"fi_totlen", "fi_totlen", "%6.2f"},
    {"fi_exponent", "fi_exponent", "%6.2f"},
    {"fi_diam", "fi_diam", "%6.2f"},
    {"fi_totden", "fi_totden", "%8.2f"},
    {"fi_fibden", "fi_fibden", "%6.2f"},
    {"fi_k", "fi_k", "%10.7e"},
    {"fi_n", "fi_n", "%10.7e"},
    {"ro_pd", "ro_pd", "%6.2f"},
    {"ro_exponent", "ro_exponent", "%6.2f"},
    {"ro_len", "ro_len", "%6.2f"},
    {"ro_totpd", "ro_totpd", "%6.2f"},
    {"ro_totlen", "ro_totlen", "%6.2f"},
    {"ro_totmass", "ro_totmass", "%6.2f"},
    {"ro_k", "ro_k", "%10.7e"},
    {"ro_n", "ro_n", "%10.7e"},
    {"stat_pdo", "stat_pdo", "%6.2f"},
    {"stat_pdc", "stat_pdc", "%6.2f"},
    {"stat_fivent", "stat_fivent", "%6.2f"},
    {"stat_rovent", "stat_rovent", "%6.2f"},
    {"stat_mbr", "stat_mbr", "%6.2f"},
    {"iso_fivent", "iso_fivent", "%8.4f"},
    {"iso_rovent", "iso_rovent", "%8.4f"},
    {"iso_pdo", "iso_pdo", "%8.4f"},
    {"iso_puff", "iso_puff", "%8.4f"},
    {"iso_nico", "iso_nico", "%8.4f"},
    {"iso_nfdpm", "iso_nfdpm", "%8.4f"},
    {"iso_co", "iso_co", "%8.4f"},
    {"alt_fivent", "alt_fivent", "%8.4f"},
    {"alt_rovent", "alt_rovent", "%8.4f"},
    {"alt_pdo", "alt_pdo", "%8.4f"},
    {"alt_puff", "alt_puff", "%8.4f"},
    {"alt_nico", "alt_nico", "%8.4f"},
    {"alt_nfdpm", "alt_nfdpm", "%8.4f"},
    {"alt_co", "alt_co", "%8.4f"},
    {"alt_volume", "alt_volume", "%6.2f"},
    {"alt_duration", "alt_duration", "%6.2f"},
    {"alt_interval", "alt_interval", "%6.2f"},
    {"alt_blocking", "alt_blocking", "%6.2f"},
    {"alt_profpnts", "alt_profpnts", "%i"},
};

std::string label(const char* name) {
    std::string text(name);
    text.resize(std::max(text.size(), kLabelWidth), ' ');
    return text;
}

// What a listed value may take of its 300-pixel column beside the label.
constexpr std::size_t kListingValueWidth = 22;

// Appends a value and its suffix when the line still holds them, and tells whether it did. The value
// is left off when its printf text would not fit in the line's 255 characters, as in the listing's
// buffer; otherwise a double shows as every cell shows it (dashes when not finite, exponent form when
// wider than the column), an integer as printf writes it.
bool appendIfFits(std::string& line, std::string_view format, const FormatArg& value,
                  std::string_view suffix = {}) {
    const std::string printed = formatText(format, {value});
    const double* number = std::get_if<double>(&value);
    const std::string shown = number ? valueText(format, *number, kListingValueWidth) : printed;
    if (line.size() + std::max(printed.size(), shown.size()) + suffix.size() > kListingLineLimit)
        return false;
    line += shown;
    line += suffix;
    return true;
}

FormatArg fieldValue(const CigaretteDesign& design, const DesignField& field) {
    const DesignValues& values = design.values();
    return std::visit(
        [&](auto member) -> FormatArg {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, double DesignValues::*>)
                return values.*member;
            else if constexpr (std::is_same_v<Member, std::int32_t DesignValues::*> ||
                               std::is_same_v<Member, std::uint32_t DesignValues::*>)
                return static_cast<long long>(values.*member);
            else
                return 0LL;
        },
        field.member);
}

// A puff-by-puff line: the label, then the values, each but the last followed by "/".
std::string puffLine(const char* name, std::size_t count, const char* format,
                     const std::function<FormatArg(std::size_t)>& valueAt) {
    std::string line = label(name);
    for (std::size_t i = 0; i < count; ++i)
        if (!appendIfFits(line, format, valueAt(i), i + 1 < count ? "/" : "")) break;
    return line;
}

}  // namespace

std::vector<std::string> recordListingLines(const CigaretteDesign& d) {
    std::vector<std::string> lines;
    const auto& magic = d.magic;
    lines.emplace_back(magic.data(),
                       static_cast<std::size_t>(std::find(magic.begin(), magic.end(), '\0') - magic.begin()));
    for (const ListedField& listed : kListedFields) {
        std::string line = label(listed.label);
        if (const DesignField* field = findDesignField(listed.field))
            appendIfFits(line, listed.format, fieldValue(d, *field));
        lines.push_back(std::move(line));
    }
    std::string puffNumber = label("puff_number");
    appendIfFits(puffNumber, "%i", static_cast<long long>(d.puff_number));
    lines.push_back(std::move(puffNumber));

    // Each line lists as many values as `puff_number` says and its array holds.
    const auto count = [&](const auto& values) {
        return std::min(values.size(), static_cast<std::size_t>(std::max(d.puff_number, 0)));
    };
    const auto doubles = [&](const char* name, const std::vector<double>& values, const char* format,
                             double factor = 1.0) {
        lines.push_back(
            puffLine(name, count(values), format, [&](std::size_t i) { return values[i] * factor; }));
    };
    lines.push_back(puffLine("puff_size", count(d.puff_size), "%i",
                             [&](std::size_t i) { return static_cast<long long>(d.puff_size[i]); }));
    doubles("puff_pos", d.puff_pos, "%.1f");
    doubles("puff_mass", d.puff_mass, "%.1f");
    doubles("puff_fivent", d.puff_fivent, "%.1f");
    doubles("puff_rovent", d.puff_rovent, "%.1f");
    doubles("puff_avgpd", d.puff_avgpd, "%.0f");
    doubles("puff_nfdpm", d.puff_nfdpm, "%.2f");
    doubles("puff_nico*10", d.puff_nico, "%.2f", 10.0);
    doubles("puff_co", d.puff_co, "%.2f");
    return lines;
}

namespace {

QString listingText(const std::string& line) {
    const std::u32string text = decodeWindows1252(line);
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

// The three columns of the listing: the reference, the working reference and the current design.
struct ListingColumn {
    const CigaretteDesign DesignSet::*design;
    int x;
};
constexpr ListingColumn kListingColumns[] = {
    {&DesignSet::referenceDesign, 0}, {&DesignSet::workingReference, 300}, {&DesignSet::currentDesign, 600}};

}  // namespace

void drawRecordListing(QPainter& painter, const ViewResources& resources, const CigaretteDesign& design,
                       int x) {
    PainterScope scope(painter);
    beginView(painter, resources.listingFont);
    painter.setPen(palette::listingOlive);
    int y = 0;
    for (const std::string& line : recordListingLines(design)) {
        drawText(painter, x, y, listingText(line));
        y += kListingLineHeight;
    }
}

void drawRecordListings(QPainter& painter, const ViewResources& resources, const DesignSet& designs) {
    for (const ListingColumn& column : kListingColumns)
        drawRecordListing(painter, resources, designs.*column.design, column.x);
}

QSize recordListingExtent(const ViewResources& resources, const DesignSet& designs) {
    const QFontMetrics metrics(resources.listingFont);
    int width = 0, lines = 0;
    for (const ListingColumn& column : kListingColumns) {
        const std::vector<std::string> listing = recordListingLines(designs.*column.design);
        lines = std::max(lines, static_cast<int>(listing.size()));
        for (const std::string& line : listing)
            width = std::max(width, column.x + metrics.horizontalAdvance(listingText(line)));
    }
    const int height =
        lines > 0 ? (lines - 1) * kListingLineHeight + metrics.ascent() + metrics.descent() : 0;
    return QSize(width, height);
}

}  // namespace veltrano
