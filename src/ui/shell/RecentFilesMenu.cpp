#include "ui/shell/RecentFilesMenu.h"

#include <algorithm>
#include <vector>

#include <QDir>
#include <QFontMetrics>

#include "ui/shell/RecentFiles.h"

namespace veltrano {

RecentFilesMenu::RecentFilesMenu(RecentFiles& files, std::function<void(const QString&)> open,
                                 QWidget* parent)
    : QMenu(parent), files_(files), open_(std::move(open)) {
    setObjectName(QStringLiteral("recentFilesMenu"));
    setToolTipsVisible(true);
    refresh();
}

namespace {

// Entries are cut to this many average characters: a long name must not make the menu as wide as the
// screen.
constexpr int kLabelCharacters = 60;

// The path with a place to break the line (U+200B, which shows nothing) after every 40 characters of a
// name: a tool tip wider than the screen wraps there (and at its slashes) instead of running off it.
QString wrappableText(const QString& text) {
    constexpr int kRun = 40;
    QString out;
    int run = 0;
    for (const QChar c : text) {
        out += c;
        run = c.isSpace() || c == QLatin1Char('/') ? 0 : run + 1;
        if (run == kRun) {
            out += QChar(0x200B);
            run = 0;
        }
    }
    return out;
}

}  // namespace

QStringList recentFileLabels(const QStringList& paths, const QFontMetrics& metrics, int width) {
    std::vector<QStringList> parts;
    for (const QString& path : paths) parts.push_back(path.split(QLatin1Char('/'), Qt::SkipEmptyParts));
    std::vector<qsizetype> shown(parts.size(), 1);  // how many of each path's parts the label shows
    const auto tail = [&](std::size_t i) {
        return parts[i].sliced(parts[i].size() - std::min(shown[i], parts[i].size())).join(QLatin1Char('/'));
    };
    // Labels that are alike take one folder more each, until none are alike or a path has no more.
    std::vector<std::size_t> longer;
    do {
        longer.clear();
        for (std::size_t i = 0; i < parts.size(); ++i)
            for (std::size_t j = 0; j < parts.size(); ++j)
                if (i != j && shown[i] < parts[i].size() && tail(i) == tail(j)) {
                    longer.push_back(i);
                    break;
                }
        for (std::size_t i : longer) ++shown[i];
    } while (!longer.empty());
    QStringList labels;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const QString label = shown[i] >= parts[i].size() ? QLatin1Char('/') + tail(i) : tail(i);
        labels << metrics.elidedText(QDir::toNativeSeparators(label), Qt::ElideMiddle, width);
    }
    return labels;
}

void RecentFilesMenu::refresh() {
    clear();
    files_.reread();
    const QStringList files = files_.files();
    const QStringList labels =
        recentFileLabels(files, fontMetrics(), kLabelCharacters * fontMetrics().averageCharWidth());
    for (qsizetype i = 0; i < files.size(); ++i) {
        // "&" in a file name is no mnemonic.
        const QString name = QString(labels[i]).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setStatusTip(QDir::toNativeSeparators(files[i]));
        entry->setToolTip(wrappableText(entry->statusTip()));
        connect(entry, &QAction::triggered, this, [this, path = files[i]] { open_(path); });
    }
    addSeparator();
    QAction* clearList = addAction(QStringLiteral("Clear Recent Files"));
    connect(clearList, &QAction::triggered, this, [this] { files_.clear(); });
    menuAction()->setEnabled(!files.isEmpty());
}

}  // namespace veltrano
