#pragma once

#include <string>

#include <QString>

namespace veltrano {

// File names cross between Qt and the core in one way only: the core takes UTF-8 paths, the platform
// layer below it turns them into what the system wants.
inline std::string toFilePath(const QString& path) {
    return path.toStdString();
}

inline QString fromFilePath(const std::string& path) {
    return QString::fromStdString(path);
}

}  // namespace veltrano
