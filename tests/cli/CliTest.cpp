#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "CliFixture.h"
#include "core/sheet/RegimePageRules.h"

namespace {

using veltrano::testing::Cli;
using veltrano::testing::Process;
using veltrano::testing::Result;
namespace fs = std::filesystem;

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
        // What Open would refuse, refused before anything is written.
        {R"({"reference": {"magic": ""}})", "'reference': field 'magic'"},
        {R"({"current": {"magic": "QMY"}})", "'current': field 'magic'"},
        // A key given twice: the parser would keep one of the values without a word.
        {R"({"current": {"fi_len": 20, "fi_len": 30}})", "'fi_len' in 'current'"},
        {R"({"current": {}, "current": {}})", "'current'"},
        {R"({"current": {"altProfileFile": 5}})", "altProfileFile"},
    };
    for (const auto& c : cases) {
        write("bad.json", c.json);
        const Result r = run("build " + path("bad.json") + " " + path("x.cig"));
        EXPECT_EQ(r.status, 2) << c.json;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(path("x.cig")));
    }
}

TEST_F(Cli, BuildSaysWhatIsWrongWithTheText) {
    write("array.json", "[1, 2]");
    Result r = run("build " + path("array.json") + " " + path("x.cig"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("holds a JSON array; a JSON object is expected"), std::string::npos) << r.err;
    write("cut.json", R"({"current": {"fi_len": )");
    r = run("build " + path("cut.json") + " " + path("x.cig"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("is not valid JSON: "), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("no error occurred"), std::string::npos) << r.err;
}

// The information dialog takes 510 bytes; a file built with more would hold what the program cannot.
TEST_F(Cli, BuildTakesTheInformationTextUpToTheProgramsLimit) {
    for (const std::size_t length : {std::size_t{510}, std::size_t{511}}) {
        write("info.json", R"({"informationText": ")" + std::string(length, 'i') + R"("})");
        const std::string built = path("info" + std::to_string(length) + ".cig");
        const Result r = run("build " + path("info.json") + " " + built);
        EXPECT_EQ(r.status, length == 510 ? 0 : 2) << length;
        EXPECT_EQ(fs::exists(built), length == 510) << length;
        if (length == 511) {
            EXPECT_NE(r.err.find("longer than 510 bytes"), std::string::npos) << r.err;
        }
    }
}

// A design may name a measured puff shape: build reads it as the regime page's "Load from file" does.
TEST_F(Cli, BuildLoadsAPuffShapeFileAsTheRegimePageDoes) {
    write("shape.txt", "Relative flow\r\n0,0\r\n0,5\r\n1,0\r\n0,25\r\n");
    write("shaped.json",
          R"({"current": {"alt_profpnts": 2, "altProfileFile": ")" + path("shape.txt") + R"("}})");
    ASSERT_EQ(run("build " + path("shaped.json") + " " + path("shaped.cig")).status, 0);
    const Result r = run("evaluate " + path("shaped.cig") + " --models " + models);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject current = json(r.out)["current"].toObject();

    veltrano::DesignValues loaded;
    veltrano::RegimePageState page;
    veltrano::RegimePageRules::loadPage(page, loaded);
    veltrano::RecordingErrorReporter errors;
    ASSERT_TRUE(veltrano::RegimePageRules::loadShapeFile(page, path("shape.txt"), errors));
    veltrano::RegimePageRules::storePage(page, loaded);
    EXPECT_EQ(current["alt_profpnts"].toInt(), loaded.alt_profpnts);
    const QJsonArray profile = current["alt_profile"].toArray();
    ASSERT_EQ(profile.size(), veltrano::kShapeSlots);
    for (int i = 0; i < veltrano::kShapeSlots; ++i)
        EXPECT_EQ(profile[i].toDouble(), loaded.alt_profile[static_cast<std::size_t>(i)]) << i;

    // What the page refuses, build refuses with the page's message, at once, and writes nothing.
    write("one.txt", "5\n");
    const struct {
        std::string path;
        const char* error;
    } refused[] = {
        {"/dev/zero", "Error 050"}, {path("missing.txt"), "Error 050"}, {path("one.txt"), "Error 051"}};
    for (const auto& c : refused) {
        write("bad.json", R"({"reference": {"altProfileFile": ")" + c.path + R"("}})");
        const Result bad = run("build " + path("bad.json") + " " + path("bad.cig"));
        EXPECT_EQ(bad.status, 1) << c.path;
        EXPECT_NE(bad.err.find(c.error), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(path("bad.cig"))) << c.path;
    }
}

// models.dat of all 0xFF bytes holds 162 NaNs: evaluate still runs, and says so.
TEST_F(Cli, EvaluateWarnsOfCoefficientsThatAreNotNumbers) {
    write("broken.dat", std::string(2592, '\xFF'));
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const Result r = run("evaluate " + path("a.cig") + " --models " + path("broken.dat"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("162 of the 162 coefficients in the model parameter file \"" + path("broken.dat") +
                         "\" are not finite numbers"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(run("evaluate " + path("a.cig") + " --models " + models).err, "");
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
    EXPECT_EQ(o["tippingText"].toString(), QString::number(o["tipping"].toDouble(), 'f', 0));
    EXPECT_EQ(o["accepted"].toObject()["tp_perfoperm"].toDouble(), o["tipping"].toDouble());
    EXPECT_EQ(o["accepted"].toObject()["pw_perm"].toDouble(), o["plugWrapText"].toString().toDouble());

    o = json(run("search " + path("a.cig") + " --group paper --code 5 --target 15" + m).out);
    EXPECT_EQ(o["outcome"].toString(), "result");
    EXPECT_GT(o["perm"].toDouble(), 50);  // more rod ventilation than the default paper gives
    EXPECT_GT(o["diffusion"].toDouble(), 0);
    // The search's own result at full precision, beside the dialog's text; Accept takes the text.
    const double perm = o["perm"].toDouble();
    EXPECT_NE(perm, std::round(perm));
    EXPECT_EQ(o["permText"].toString(), QString::number(perm, 'f', 0));
    EXPECT_EQ(o["diffusionText"].toString(), QString::number(o["diffusion"].toDouble(), 'f', 3));
    const QJsonObject accepted = o["accepted"].toObject();
    EXPECT_EQ(accepted["cp_perm"].toDouble(), std::round(perm));
    EXPECT_GT(accepted["cp_diff"].toDouble(), 0);

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

// The rows of a CSV file the tool wrote: cells split at commas (its names and numbers hold none).
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line not ended by CR LF";
        if (end == std::string::npos) break;
        std::vector<std::string>& row = rows.emplace_back();
        std::stringstream line(text.substr(start, end - start));
        for (std::string cell; std::getline(line, cell, ',');) row.push_back(cell);
        start = end + 2;
    }
    return rows;
}

double csvNumber(const std::string& cell) {
    std::size_t used = 0;
    const double value = std::stod(cell, &used);
    EXPECT_EQ(used, cell.size()) << cell;
    return value;
}

TEST_F(Cli, ExportedCsvNumbersAreEvaluatesNumbers) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string m = " --models " + models;
    const Result evaluate = run("evaluate " + path("a.cig") + " --puffs" + m);
    ASSERT_EQ(evaluate.status, 0) << evaluate.err;
    const QJsonObject designs = json(evaluate.out);

    // Summary: a row per design, a column per record value.
    Result r = run("export " + path("a.cig") + " " + path("summary.csv") + " --what summary" + m);
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = csvRows(slurp(path("summary.csv")));
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string>& header = rows[0];
    EXPECT_EQ(header[0], "design");
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const QJsonObject design = designs[QString::fromStdString(rows[row][0])].toObject();
        ASSERT_FALSE(design.isEmpty()) << rows[row][0];
        for (std::size_t c = 1; c < header.size(); ++c) {
            const QString name = QString::fromStdString(header[c].substr(0, header[c].find(" [")));
            ASSERT_TRUE(design.contains(name)) << header[c];
            EXPECT_EQ(csvNumber(rows[row][c]), design[name].toDouble()) << rows[row][0] << " " << header[c];
        }
    }

    // Per puff and per profile point: the arrays of the current design, entry by entry.
    const QJsonObject current = designs["current"].toObject();
    for (const char* what : {"puffs", "profiles"}) {
        r = run("export " + path("a.cig") + " " + path("t.csv") + " --what " + what + " --puffs" + m);
        ASSERT_EQ(r.status, 0) << r.err;
        rows = csvRows(slurp(path("t.csv")));
        ASSERT_GT(rows.size(), 1u) << what;
        for (std::size_t c = 0; c < rows[0].size(); ++c) {
            const QString name = QString::fromStdString(rows[0][c].substr(0, rows[0][c].find(" [")));
            if (!current.contains(name)) continue;  // the puff number and the position are computed
            const QJsonArray values = current[name].toArray();
            ASSERT_EQ(values.size() + 1, qsizetype(rows.size())) << rows[0][c];
            for (std::size_t row = 1; row < rows.size(); ++row)
                ASSERT_EQ(csvNumber(rows[row][c]), values[qsizetype(row - 1)].toDouble())
                    << rows[0][c] << row;
        }
    }

    EXPECT_EQ(run("export " + path("a.cig") + " " + path("t.csv") + " --what everything" + m).status, 2);
    r = run("export " + path("a.cig") + " " + path("no/folder/t.csv") + " --what curves" + m);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error 053"), std::string::npos);
}

#ifdef VELTRANO_CLI_DRAWS
TEST_F(Cli, RenderDrawsEachViewAsTheWindowDoes) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string m = " --models " + models;
    Result r = run("render " + path("a.cig") + " --view summary " + path("s.png") + " --scale 2" + m);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = slurp(path("s.png"));
    ASSERT_GT(png.size(), 24u);
    // The PNG header: width and height, big-endian, at bytes 16 and 20.
    const auto be32 = [&](std::size_t at) {
        return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 |
               (unsigned char)png[at + 2] << 8 | (unsigned char)png[at + 3];
    };
    EXPECT_EQ(be32(16), 2048u);
    EXPECT_EQ(be32(20), 1536u);

    r = run("render " + path("a.cig") + " --view stationary " + path("v.svg") + m);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = slurp(path("v.svg"));
    for (const char* text : {">Open draw resistance<", ">flow rate ventilated<", ">116.0<", ">mm H2O<"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;

    r = run("render " + path("a.cig") + " --view puffs " + path("p.pdf") + m);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(slurp(path("p.pdf")).find("/Count 1"), std::string::npos);

    for (const char* bad :
         {" --view charts v.png", " --view summary v.jpg", " --view summary v.png --scale 0",
          " --view summary v.png --scale x2", " --view summary v.png --scale nan"})
        EXPECT_EQ(run("render " + path("a.cig") + bad + m).status, 2) << bad;
}
#endif

}  // namespace
