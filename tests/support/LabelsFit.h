#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTextDocument>
#include <QTextLayout>
#include <QWidget>

namespace veltrano::testing {

// The width a label's one-line plain text takes as Qt draws it: its mnemonic underlined, which shapes
// the text apart there.
inline int drawnWidth(const QLabel& label) {
    QString text = label.text();
    int mnemonic = -1;
    if (label.buddy())
        for (qsizetype i = 0; i + 1 < text.size(); ++i)
            if (text[i] == QLatin1Char('&')) {
                text.remove(i, 1);  // "&&" leaves one "&", which is no mnemonic
                if (text[i] != QLatin1Char('&') && mnemonic < 0) mnemonic = static_cast<int>(i);
            }
    QTextLayout layout(text, label.font());
    if (mnemonic >= 0) {
        QTextLayout::FormatRange underline;
        underline.start = mnemonic;
        underline.length = 1;
        underline.format.setFontUnderline(true);
        layout.setFormats({underline});
    }
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return static_cast<int>(std::ceil(line.naturalTextWidth()));
}

// The texts of `window` that its layout gives less room than they need: every shown label, check box,
// radio button and push button whose size is below its size hint (a word-wrapping label: below the
// height its width needs), or that reaches past the window's edge. Each as "name 'text' WxH, needs WxH".
// Lay the window out first (show it and let the events through).
inline std::vector<std::string> clippedTexts(const QWidget& window) {
    std::vector<std::string> clipped;
    const auto check = [&](const QWidget& w, const QString& text, QSize needs) {
        if (text.isEmpty() || !w.isVisibleTo(&window)) return;
        const QRect inWindow(w.mapTo(&window, QPoint(0, 0)), w.size());
        if (w.width() >= needs.width() && w.height() >= needs.height() && window.rect().contains(inWindow))
            return;
        clipped.push_back(w.objectName().toStdString() + " '" + text.toStdString() + "' " +
                          std::to_string(w.width()) + "x" + std::to_string(w.height()) + " at " +
                          std::to_string(inWindow.x()) + "," + std::to_string(inWindow.y()) + ", needs " +
                          std::to_string(needs.width()) + "x" + std::to_string(needs.height()));
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;  // a picture, or text still to come
        if (label->wordWrap()) {
            check(*label, label->text(), QSize(0, label->heightForWidth(label->width())));
            continue;
        }
        // A label is laid out at its size hint, which measures its text in one piece; a mnemonic's
        // underline splits it, and a pair of letters the font kerns is drawn wider ("&To").
        QSize needs = label->sizeHint();
        if (!Qt::mightBeRichText(label->text()) && !label->text().contains(QLatin1Char('\n'))) {
            const QMargins margins = label->contentsMargins();
            const int frame =
                margins.left() + margins.right() + 2 * label->margin() + std::max(label->indent(), 0);
            needs.rwidth() = std::max(needs.width(), drawnWidth(*label) + frame);
        }
        check(*label, label->text(), needs);
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        check(*button, button->text(), button->sizeHint());
    return clipped;
}

// Shows `window` and lets its layout settle.
inline void layOut(QWidget& window) {
    window.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace veltrano::testing
