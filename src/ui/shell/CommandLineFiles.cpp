#include "ui/shell/CommandLineFiles.h"

#include <QFile>

namespace veltrano {

QList<QByteArray> namedFileBytes(const QStringList& positional, const QList<QByteArray>& arguments) {
    QList<QByteArray> files;
    qsizetype next = 0;
    for (const QString& name : positional) {
        while (next < arguments.size() && QFile::decodeName(arguments[next]) != name) ++next;
        // The parser takes its names from these arguments; should one be missing all the same, its text
        // is the best there is.
        files << (next < arguments.size() ? arguments[next++] : QFile::encodeName(name));
    }
    return files;
}

}  // namespace veltrano
