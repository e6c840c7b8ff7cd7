#include "ui/sheet/CigSpecDlg.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/sheet/DesignSheet.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/sheet/FieldTableWidget.h"
#include "ui/sheet/SheetPages.h"
#include "ui/sheet/UiText.h"

namespace veltrano {

CigSpecDlg::CigSpecDlg(DesignSheet& sheet, Dialogs& dialogs, ErrorReporter& reporter, QWidget* owner,
                       const SheetStrip& strip)
    : QDialog(owner), sheet_(sheet), tabs_(new QTabWidget) {
    setWindowTitle(uiText(sheet.title()));
    const SheetPageContext context{sheet, dialogs, reporter};
    for (int page = 0; page < sheet.pageCount(); ++page) {
        pages_.push_back(makeSheetPage(page, context));
        tabs_->addTab(pages_.back(), uiText(sheetPage(page).tabTitle));
    }
    tabs_->setUsesScrollButtons(false);  // every tab in sight
    connect(tabs_, &QTabWidget::currentChanged, this, &CigSpecDlg::pageActivated);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    if (strip) layout->addWidget(strip(sheet_, *this));
    layout->addWidget(buttons);
}

void CigSpecDlg::openAt(int page) {
    if (tabs_->currentIndex() != page)
        tabs_->setCurrentIndex(page);  // shows it through pageActivated
    else
        pages_.at(static_cast<std::size_t>(page))->refresh();
}

void CigSpecDlg::pageActivated(int page) {
    if (page < 0) return;
    sheet_.displayPage(page);
    pages_.at(static_cast<std::size_t>(page))->refresh();
}

std::optional<DesignValues> runDesignSheet(Dialogs& dialogs, QWidget* owner, ErrorReporter& reporter,
                                           const DesignValues& design, bool isReference,
                                           const ModelParameters& mp, const SheetStrip& strip) {
    // A dialog for each showing: the pages' texts live in the sheet from showing to showing.
    return runSheet(design, isReference, mp, reporter, [&](DesignSheet& sheet, int firstPage) {
        CigSpecDlg dialog(sheet, dialogs, reporter, owner, strip);
        dialog.openAt(firstPage);
        return dialogs.exec(dialog) == QDialog::Accepted;
    });
}

}  // namespace veltrano
