#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QTransform>
#include <cstring>
#include <memory>
#include <vector>

#include "core/design/DesignSet.h"
#include "render/print/PrintedPage.h"
#include "tests/render/views/SyntheticDesign.h"
#include "tests/support/PaintRecorder.h"

namespace veltrano::test {

// Records the page at one device pixel per sheet unit.
class SheetRecorder : public PaintRecorder {
public:
    using Text = DrawnText;
    SheetRecorder() : PaintRecorder(QSize(kSheetWidth, kSheetHeight)) {}
};

// Records the whole page at one device pixel per sheet unit.
inline std::unique_ptr<SheetRecorder> recordSheet(const DesignSet& designs, bool puffByPuffValid) {
    auto recorder = std::make_unique<SheetRecorder>();
    QPainter painter(recorder.get());
    renderReport(painter, QSize(kSheetWidth, kSheetHeight), designs, puffByPuffValid);
    return recorder;
}

// Renders the page onto a white image of `size` device pixels, without antialiasing.
inline QImage renderPage(const DesignSet& designs, bool puffByPuffValid, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderReport(painter, size, designs, puffByPuffValid);
    return image;
}

inline void setInformation(DesignSet& set, const char* text) {
    set.informationText.fill('\0');
    std::strncpy(set.informationText.data(), text, set.informationText.size() - 1);
}

// A design set that fills every part of the page: results known, a perforated current design with
// twelve puffs, a banded paper and a reference with online perforation, and an information text.
inline DesignSet fullDesignSet() {
    DesignSet set = syntheticDesignSet(12);
    for (CigaretteDesign* d : {&set.currentDesign, &set.referenceDesign, &set.workingReference}) {
        d->stat_pdo = 112.4, d->stat_pdc = 131.7, d->stat_fivent = 23.6, d->stat_rovent = 8.9,
        d->stat_mbr = 51.3;
        d->iso_puff = 7.84, d->iso_nfdpm = 9.61, d->iso_nico = 0.82, d->iso_co = 9.95;
        d->ro_totlen = 64.0, d->ro_len = 60.0, d->ro_totpd = 95.0, d->ro_pd = 89.1, d->ro_totmass = 720.0;
        d->fi_totden = 30000.0, d->fi_fibden = 3.0;
    }
    set.currentDesign.cp_lip = 1;
    set.currentDesign.cp_bandwidth = 6.0, set.currentDesign.cp_bandspace = 21.5;
    set.currentDesign.cp_bandperm = 8.0, set.currentDesign.cp_banddiff = 0.125;
    set.referenceDesign.tp_perfotype = kOnlineLaser;
    set.referenceDesign.tp_onlinevent = 31.5;
    setInformation(set,
                   "Trial 17 & 18: tipping 32 mm, electrostatic perforation at 12 mm.\r\n"
                   "Compared with the reference, the banded paper lowers the static burn rate; the "
                   "puff count rises by about half a puff.\r\nNext: check the plug wrap grade.");
    return set;
}

}  // namespace veltrano::test
