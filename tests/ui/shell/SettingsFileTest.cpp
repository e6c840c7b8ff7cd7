#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "ui/shell/SettingsFile.h"

namespace veltrano::testing {
namespace {

// The settings file is opened only where it is a regular file or not there yet; anything else in its
// place (a pipe would keep the program from starting) is left alone, said, and the settings of the run
// live in memory.
TEST(SettingsFile, OnlyARegularFileOrNoneIsOpened) {
    const struct {
        const char* what;
        std::function<void(const QString& path)> make;
        bool used;
        QString kept;  // the value the settings start with
    } cases[] = {
        {"no file yet", [](const QString&) {}, true, ""},
        {"a regular file",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("[General]\nkept=from before\n");
         },
         true, "from before"},
#ifndef _WIN32
        {"a pipe", [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0600), 0); }, false,
         ""},
#endif
        {"a folder", [](const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); }, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const QString path = QString::fromStdString(folder.file("veltrano.conf"));
        c.make(path);
        {
            const SettingsFile opened = openSettingsFile(path);
            ASSERT_NE(opened.settings, nullptr);
            EXPECT_EQ(opened.problem.isEmpty(), c.used);
            EXPECT_EQ(opened.settings->value("kept").toString(), c.kept);
            if (!c.used) {
                EXPECT_EQ(opened.problem.toStdString(),
                          "The settings file " + path.toStdString() +
                              " is not a regular file; the program starts with its defaults and keeps no "
                              "settings, such as the recent files, this time.");
            }
            opened.settings->setValue("recentFiles", QStringList{"/a.cig"});
            EXPECT_EQ(opened.settings->value("recentFiles").toStringList(), QStringList{"/a.cig"});
        }
        // What a file held is read, and what the run stored is there for the next one.
        const bool regular = QFileInfo(path).isFile();
        EXPECT_EQ(regular, c.used);
        if (regular) {
            QSettings again(path, QSettings::IniFormat);
            EXPECT_EQ(again.value("recentFiles").toStringList(), QStringList{"/a.cig"});
        }
    }
}

}  // namespace
}  // namespace veltrano::testing
