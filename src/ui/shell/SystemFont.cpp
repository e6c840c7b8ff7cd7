#include "ui/shell/SystemFont.h"

#ifdef _WIN32
#include <QApplication>
#include <QFontInfo>
#include <QSettings>
#endif

namespace veltrano {

#ifdef _WIN32
namespace {

// The font Windows draws in place of FAMILY ("MS Shell Dlg" → "Tahoma"), or FAMILY itself. The values
// may end in a character set (",0").
QString windowsSubstituteOf(const QString& family) {
    const QSettings substitutes(
        QStringLiteral(
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes"),
        QSettings::NativeFormat);
    const QString value = substitutes.value(family).toString();
    return value.isEmpty() ? family : value.section(QLatin1Char(','), 0, 0);
}

}  // namespace
#endif

void standInForMissingSystemFont() {
#ifdef _WIN32
    QFont font = QApplication::font();
    const QString drawnIn = QFontInfo(font).family();
    const QString asked = font.family();
    if (drawnIn.compare(asked, Qt::CaseInsensitive) == 0 ||
        drawnIn.compare(windowsSubstituteOf(asked), Qt::CaseInsensitive) == 0)
        return;
    font.setFamily(QStringLiteral("Liberation Sans"));
    QApplication::setFont(font);  // replaces the menus', message boxes' and tool tips' fonts too
#endif
}

}  // namespace veltrano
