#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// File names are bytes to the system and text to Qt, which reads them as UTF-8: a name whose bytes are
// not UTF-8 comes out with U+FFFD in their place, and that text names another file, or none. Such a
// name is refused with a message that shows it, never mapped to another file.
namespace veltrano {

// The path of a name the system gave as bytes (a command-line argument, a dropped file's address);
// nothing when the bytes do not come back unchanged from the way into text.
std::optional<QString> pathFromBytes(const QByteArray& name);

// For a path taken from Qt's own listing of the disk (a file dialog's choice, a stored recent file):
// the bytes of the file or folder on disk behind it whose name did not survive, or nothing when the
// path names what it says.
std::optional<QByteArray> unreadableNameBehind(const QString& path);

// A name as bytes, shown: the bytes that are not UTF-8 as \xHH.
QString shownFileName(const QByteArray& name);

// The message that refuses such a name.
QString unreadableNameMessage(const QByteArray& name);

}  // namespace veltrano
