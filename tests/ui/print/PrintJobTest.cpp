#include <cerrno>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/design/PlatformFiles.h"
#include "render/print/ReportPdf.h"
#include "tests/render/print/PrintTestSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/print/PrintJob.h"

namespace veltrano {
namespace {

using testing::ScriptedDialogs;

// Whether the file at `path` is a one-page PDF.
bool isOnePagePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF") && bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") == 1;
}

// A dialog step: points the dialog's printer at a PDF file, looks at the dialog, and answers.
ScriptedDialogs::Step printTo(const QString& path, int answer, QString* documentName = nullptr) {
    return [=](QDialog& dialog) {
        auto* printDialog = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(printDialog, nullptr) << dialog.metaObject()->className();
        if (!printDialog) return int(QDialog::Rejected);
        EXPECT_FALSE(printDialog->testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_FALSE(printDialog->testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_TRUE(printDialog->testOption(QAbstractPrintDialog::PrintToFile));
        printDialog->printer()->setOutputFileName(path);
        if (documentName) *documentName = printDialog->printer()->docName();
        return answer;
    };
}

TEST(PrintJob, CancellingTheDialogPrintsAndShowsNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    ScriptedDialogs dialogs;
    dialogs.expect(printTo(path, QDialog::Rejected));
    RecordingErrorReporter errors;
    printDesign(dialogs, nullptr, errors, test::fullDesignSet(), true, {}, PrintRoute::PrintDialog);
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PrintJob, ConfirmingTheDialogPrintsOnePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    ScriptedDialogs dialogs;
    QString documentName;
    dialogs.expect(printTo(path, QDialog::Accepted, &documentName));
    RecordingErrorReporter errors;
    printDesign(dialogs, nullptr, errors, test::fullDesignSet(), true, {}, PrintRoute::PrintDialog);
    EXPECT_TRUE(dialogs.done());
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_EQ(documentName, "veltrano 4.1");
    EXPECT_TRUE(isOnePagePdf(path));
}

TEST(PrintJob, PrinterThatCannotStartReports066Only) {
    // A PDF printer without a file: the document cannot be started, and there is nothing to end.
    ScriptedDialogs dialogs;
    dialogs.expect(printTo(QString(), QDialog::Accepted));
    RecordingErrorReporter errors;
    printDesign(dialogs, nullptr, errors, test::fullDesignSet(), true, {}, PrintRoute::PrintDialog);
    EXPECT_EQ(errors.numbers, std::vector<int>{66});
}

TEST(PrintJob, TheDialogProposesTheDesignFileNameWithPdf) {
    const struct {
        const char* design;
        const char* proposed;
    } cases[] = {{"/home/u/designs/light.cig", "/home/u/designs/light.pdf"}, {"", "veltrano 4.1.pdf"}};
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        QString proposed, documentName;
        dialogs.expect([&](QDialog& dialog) {
            auto* printDialog = qobject_cast<QPrintDialog*>(&dialog);
            EXPECT_NE(printDialog, nullptr);
            if (!printDialog) return int(QDialog::Rejected);
            documentName = printDialog->printer()->docName();
#ifdef Q_OS_WIN
            // Windows' own print dialog has no field for it: the printer holds the proposal.
            proposed = printDialog->printer()->outputFileName();
#else
            auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
            EXPECT_NE(fileName, nullptr);
            if (fileName) proposed = fileName->text();
#endif
            return int(QDialog::Rejected);
        });
        RecordingErrorReporter errors;
        printDesign(dialogs, nullptr, errors, test::fullDesignSet(), true, QString::fromUtf8(c.design),
                    PrintRoute::PrintDialog);
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(documentName, "veltrano 4.1");
    }
}

// Without a printer on Windows the page goes to a PDF file the user names: the save dialog proposes the
// design's name with ".pdf"; a name chosen gives the one-page PDF, cancelling gives nothing.
TEST(PrintJob, WithoutThePrintDialogASaveDialogNamesThePdfFile) {
    for (const bool chosen : {true, false}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("page.pdf");
        ScriptedDialogs dialogs;
        QStringList proposed;
        dialogs.expect([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            EXPECT_NE(files, nullptr) << dialog.metaObject()->className();
            if (!files) return int(QDialog::Rejected);
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
            proposed = files->selectedFiles();
            if (!chosen) return int(QDialog::Rejected);
            files->selectFile(path);
            return int(QDialog::Accepted);
        });
        RecordingErrorReporter errors;
        printDesign(dialogs, nullptr, errors, test::fullDesignSet(), true, dir.filePath("light.cig"),
                    PrintRoute::PdfFile);
        EXPECT_TRUE(dialogs.done());
        EXPECT_TRUE(errors.numbers.empty());
        ASSERT_EQ(proposed.size(), 1);
        EXPECT_EQ(QFileInfo(proposed.front()).fileName(), "light.pdf");
        EXPECT_EQ(isOnePagePdf(path), chosen);
        EXPECT_EQ(QFile::exists(path), chosen);
    }
}

// The system's error for a file whose folder does not exist.
#if defined(_WIN32)
constexpr int kNoSuchFolder = ERROR_PATH_NOT_FOUND;
#else
constexpr int kNoSuchFolder = ENOENT;
#endif

TEST(ReportPdf, WritesOnePageOrReports066) {
    QTemporaryDir dir;
    RecordingErrorReporter errors;
    const QString path = dir.filePath("report.pdf");
    const PdfWriting written = writeReportPdf(path, test::fullDesignSet(), true, errors);
    EXPECT_TRUE(written.written);
    EXPECT_EQ(written.failureReason, "");
    EXPECT_TRUE(errors.numbers.empty());
    EXPECT_TRUE(isOnePagePdf(path));

    // The specified error, and beside it the system's reason for whoever can show more than the box.
    const PdfWriting missing =
        writeReportPdf(dir.filePath("missing/folder/report.pdf"), test::fullDesignSet(), true, errors);
    EXPECT_FALSE(missing.written);
    EXPECT_EQ(missing.failureReason, platform::systemErrorText(kNoSuchFolder));
    EXPECT_EQ(errors.numbers, std::vector<int>{66});
}

}  // namespace
}  // namespace veltrano
