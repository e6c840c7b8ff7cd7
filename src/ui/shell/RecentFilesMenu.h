#pragma once

#include <functional>

#include <QMenu>

namespace veltrano {

class RecentFiles;

// File > "Recent Files": the recent list as numbered entries ("&1 light.cig", the full path as tool tip
// and status tip), then "Clear Recent Files". Other running programs change the list too, so the menu
// is filled anew by `refresh`, each time the menu that holds it opens; it is greyed while the list is
// empty. Choosing an entry hands its path to `open`.
class RecentFilesMenu : public QMenu {
    Q_OBJECT
public:
    RecentFilesMenu(RecentFiles& files, std::function<void(const QString&)> open, QWidget* parent);

    void refresh();

private:
    RecentFiles& files_;
    std::function<void(const QString&)> open_;
};

}  // namespace veltrano
