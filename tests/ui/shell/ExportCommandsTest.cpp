#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QInputDialog>
#include <QMimeData>
#include <QTest>

#include "ShellFixture.h"
#include "render/views/ViewExport.h"
#include "ui/shell/ExportCommands.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;

// The place of a format in the export dialog's list of file types.
int filterIndexOf(ExportFormat format) {
    return int(std::find(std::begin(kExportFormats), std::end(kExportFormats), format) -
               std::begin(kExportFormats));
}

class ExportCommands : public ShellTest {
protected:
    ViewExportSource source(View view, double screenRatio = 1.0) const {
        return {window->resources(), {state.document.designs(), view, true}, designFile, screenRatio};
    }
    bool exportView(const ViewExportSource& from) {
        return veltrano::exportView(dialogs, window.get(), from);
    }
    bool exportData() {
        return veltrano::exportData(dialogs, window.get(), state.document.designs(), false, designFile);
    }
    // Answers a file dialog with `path`, after noting its title and proposal; first steps `filter`
    // entries down the list of file types, as a user does with the arrow keys.
    void chooseIn(const std::string& path, int filter = 0) {
        dialogs.expect([=, this](QDialog& d) {
            auto* f = qobject_cast<QFileDialog*>(&d);
            EXPECT_NE(f, nullptr);
            if (!f) return int(QDialog::Rejected);
            titles.push_back(f->windowTitle());
            proposals.push_back(QFileInfo(f->selectedFiles().value(0)).fileName());
            auto* types = f->findChild<QComboBox*>("fileTypeCombo");
            EXPECT_NE(types, nullptr);
            for (int i = 0; types && i < filter; ++i) QTest::keyClick(types, Qt::Key_Down);
            f->selectFile(QString::fromStdString(path));
            return int(QDialog::Accepted);
        });
    }

    TempFolder folder;
    QString designFile = QString::fromStdString(folder.file("light.cig"));
    QStringList titles, proposals;
};

TEST_F(ExportCommands, ExportViewWritesPngSvgAndPdf) {
    // PNG: the scale is asked, the screen's ratio proposed.
    chooseIn(folder.file("view.png"));
    double proposedScale = 0;
    dialogs.expect([&](QDialog& d) {
        auto* input = qobject_cast<QInputDialog*>(&d);
        EXPECT_NE(input, nullptr);
        if (!input) return int(QDialog::Rejected);
        proposedScale = input->doubleValue();
        input->setDoubleValue(2.0);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(exportView(source(View::StationaryFlow, 1.5)));
    EXPECT_EQ(proposedScale, 1.5);
    EXPECT_EQ(QImageReader(QString::fromStdString(folder.file("view.png"))).size(), QSize(2048, 1536));
    EXPECT_EQ(titles.value(0), "Export View");
    EXPECT_EQ(proposals.value(0), "light.png");  // the design's name with the chosen filter's suffix

    // SVG (where the build writes it) by the name's extension, PDF by the filter for a name without one.
#ifdef VELTRANO_HAVE_SVG
    chooseIn(folder.file("view.svg"));
    EXPECT_TRUE(exportView(source(View::Summary)));
    EXPECT_NE(fs::file_size(folder.file("view.svg")), 0u);
#endif
    chooseIn(folder.file("page"), filterIndexOf(ExportFormat::Pdf));
    EXPECT_TRUE(exportView(source(View::Yields)));
    std::ifstream pdf(folder.file("page.pdf"), std::ios::binary);
    std::string head(4, '\0');
    pdf.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");

    // Cancelled: nothing written, nothing shown.
    cancelNext();
    EXPECT_FALSE(exportView(source(View::StationaryFlow)));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The export's own message, naming the file and the system's reason, not the cigarette file's 053.
TEST_F(ExportCommands, AnExportThatCannotBeWrittenSaysWhichFileAndWhyAndLeavesNoFile) {
    fs::create_directory(folder.file("view.pdf"));  // a folder where the file should go
    chooseIn(folder.file("view.pdf"));
    dialogs.expectMessage();
    EXPECT_FALSE(exportView(source(View::StationaryFlow)));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "The file \"" + folder.file("view.pdf") +
                                       "\" could not be written: " + std::strerror(EISDIR) + ".");
    EXPECT_TRUE(fs::is_empty(folder.file("view.pdf")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    // Export data stops at the first table that cannot be written, and says which.
    fs::create_directory(folder.file("light-summary.csv"));
    chooseIn(folder.file("light.csv"));
    dialogs.expectMessage(QMessageBox::Yes);  // replace the existing files?
    dialogs.expectMessage();
    EXPECT_FALSE(exportData());
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2], "The file \"" + folder.file("light-summary.csv") +
                                       "\" could not be written: " + std::strerror(EISDIR) + ".");
    EXPECT_FALSE(fs::exists(folder.file("light-profiles.csv")));
}

TEST_F(ExportCommands, ExportDataWritesOneCsvFilePerTable) {
    chooseIn(folder.file("light.csv"));
    EXPECT_TRUE(exportData());
    EXPECT_EQ(titles.value(0), "Export Data");
    const struct {
        const char* file;
        const char* header;
        std::size_t lines;
    } files[] = {{"light-summary.csv", "design,ci_len [mm],", 1 + 3},
                 {"light-profiles.csv", "position [mm],stat_pres_open [mm H2O] (uncalibrated),", 1 + 300},
                 {"light-curves.csv", "iso_time [s],iso_prof_flow [cm3/s] (uncalibrated),", 1 + 400},
                 {"light-puffs.csv", "puff [-],puff_size [1/10],", 1}};  // per-puff data not current
    for (const auto& f : files) {
        std::ifstream in(folder.file(f.file), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(text.rfind(f.header, 0), 0u) << f.file;
        EXPECT_EQ(std::size_t(std::count(text.begin(), text.end(), '\n')), f.lines) << f.file;
    }
    EXPECT_FALSE(fs::exists(folder.file("light.csv")));

    // Again: one question for the files that are there; No keeps them.
    chooseIn(folder.file("light.csv"));
    dialogs.expectMessage(QMessageBox::No);
    fs::remove(folder.file("light-curves.csv"));
    EXPECT_FALSE(exportData());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0],
              "Replace the existing files?\n\nlight-summary.csv\nlight-profiles.csv\nlight-puffs.csv");
    EXPECT_FALSE(fs::exists(folder.file("light-curves.csv")));
}

TEST_F(ExportCommands, CopyGivesThePictureAndTheNumbersInTheUsersDecimals) {
    const ViewScene summary{state.document.designs(), View::Summary, true};
    std::unique_ptr<QMimeData> data =
        viewMimeData(window->resources(), summary, 1.0, QLocale(QLocale::German));
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(1024, 768));
    const QString text = data->text();
    EXPECT_TRUE(text.startsWith("design\tci_len [mm]\t"));
    EXPECT_TRUE(text.contains("\ncurrent\t84\t"));
    EXPECT_TRUE(text.contains("\n\npuff [-]\t"));  // the summary view's puff table follows
    EXPECT_FALSE(text.contains('.'));              // "116.0" would be a date to a German spreadsheet
    EXPECT_TRUE(text.contains(','));

    // Through the clipboard, both formats arrive.
    QGuiApplication::clipboard()->setMimeData(
        viewMimeData(window->resources(), summary, 1.0, QLocale::c()).release());
    const QMimeData* pasted = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(pasted, nullptr);
    EXPECT_TRUE(pasted->hasImage());
    EXPECT_TRUE(pasted->text().contains(QStringLiteral("\ncurrent\t84\t")));
    EXPECT_TRUE(pasted->text().contains('.'));

    // The stationary view gives its profiles after the summary.
    const auto stationary =
        viewMimeData(window->resources(), {state.document.designs(), View::StationaryFlow}, 2.0);
    EXPECT_TRUE(stationary->text().contains("\n\nposition [mm]\t"));
    EXPECT_EQ(qvariant_cast<QImage>(stationary->imageData()).size(), QSize(2048, 1536));
}

}  // namespace
}  // namespace veltrano::testing
