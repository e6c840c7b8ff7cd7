// make-icons: the application icon as the installed icon theme wants it, drawn by the same code as the
// window icon: PNGs of every size and a scalable SVG, under <folder>/hicolor/.
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>

#include "render/resources/Pictures.h"

namespace {

constexpr int kSvgSize = 256;

bool writeSvg(const QString& path, const QString& title) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setTitle(title);
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    veltrano::paintApplicationIcon(painter, kSvgSize);
    return painter.end();
}

// Makes `folder` and writes `file` in it with `write`; false (after a message) when that fails.
template <typename Write>
bool writeInto(const QString& folder, const QString& file, Write write) {
    const QString path = folder + "/" + file;
    if (QDir().mkpath(folder) && write(path)) return true;
    std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-icons <folder> <icon name>\n");
        return 2;
    }
    // Painting needs a GUI application; it draws no window, so the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]) + "/hicolor/",
                  name = QString::fromLocal8Bit(argv[2]);

    for (int size : veltrano::kApplicationIconSizes) {
        const auto png = [size](const QString& path) {
            return veltrano::makeApplicationIconImage(size).save(path, "PNG");
        };
        if (!writeInto(root + QStringLiteral("%1x%1/apps").arg(size), name + ".png", png)) return 1;
    }
    const auto svg = [&name](const QString& path) { return writeSvg(path, name); };
    return writeInto(root + "scalable/apps", name + ".svg", svg) ? 0 : 1;
}
