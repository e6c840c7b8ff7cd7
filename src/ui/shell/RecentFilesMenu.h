#pragma once

#include <functional>

#include <QMenu>
#include <QStringList>

class QFontMetrics;

namespace veltrano {

class RecentFiles;

// File > "Recent Files": the recent list as numbered entries ("&1 light.cig", see recentFileLabels; the
// full path as status tip and as tool tip, which a very long path wraps), then "Clear Recent Files". Other
// running programs change the list too, so the menu is filled anew by `refresh`, each time the menu that
// holds it opens; it is greyed while the list is empty. Choosing an entry hands its path to `open`.
class RecentFilesMenu : public QMenu {
    Q_OBJECT
public:
    RecentFilesMenu(RecentFiles& files, std::function<void(const QString&)> open, QWidget* parent);

    void refresh();

private:
    RecentFiles& files_;
    std::function<void(const QString&)> open_;
};

// The names of the entries: each file's name with as many of its folders in front as tell it from the
// other files of the same name ("old/light.cig", "new/light.cig"; the whole path, "/light.cig", where
// it ends there), cut in the middle to at most `width` pixels of `metrics`.
QStringList recentFileLabels(const QStringList& paths, const QFontMetrics& metrics, int width);

}  // namespace veltrano
