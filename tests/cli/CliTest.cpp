#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

// Where and how the program runs: its working folder, environment variables to set ("NAME=value ..."),
// and the executable.
struct Process {
    std::string folder = ".";
    std::string variables;
    std::string program = VELTRANO_CLI;
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

    Result run(const std::string& arguments, const Process& process = {}) const {
        const std::string out = path("stdout"), err = path("stderr");
        // As from a terminal session without a display.
        const std::string command = "cd " + process.folder + " && env -u DISPLAY -u QT_QPA_PLATFORM " +
                                    process.variables + " " + process.program + " " + arguments + " >" + out +
                                    " 2>" + err;
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

TEST_F(Cli, NewThenEvaluate) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    EXPECT_EQ(fs::file_size(path("a.cig")), 13016u);
    const Result r = run("evaluate " + path("a.cig") + " --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = json(r.out);
    EXPECT_TRUE(o["errors"].toArray().isEmpty());
    const QJsonObject current = o["current"].toObject();
    EXPECT_EQ(current["known"].toDouble(), double(0x87FFFFFFu));
    EXPECT_EQ(current["magic"].toString(), "QMX");
    EXPECT_EQ(current["stat_pres_open"].toArray().size(), 300);
    EXPECT_FALSE(current.contains("puff_co"));               // no puffs without --puffs
    EXPECT_NEAR(current["stat_pdc"].toDouble(), 124, 1e-9);  // calibrated to the reference's own value
}

TEST_F(Cli, EvaluateWithPuffs) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const Result r = run("evaluate " + path("a.cig") + " --puffs --models=" + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject current = json(r.out)["current"].toObject();
    const int n = current["puff_number"].toInt();
    EXPECT_GT(n, 0);
    EXPECT_EQ(current["puff_co"].toArray().size(), n);
    EXPECT_EQ(current["puff_size"].toArray().size(), n);
}

TEST_F(Cli, BuildThenEvaluateGivesBackEveryInput) {
    write("in.json", R"({
        "reference": {"fi_len": 27.5, "tp_perfotype": 2, "tp_perfotrack": 3, "known": 2281701375,
                      "alt_profile": [0, 1, 0], "alt_profpnts": 3, "cp_lip": 1, "cp_bandwidth": 6,
                      "cp_bandspace": 20, "cp_bandperm": 5, "cp_banddiff": 0.1, "stat_pdo": "NaN"},
        "current": {"ro_len": 57.25, "alt_volume": 55, "alt_blocking": 50},
        "informationText": "line one\r\nä€"
    })");
    ASSERT_EQ(run("build " + path("in.json") + " " + path("b.cig")).status, 0);
    const Result r = run("evaluate " + path("b.cig") + " --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = json(r.out);
    const QJsonObject ref = o["reference"].toObject(), cur = o["current"].toObject();
    EXPECT_EQ(ref["fi_len"].toDouble(), 27.5);
    EXPECT_EQ(ref["tp_perfotype"].toInt(), 2);
    EXPECT_EQ(ref["tp_perfotrack"].toDouble(), 3);
    EXPECT_EQ(ref["alt_profpnts"].toInt(), 3);
    EXPECT_EQ(ref["alt_profile"].toArray()[1].toDouble(), 1);
    EXPECT_EQ(ref["alt_profile"].toArray()[3].toDouble(), 1);  // slots not given keep their defaults
    EXPECT_EQ(ref["cp_banddiff"].toDouble(), 0.1);
    EXPECT_EQ(ref["stat_pdo"].toString(), "NaN");  // the reference is never recalculated
    EXPECT_EQ(cur["ro_len"].toDouble(), 57.25);
    EXPECT_EQ(cur["alt_volume"].toDouble(), 55);
    EXPECT_EQ(o["informationText"].toString(), QString::fromUtf8("line one\r\nä€"));

    // What evaluate prints builds again into the same file.
    write("again.json", r.out);
    ASSERT_EQ(run("build " + path("again.json") + " " + path("c.cig")).status, 0);
    const Result r2 = run("evaluate " + path("c.cig") + " --models " + models);
    EXPECT_EQ(json(r2.out)["reference"], o["reference"]);
}

TEST_F(Cli, BuildRefusesUnknownFieldsAndWrongTypes) {
    const struct {
        const char* json;
        const char* says;
    } cases[] = {
        {R"({"current": {"fi_lenght": 1}})", "fi_lenght"},
        {R"({"current": {"fi_len": "long"}})", "fi_len"},
        {R"({"current": {"tp_perfotype": 1.5}})", "tp_perfotype"},
        {R"({"current": {"known": -1}})", "known"},
        {R"({"currant": {}})", "currant"},
        {R"({"informationText": "中"})", "informationText"},
        {R"([1, 2])", "JSON object"},
    };
    for (const auto& c : cases) {
        write("bad.json", c.json);
        const Result r = run("build " + path("bad.json") + " " + path("x.cig"));
        EXPECT_EQ(r.status, 2) << c.json;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path("x.cig")));
    }
}

TEST_F(Cli, FileErrorsAndBadCommandLines) {
    write("short.cig", std::string(13015, '\0'));
    Result r = run("evaluate " + path("short.cig") + " --models " + models);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error 055"), std::string::npos);
    EXPECT_EQ(run("evaluate " + path("missing.cig")).status, 1);
    EXPECT_EQ(run("new " + path("no/such/folder/a.cig")).status, 1);
    EXPECT_EQ(run("build " + path("missing.json") + " " + path("x.cig")).status, 1);
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    EXPECT_EQ(run("evaluate " + path("a.cig") + " --models " + path("missing.dat")).status, 1);

    for (const char* args :
         {"", "frobnicate", "evaluate", "evaluate a b", "evaluate a.cig --fast", "evaluate a.cig --models"})
        EXPECT_EQ(run(args).status, 2) << args;
    r = run("evaluate --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: veltrano-cli evaluate"), std::string::npos);
}

TEST_F(Cli, ImportLegacyAndStartup) {
    const std::string legacy = std::string(VELTRANO_SOURCE_DIR) + "/fuzz/corpus/legacy_file/typical.cig";
    Result r = run("import-legacy " + legacy + " " + path("new.cig") + " --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(path("new.cig")), 13016u);
    write("short.cig", std::string(44575, '\0'));
    r = run("import-legacy " + path("short.cig") + " " + path("x.cig") + " --models " + models);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error 074"), std::string::npos);
    EXPECT_EQ(run("import-legacy " + legacy).status, 2);

    r = run("startup " + path("new.cig") + " " + path("start.dat") + " --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto size = fs::file_size(path("start.dat"));
    EXPECT_GT(size, 3 * 71368u);
    EXPECT_EQ((size - 3 * 71368u) % 68, 0u);
}

TEST_F(Cli, SearchGivesEachOutcome) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    write("online.json", R"({"current": {"tp_perfotype": 4, "tp_onlinevent": 30}})");
    ASSERT_EQ(run("build " + path("online.json") + " " + path("online.cig")).status, 0);
    write("broken.json", R"({"current": {"fi_totpd": "NaN"}})");
    ASSERT_EQ(run("build " + path("broken.json") + " " + path("broken.cig")).status, 0);
    const std::string m = " --models " + models;

    QJsonObject o = json(run("search " + path("a.cig") + " --group tipping --code 1 --target 20" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "result");
    EXPECT_GT(o["tipping"].toDouble(), 0);
    EXPECT_EQ(o["tipping"].toDouble(), std::floor(o["tipping"].toDouble()));  // whole CU
    EXPECT_GE(o["plugWrap"].toDouble(), 3300);
    EXPECT_TRUE(o["hints"].isString());

    o = json(run("search " + path("a.cig") + " --group paper --code 5 --target 15" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "result");
    EXPECT_GT(o["perm"].toDouble(), 50);  // more rod ventilation than the default paper gives
    EXPECT_GT(o["diffusion"].toDouble(), 0);

    o = json(run("search " + path("a.cig") + " --group tipping --code 1 --target 99.5" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "range");
    EXPECT_TRUE(o["message"].toString().startsWith(
        "Error: The desired degree of filter ventilation has to be between 1% and "));

    o = json(run("search " + path("broken.cig") + " --group paper --code 5 --target 10" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "error");
    EXPECT_EQ(o["error"].toInt(), 60);
    EXPECT_EQ(o["message"].toString(), "Error 060: No appropriate cigarette paper permeability was found.");

    o = json(run("search " + path("online.cig") + " --group tipping --code 1 --target 20" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "not offered");

    for (const char* bad : {" --group filter --code 1 --target 20", " --group paper --code 9 --target 20",
                            " --group paper --code 5"})
        EXPECT_EQ(run("search " + path("a.cig") + bad + m).status, 2) << bad;
}

#ifdef VELTRANO_CLI_DRAWS
TEST_F(Cli, PrintWritesAPdfWithoutADisplay) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const Result r = run("print " + path("a.cig") + " " + path("page.pdf") + " --puffs --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = slurp(path("page.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);  // one page
    const Result unwritable =
        run("print " + path("a.cig") + " " + path("no/folder/page.pdf") + " --models " + models);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Error 066"), std::string::npos);
}
#endif

// Without --models the model parameters come from the working folder, else the user's data folder,
// else the installation the program belongs to: it runs from a home folder that holds no data files.
TEST_F(Cli, FindsTheModelsInTheUserFolderOrTheInstallation) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    fs::create_directories(dir / "home");
    const Process fromHome{path("home"), "HOME=" + path("home") + " XDG_DATA_HOME="};

    Result r = run("evaluate " + path("a.cig"), fromHome);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Failed to load model parameters. Paths tried:\n" + path("home/models.dat") + "\n" +
                         path("home/.local/share/veltrano/models.dat") + "\n"),
              std::string::npos)
        << r.err;

    fs::create_directories(dir / "home/.local/share/veltrano");
    fs::copy_file(models, dir / "home/.local/share/veltrano/models.dat");
    r = run("evaluate " + path("a.cig"), fromHome);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(json(r.out)["errors"].toArray().isEmpty());

    // Installed under a prefix: share/veltrano beside bin/ is found from the executable itself.
    fs::create_directories(dir / "prefix/bin");
    fs::create_directories(dir / "prefix/share/veltrano");
    fs::copy_file(VELTRANO_CLI, dir / "prefix/bin/veltrano-cli");
    fs::copy_file(models, dir / "prefix/share/veltrano/models.dat");
    r = run("evaluate " + path("a.cig"),
            {path("home"), "HOME=/nonexistent XDG_DATA_HOME=", path("prefix/bin/veltrano-cli")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(json(r.out)["errors"].toArray().isEmpty());
}

}  // namespace
