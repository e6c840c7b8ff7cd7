#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include "ShellFixture.h"
#include "core/design/CigaretteFile.h"
#include "core/design/Utf8.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/LastFolder.h"
#include "ui/shell/RecentFiles.h"
#include "ui/shell/RecentFilesMenu.h"

namespace veltrano::testing {
namespace {

namespace fs = std::filesystem;

QString withoutBreaks(QString text) {
    return text.remove(QChar(0x200B));
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A main window and a folder with a cigarette file whose current design is 27 mm long.
class OpenFromDesktop : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        DesignSet designs;
        designs.currentDesign.fi_len = 27;
        RecordingErrorReporter errors;
        ASSERT_EQ(saveCigaretteFile(folder.file("short.cig"), designs, errors), 0);
    }

    // The entries of File > "Recent Files" as the menu shows them when it opens: text and tool tip
    // (without the places where it may break the line).
    std::vector<std::pair<std::string, std::string>> recentEntries() {
        auto* menu = window->findChild<RecentFilesMenu*>(QStringLiteral("recentFilesMenu"));
        EXPECT_NE(menu, nullptr);
        if (!menu) return {};
        menu->refresh();
        std::vector<std::pair<std::string, std::string>> entries;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                entries.emplace_back(a->text().toStdString(), withoutBreaks(a->toolTip()).toStdString());
        entries.pop_back();  // "Clear Recent Files"
        return entries;
    }
    void chooseRecent(int index) {
        auto* menu = window->findChild<RecentFilesMenu*>(QStringLiteral("recentFilesMenu"));
        menu->refresh();
        menu->actions().at(index)->trigger();
    }
    // Drags `data` onto the window; true when the window shows that it would take the drop.
    bool dragEnter(QMimeData& data) {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        return enter.isAccepted();
    }
    void drop(QMimeData& data) {
        QDropEvent event(QPointF(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        EXPECT_TRUE(event.isAccepted());
        EXPECT_EQ(event.dropAction(), Qt::CopyAction);  // the file stays where it is
        QCoreApplication::processEvents();              // it opens once the drop is over
    }

    TempFolder folder;
};

TEST(RecentFileList, KeepsTheLastEightNewestFirstEachOnce) {
    TempFolder folder;
    QSettings settings(QString::fromStdString(folder.file("settings.ini")), QSettings::IniFormat);
    RecentFiles recent(settings);
    // The list holds absolute paths: on Windows /d is on the working folder's drive.
    const QString d = QFileInfo(QStringLiteral("/d")).absoluteFilePath();
    const auto file = [&d](const char* name) { return d + QLatin1Char('/') + QLatin1String(name); };
    for (int i = 1; i <= 10; ++i) recent.add(QStringLiteral("/d/%1.cig").arg(i));
    recent.add(QStringLiteral("/d/../d/7.cig"));  // the same file again: to the top, once
    EXPECT_EQ(recent.files(), (QStringList{file("7.cig"), file("10.cig"), file("9.cig"), file("8.cig"),
                                           file("6.cig"), file("5.cig"), file("4.cig"), file("3.cig")}));
    recent.remove(QStringLiteral("/d/9.cig"));
    EXPECT_EQ(recent.files().size(), 7);
    EXPECT_FALSE(recent.files().contains(QStringLiteral("/d/9.cig")));
    // A relative name is taken from the working folder.
    recent.add(QStringLiteral("here.cig"));
    EXPECT_EQ(recent.files().first(), QDir::current().absoluteFilePath(QStringLiteral("here.cig")));

    // A list edited by hand: only absolute paths count, each once, at most eight.
    const struct {
        QVariant stored;
        QStringList read;
    } cases[] = {
        {QStringList{"", "relative.cig", "/a.cig", "/x/../a.cig", "/b.cig"}, {"/a.cig", "/b.cig"}},
        {QStringLiteral("/one.cig"), {"/one.cig"}},
        {42, {}},
        {QStringList(20, QStringLiteral("/same.cig")), {"/same.cig"}},
    };
    for (const auto& c : cases) {
        settings.setValue(QStringLiteral("recentFiles"), c.stored);
        EXPECT_EQ(recent.files(), c.read) << c.stored.toString().toStdString();
    }
    recent.clear();
    EXPECT_TRUE(recent.files().isEmpty());
}

// Equal names show as much of their folders as tells them apart; long ones are cut in the middle.
TEST(RecentFileLabels, EqualNamesShowTheFoldersThatTellThemApart) {
    const QFontMetrics metrics{QFont()};
    const struct {
        QStringList paths, labels;
    } cases[] = {
        {{"/h/a/light.cig", "/h/b/light.cig", "/h/a/other.cig"}, {"a/light.cig", "b/light.cig", "other.cig"}},
        {{"/h/x/p/same.cig", "/h/y/p/same.cig", "/h/z/same.cig"},
         {"x/p/same.cig", "y/p/same.cig", "z/same.cig"}},
        // The whole path where it has no more folders to show.
        {{"/a/b.cig", "/x/a/b.cig"}, {"/a/b.cig", "/x/a/b.cig"}},
        {{"/a.cig", "/h/a.cig"}, {"/a.cig", "/h/a.cig"}},
        {{"/d/a/b.cig", "/d/x/a/b.cig"}, {"/d/a/b.cig", "x/a/b.cig"}},
        {{"/d/one.cig"}, {"one.cig"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recentFileLabels(c.paths, metrics, 100000), c.labels) << c.paths.join(' ').toStdString();

    const QString longName = QString(246, QLatin1Char('n')) + QStringLiteral(".cig");
    const int width = 40 * metrics.averageCharWidth();
    const QStringList labels = recentFileLabels({"/d/f/" + longName, "/d/g/" + longName}, metrics, width);
    for (const QString& label : labels) {
        EXPECT_LE(metrics.horizontalAdvance(label), width);
        EXPECT_TRUE(label.contains(QChar(0x2026))) << label.toStdString();  // the ellipsis
        EXPECT_TRUE(label.endsWith(QStringLiteral("nn.cig"))) << label.toStdString();
    }
    EXPECT_TRUE(labels[0].startsWith(QStringLiteral("f/")));
    EXPECT_TRUE(labels[1].startsWith(QStringLiteral("g/")));
}

TEST_F(OpenFromDesktop, OpenSaveAsAndImportPutTheirFileOnTop) {
    EXPECT_TRUE(recentEntries().empty());
    chooseFile(folder.file("short.cig"));
    window->runCommand(kCmdOpen);
    chooseFile(folder.file("copy & more.cig"));
    window->runCommand(kCmdSaveAs);
    const std::string legacy = folder.file("old.cig");
    fs::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig", legacy);
    chooseFile(legacy);
    window->runCommand(kCmdImport);
    // A file that does not open is not remembered.
    writeBytes(folder.file("broken.cig"), "not a design");
    dialogs.expectMessage(QMessageBox::Discard);  // the imported designs are not saved yet
    chooseFile(folder.file("broken.cig"));
    dialogs.expectMessage();
    window->runCommand(kCmdOpen);

    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(recentEntries(), (Entries{{"&1 old.cig", legacy},
                                        {"&2 copy && more.cig", folder.file("copy & more.cig")},
                                        {"&3 short.cig", folder.file("short.cig")}}));
}

TEST_F(OpenFromDesktop, ARecentFileOpensAsOpenDoesAndAMissingOneLeavesTheList) {
    chooseFile(folder.file("short.cig"));
    window->runCommand(kCmdOpen);
    chooseFile(folder.file("gone.cig"));
    window->runCommand(kCmdSaveAs);
    window->runCommand(kCmdCopyToCurrent);  // an unsaved change

    // The unsaved-changes question comes first; Cancel keeps everything.
    dialogs.expectMessage(QMessageBox::Cancel);
    chooseRecent(1);
    EXPECT_TRUE(window->designsChanged());
    dialogs.expectMessage(QMessageBox::Discard);
    chooseRecent(1);
    EXPECT_EQ(current().fi_len, 27);
    EXPECT_FALSE(window->designsChanged());
    EXPECT_FALSE(window->commandEnabled(kCmdUndo));  // a new history, as after Open
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("short.cig"));

    fs::remove(folder.file("gone.cig"));
    dialogs.expectMessage();
    chooseRecent(1);
    EXPECT_EQ(dialogs.messages.back(), "The file " + folder.file("gone.cig") + " no longer exists.");
    EXPECT_EQ(recentEntries().size(), 1u);
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - " + folder.file("short.cig"));
}

TEST_F(OpenFromDesktop, FileDialogsStartInTheFolderLastChosen) {
    // Each dialog tells where it starts, then is cancelled.
    std::vector<std::string> startedIn;
    const auto noteFolder = [&] {
        dialogs.expect([&](QDialog& d) {
            auto* f = qobject_cast<QFileDialog*>(&d);
            startedIn.push_back(f ? f->directory().absolutePath().toStdString() : "no file dialog");
            return int(QDialog::Rejected);
        });
    };
    fs::create_directory(folder.file("other"));
    chooseFile(folder.file("other/new.cig"));
    window->runCommand(kCmdSaveAs);
    for (CommandId id : {kCmdOpen, kCmdImport, kCmdSaveAs, kCmdExportView, kCmdExportData}) {
        noteFolder();
        window->runCommand(id);
    }
    // Qt spells the folder with forward slashes on every system.
    const std::string other =
        QDir::fromNativeSeparators(QString::fromStdString(folder.file("other"))).toStdString();
    EXPECT_EQ(startedIn, std::vector<std::string>(5, other));

    // The next run starts there too; a folder that is gone since is forgotten.
    QSettings settings;
    EXPECT_EQ(LastFolder(settings).folder().toStdString(), other);
    fs::remove_all(folder.file("other"));
    EXPECT_EQ(LastFolder(settings).folder(), QString());
}

// A 250-character name keeps the menu narrow; the entry's tool tip has the whole path.
TEST_F(OpenFromDesktop, ALongNameInTheRecentFilesIsCutAndTheToolTipIsWhole) {
    const QString longPath =
        QStringLiteral("/designs/") + QString(246, QLatin1Char('n')) + QStringLiteral(".cig");
    {
        QSettings settings;
        settings.setValue(QStringLiteral("recentFiles"),
                          QStringList{longPath, QStringLiteral("/other/short.cig")});
    }
    const auto entries = recentEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].second, longPath.toStdString());
    auto* menu = window->findChild<RecentFilesMenu*>(QStringLiteral("recentFilesMenu"));
    // The long name's tool tip may break its lines, so that it stays on the screen.
    const QString tip = menu->actions().at(0)->toolTip();
    for (const QString& run : tip.split(QRegularExpression(QStringLiteral("[/\\x{200B}]"))))
        EXPECT_LE(run.size(), 40) << run.toStdString();
    EXPECT_EQ(menu->actions().at(1)->toolTip(), QStringLiteral("/other/short.cig"));
    EXPECT_NE(QString::fromStdString(entries[0].first).indexOf(QChar(0x2026)), -1) << entries[0].first;
    EXPECT_EQ(entries[1].first, "&2 short.cig");
    EXPECT_LT(menu->sizeHint().width(), menu->fontMetrics().horizontalAdvance(longPath) / 3);
    EXPECT_LT(menu->sizeHint().width(), window->screen()->availableGeometry().width());
}

// Names on disk that are not UTF-8 come out of a file dialog and the recent files with U+FFFD in place of
// their stray bytes, and a drop carries their bytes: wherever they come from they are refused by their
// name, never taken for the file whose name is that text. That file itself opens as any other.
TEST_F(OpenFromDesktop, NamesThatAreNotUtf8AreRefusedWhereverTheyComeFrom) {
    const std::string unreadable = folder.file("cl_\xFF\xFE.cig"),
                      twin = folder.file("cl_\xEF\xBF\xBD\xEF\xBF\xBD.cig");  // "cl_\uFFFD\uFFFD.cig"
    RecordingErrorReporter errors;
    for (const auto& [path, length] : {std::pair{unreadable, 29.0}, std::pair{twin, 31.0}}) {
        DesignSet designs;
        designs.currentDesign.fi_len = length;
        ASSERT_EQ(saveCigaretteFile(path, designs, errors), 0);
    }
    const std::vector<std::uint8_t> twinBefore = readBytes(twin);
    const std::string refused = "The name of the file " + escapedUtf8(unreadable) +
                                " is not UTF-8 text, and this program would take it for another name. Rename "
                                "the file and try again.";
    const double lengthBefore = current().fi_len;

    // A file dialog says so and asks again.
    for (CommandId id : {kCmdOpen, kCmdImport, kCmdSaveAs}) {
        chooseFile(twin);
        dialogs.expectMessage();
        cancelNext();
        window->runCommand(id);
        EXPECT_EQ(dialogs.messages.back(), refused) << id;
    }
    // An entry of the recent files, as an older run may have stored it.
    {
        QSettings settings;
        settings.setValue(QStringLiteral("recentFiles"), QStringList{QString::fromStdString(twin)});
    }
    dialogs.expectMessage();
    chooseRecent(0);
    EXPECT_EQ(dialogs.messages.back(), refused);
    // A drop, its address holding the name's bytes.
    QMimeData data;
    data.setUrls(
        {QUrl::fromEncoded("file://" + QByteArray::fromStdString(unreadable).toPercentEncoding("/"))});
    EXPECT_TRUE(dragEnter(data));
    dialogs.expectMessage();
    drop(data);
    EXPECT_EQ(dialogs.messages.back(), refused);

    EXPECT_EQ(current().fi_len, lengthBefore);
    EXPECT_EQ(readBytes(twin), twinBefore);
    EXPECT_EQ(shownTitle(*window), "veltrano 4.1 - by korbinel");

    // Alone, the file whose name has U+FFFD of its own opens.
    fs::remove(unreadable);
    chooseFile(twin);
    window->runCommand(kCmdOpen);
    EXPECT_EQ(current().fi_len, 31);
}

TEST_F(OpenFromDesktop, OneDroppedLocalFileOpensAsOpenDoes) {
    window->runCommand(kCmdCopyToCurrent);  // an unsaved change
    EXPECT_TRUE(window->acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.file("short.cig")))});
    EXPECT_TRUE(dragEnter(data));
    dialogs.expectMessage(QMessageBox::Discard);
    drop(data);
    EXPECT_EQ(current().fi_len, 27);
    EXPECT_FALSE(window->designsChanged());
    EXPECT_EQ(recentEntries().at(0).second, folder.file("short.cig"));
}

TEST_F(OpenFromDesktop, OnlyOneLocalFileIsTakenAsADrop) {
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(folder.file("short.cig")));
    const QList<QUrl> refused[] = {
        {file, file},                                                    // several files
        {QUrl(QStringLiteral("https://example.org/short.cig"))},         // not on this computer
        {QUrl::fromLocalFile(QString::fromStdString(folder.file("")))},  // a folder
        {},                                                              // text only
    };
    for (const QList<QUrl>& urls : refused) {
        QMimeData data;
        data.setText(QStringLiteral("short.cig"));
        if (!urls.isEmpty()) data.setUrls(urls);
        EXPECT_FALSE(dragEnter(data)) << urls.size();
        QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
        QCoreApplication::processEvents();
    }
    EXPECT_NE(current().fi_len, 27);
    EXPECT_EQ(dialogs.runs, 0);
}

}  // namespace
}  // namespace veltrano::testing
