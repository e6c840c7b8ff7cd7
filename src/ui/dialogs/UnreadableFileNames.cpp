#include "ui/dialogs/UnreadableFileNames.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/design/Utf8.h"

namespace veltrano {

namespace {

#if defined(Q_OS_UNIX)
constexpr QChar kReplacement(0xFFFD);

// The name in `folder` (bytes) whose bytes differ from `part`'s UTF-8 but read as `part`.
std::optional<QByteArray> twinIn(const QByteArray& folder, const QString& part) {
    const QByteArray encoded = QFile::encodeName(part);
    std::error_code error;
    std::filesystem::directory_iterator entry(std::filesystem::path(folder.toStdString()), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string bytes = entry->path().filename().native();
        const QByteArray name(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (name != encoded && QFile::decodeName(name) == part) return name;
    }
    return std::nullopt;
}
#endif

}  // namespace

std::optional<QString> pathFromBytes(const QByteArray& name) {
    QString path = QFile::decodeName(name);
    if (QFile::encodeName(path) != name) return std::nullopt;
    return path;
}

std::optional<QByteArray> unreadableNameBehind(const QString& path) {
#if defined(Q_OS_UNIX)
    // Only where Qt wrote U+FFFD can a name stand for another; a name with a U+FFFD of its own names
    // what it says unless its folder also holds a name that reads the same.
    if (!path.contains(kReplacement)) return std::nullopt;
    QByteArray folder = "/";
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part.contains(kReplacement))
            if (const std::optional<QByteArray> twin = twinIn(folder, part)) return folder + *twin;
        folder += QFile::encodeName(part) + '/';
    }
#else
    Q_UNUSED(path);  // names are UTF-16 there, and Qt holds them as they are
#endif
    return std::nullopt;
}

QString shownFileName(const QByteArray& name) {
    return QString::fromStdString(
        escapedUtf8(std::string_view(name.constData(), static_cast<std::size_t>(name.size()))));
}

QString unreadableNameMessage(const QByteArray& name) {
    return QStringLiteral(
               "The name of the file %1 is not UTF-8 text, and this program would take it for "
               "another name. Rename the file and try again.")
        .arg(shownFileName(name));
}

}  // namespace veltrano
