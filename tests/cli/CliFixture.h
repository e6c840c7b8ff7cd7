#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace veltrano::testing {

namespace fs = std::filesystem;

// veltrano-cli driven as a process, in a folder of its own per test.
struct Result {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    fs::path dir =
        fs::temp_directory_path() /
        ("veltrano-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::string models = std::string(VELTRANO_TEST_DATA_DIR) + "/fixture-models.dat";

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    Result run(const std::string& arguments) const {
        const std::string out = path("stdout"), err = path("stderr");
        // As from a terminal session without a display.
        const std::string command = "env -u DISPLAY -u QT_QPA_PLATFORM " + std::string(VELTRANO_CLI) + " " +
                                    arguments + " >" + out + " 2>" + err;
        const int raw = std::system(command.c_str());
        return {WEXITSTATUS(raw), slurp(out), slurp(err)};
    }

    static std::string slurp(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    static QJsonObject json(const std::string& text) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        EXPECT_TRUE(doc.isObject()) << error.errorString().toStdString();
        return doc.object();
    }
};

}  // namespace veltrano::testing
