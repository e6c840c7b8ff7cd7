#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace veltrano {

// The cigarette files used last, newest first, kept in the settings: every run of the program (and
// every program running at the same time) shares one list.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QSettings& settings) : settings_(settings) {}

    // At most kMaxFiles absolute paths, each once. Whatever else the settings hold there (they may
    // have been edited by hand) is left out.
    QStringList files() const;
    // Puts the file (made absolute) on top; the oldest beyond kMaxFiles drops off.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();
    // Takes in what other running programs have stored since, and stores what this one changed.
    void reread();

private:
    void store(const QStringList& files);

    QSettings& settings_;
};

}  // namespace veltrano
