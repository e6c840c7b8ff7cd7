#include <QFontMetrics>

#include <gtest/gtest.h>

#include "render/print/SheetFonts.h"
#include "render/print/TextWrap.h"

namespace veltrano {
namespace {

TEST(TextWrap, BreaksAtLineEndsAndBetweenWords) {
    const QFontMetrics metrics(sheetFont(kPageFontSize));
    const int width = metrics.horizontalAdvance("abcdefghij");
    struct Case {
        QString text;
        std::vector<QString> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"abc def ghi jkl", {"abc def", "ghi jkl"}},
        {"a  b", {"a  b"}},                               // blanks inside a line stay
        {"x abcdefghijklm", {"x", "abcdefghij", "klm"}},  // a word too long for a line
    };
    for (const Case& c : cases) {
        const std::vector<QString> lines = wrapText(c.text, metrics, width);
        EXPECT_EQ(lines, c.lines) << c.text.toStdString();
        for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), width);
    }
    // Broken between characters into lines as full as they can be.
    const int tenX = metrics.horizontalAdvance(QString(10, 'x'));
    EXPECT_EQ(wrapText(QString(25, 'x'), metrics, tenX),
              (std::vector<QString>{QString(10, 'x'), QString(10, 'x'), QString(5, 'x')}));
}

}  // namespace
}  // namespace veltrano
