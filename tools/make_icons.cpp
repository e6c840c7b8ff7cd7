// make-icons: the application icon as the installed icon theme wants it, drawn by the same code as the
// window icon: PNGs of every size and a scalable SVG, under <folder>/hicolor/; and the same sizes as a
// Windows icon file, <folder>/<icon name>.ico, which the Windows programs carry as a resource
// (packaging/windows/veltrano.ico holds it; a test sees that it is what this draws).
#include <cstdio>
#include <vector>

#include <QBuffer>
#include <QDir>
#include <QFile>
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

void appendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) bytes.append(char((value >> (8 * i)) & 0xff));
}

// An icon file of PNG images (as Windows reads them since Vista): the header, one directory entry per
// image, the images.
bool writeIco(const QString& path) {
    std::vector<QByteArray> images;
    for (int size : veltrano::kApplicationIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!veltrano::makeApplicationIconImage(size).save(&buffer, "PNG")) return false;
        images.push_back(png);
    }
    QByteArray ico;
    appendLittleEndian(ico, 0, 2);  // reserved
    appendLittleEndian(ico, 1, 2);  // an icon
    appendLittleEndian(ico, quint32(images.size()), 2);
    quint32 offset = 6 + 16 * quint32(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = veltrano::kApplicationIconSizes[i];
        ico.append(char(size % 256)).append(char(size % 256));  // 256 is written 0
        appendLittleEndian(ico, 0, 2);                          // no palette, reserved
        appendLittleEndian(ico, 1, 2);                          // planes
        appendLittleEndian(ico, 32, 2);                         // bits per pixel
        appendLittleEndian(ico, quint32(images[i].size()), 4);
        appendLittleEndian(ico, offset, 4);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images) ico.append(image);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size() && file.flush();
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
    if (!writeInto(root + "scalable/apps", name + ".svg", svg)) return 1;
    return writeInto(QString::fromLocal8Bit(argv[1]), name + ".ico", writeIco) ? 0 : 1;
}
