#include "render/print/TextWrap.h"

#include <QRegularExpression>

namespace veltrano {

namespace {

// Moves whole characters from the front of `word` into lines of their own while it is wider than
// the line; what is left is the start of the next line.
QString breakLongWord(QString word, const QFontMetrics& metrics, int width, std::vector<QString>& lines) {
    while (word.size() > 1 && metrics.horizontalAdvance(word) > width) {
        qsizetype fits = 1;
        while (fits + 1 < word.size() && metrics.horizontalAdvance(word.left(fits + 1)) <= width) ++fits;
        lines.push_back(word.left(fits));
        word.remove(0, fits);
    }
    return word;
}

void wrapParagraph(const QString& paragraph, const QFontMetrics& metrics, int width,
                   std::vector<QString>& lines) {
    // Splitting at single blanks keeps runs of blanks inside a line as they were typed.
    const QStringList words = paragraph.split(QLatin1Char(' '));
    QString line;
    bool lineStarted = false;
    for (const QString& word : words) {
        if (lineStarted) {
            const QString longer = line + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(longer) <= width) {
                line = longer;
                continue;
            }
            lines.push_back(line);
        }
        line = breakLongWord(word, metrics, width, lines);
        lineStarted = true;
    }
    lines.push_back(line);
}

}  // namespace

std::vector<QString> wrapText(const QString& text, const QFontMetrics& metrics, int width) {
    std::vector<QString> lines;
    if (text.isEmpty()) return lines;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : text.split(lineBreak)) wrapParagraph(paragraph, metrics, width, lines);
    return lines;
}

}  // namespace veltrano
