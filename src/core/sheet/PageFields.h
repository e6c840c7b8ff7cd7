#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/CigaretteDesign.h"
#include "core/design/ErrorMessages.h"

namespace veltrano {

// One entry field of a sheet page. A page widget is built from its page's table of these:
// label, sub-label and unit beside an edit, a "known" check box when the field has one of its own.
struct FieldSpec {
    std::string_view name;   // the record field it edits, or a name of its own for a derived value
    std::string_view group;  // the group box it stands in
    std::string_view label;
    std::string_view subLabel;     // empty when none
    std::string_view unit;         // empty when none
    double DesignValues::*member;  // nullptr when the field is derived from other values
    KnownBit knownBit;             // the bit of `known` the field follows, None when none
    bool ownBox;                   // a "known" check box for `knownBit` stands beside this field
    std::string_view format;       // how a value is shown ("%.2f")
    int maxLength;                 // characters the user may type, 0 when unlimited
};

// A Help button: the field it stands beside and writes.
struct HelpSpec {
    std::string_view name;
    int field;
    bool referenceOnly;  // present only while the reference design is edited
};

// What the page's controls hold between displays: the text of every entry field and the "known"
// check boxes. Texts are empty until the page is loaded. The ui keeps them equal to its widgets, so
// every rule below reads "the current text" from here.
struct PageTexts {
    explicit PageTexts(std::size_t fieldCount) : texts(fieldCount) {}

    std::vector<std::string> texts;
    std::uint32_t boxes = 0;  // the check boxes, as bits of the known word

    // The texts and boxes as the page's last load showed them; none before the first load.
    struct Shown {
        std::vector<std::string> texts;
        std::uint32_t boxes = 0;
    };
    std::optional<Shown> loaded;

    bool box(KnownBit bit) const { return (boxes & known::bit(bit)) != 0; }
    // The value of a field's text, read by the entry convention.
    double value(int field) const;
    // Right after a load: what the page shows now is what it loaded.
    void rememberLoaded() { loaded = Shown{texts, boxes}; }
};

// Which fields and Help buttons accept input; indices follow the page's tables.
struct PageEnabling {
    std::vector<bool> field;
    std::vector<bool> help;
};

// The check boxes a table has, as bits of the known word.
std::uint32_t boxMask(std::span<const FieldSpec> fields);

// Shared steps of the pages, driven by their tables.
namespace page {

// Whether a field stores its text on OK: when its text or the box of its bit differs from what the last
// load showed (every field of a page never loaded), and when its value is not known (its box is clear),
// which stores the 0 of its empty text. Every other field keeps the record's value bit for bit: a text
// shows the value rounded, and reading it back would change a value nobody touched.
bool storesText(const PageTexts& page, std::span<const FieldSpec> fields, int field);
// A "known" box clicked: sets or clears its bit. A cleared box empties every field that follows the bit,
// so that its value is unknown to every page that reads the text and the field stores 0.
void setKnownBox(std::span<std::string> texts, std::uint32_t& boxes, std::span<const FieldSpec> fields,
                 KnownBit bit, bool checked);

// Boxes from the design's known word.
void loadBoxes(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design);
// Every field with a record member shows its value in its format, or nothing while its bit is clear.
void loadValues(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design);
// Sets or clears the table's bits of `known` from the boxes; no other bit changes.
void storeBoxes(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design);
// Every field with a record member that stores its text (above), or is one of `alsoStore`, stores its
// text's value (0 for an empty text); the others keep the record's value.
void storeValues(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design,
                 std::span<const int> alsoStore = {});
// Boxes and values together: the whole of a page whose fields are all plain record values.
void load(PageTexts& page, std::span<const FieldSpec> fields, const DesignValues& design);
void store(const PageTexts& page, std::span<const FieldSpec> fields, DesignValues& design,
           std::span<const int> alsoStore = {});
// A field is enabled while its bit's box is checked (always when it has no bit); helps follow their fields.
PageEnabling enablingByBoxes(const PageTexts& page, std::span<const FieldSpec> fields,
                             std::span<const HelpSpec> helps);
// Sets each Help's entry from the enabling of the field it stands beside.
void enableHelpsByFields(PageEnabling& enabling, std::span<const HelpSpec> helps);

}  // namespace page

// Checks the rules of one page in their order, reporting each one that fails and going on.
class RuleCheck {
public:
    explicit RuleCheck(ErrorReporter& reporter) : reporter_(reporter) {}

    // Reports `error` unless lo <= value <= hi. A value that is not a number lies in no range.
    void inRange(double value, double lo, double hi, ErrorNumber error) {
        require(lo <= value && value <= hi, error);
    }
    // Reports `error` unless the rule holds.
    void require(bool holds, ErrorNumber error);
    bool passed() const { return passed_; }

private:
    ErrorReporter& reporter_;
    bool passed_ = true;
};

}  // namespace veltrano
