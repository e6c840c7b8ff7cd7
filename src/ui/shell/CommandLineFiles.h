#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace veltrano {

// The files named on the command line as the system gave them: the bytes of each of `positional` (the
// file names the parser found, in their order) among `arguments` (the whole command line, as bytes).
// Each is the next argument whose text it is, so a name keeps its bytes even where they are not UTF-8
// and its text is not the name.
QList<QByteArray> namedFileBytes(const QStringList& positional, const QList<QByteArray>& arguments);

}  // namespace veltrano
