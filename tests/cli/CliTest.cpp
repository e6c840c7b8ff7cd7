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

// A value no design sheet stores is refused, naming the key, unless --unchecked asks for an odd file;
// the results (what evaluate computes, the reference's measurements) are taken as they come.
TEST_F(Cli, BuildRefusesWhatCannotBeADesign) {
    const struct {
        const char* json;
        const char* says;  // empty: built
    } cases[] = {
        {R"({"current": {"cp_perm": "NaN"}})", "'current': field 'cp_perm' must be a finite number"},
        {R"({"current": {"cp_perm": "Infinity"}})", "'current': field 'cp_perm' must be a finite number"},
        {R"({"current": {"cp_perm": -50}})", "'current': field 'cp_perm' cannot be negative"},
        {R"({"reference": {"alt_duration": -0.5}})", "'reference': field 'alt_duration' cannot be negative"},
        {R"({"workingReference": {"fi_len": "-Infinity"}})",
         "'workingReference': field 'fi_len' must be a finite number"},
        {R"({"current": {"alt_profile": [1, "NaN"]}})",
         "'current': field 'alt_profile' must be a finite number"},
        {R"({"current": {"tp_exponent": -0.5}})", ""},  // a value of either sign, left to the sheet
        {R"({"current": {"stat_pdo": "NaN", "ro_pd": -1}})", ""},
        {R"({"reference": {"iso_co": "Infinity"}})", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        write("in.json", c.json);
        for (const bool unchecked : {false, true}) {
            const std::string out = path(unchecked ? "unchecked.cig" : "checked.cig");
            fs::remove(out);
            const Result r = run("build " + path("in.json") + " " + out + " --models " + models +
                                 (unchecked ? " --unchecked" : ""));
            const bool refused = !unchecked && *c.says != '\0';
            EXPECT_EQ(r.status, refused ? 2 : 0) << r.err;
            EXPECT_EQ(fs::exists(out), !refused);
            if (refused) {
                EXPECT_EQ(r.err.rfind("veltrano-cli build: " + std::string(c.says), 0), 0u) << r.err;
            }
        }
    }
}

// What the sheet's OK would refuse is written with the sheet's own words as a warning, or refused with
// --strict; the checks need the coefficients, and --strict does not write what it could not check.
TEST_F(Cli, BuildWarnsOfWhatTheSheetRefusesOrWithStrictRefusesIt) {
    write("wide.json", R"({"current": {"cp_perm": 300}})");
    const std::string warning =
        "veltrano-cli build: warning: the sheet of 'current' refuses: Error 012: The cigarette paper "
        "permeability "
        "has to be between 0 CU and 220 CU.\n";
    Result r = run("build " + path("wide.json") + " " + path("wide.cig") + " --models " + models);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, warning);
    EXPECT_TRUE(fs::exists(path("wide.cig")));

    r = run("build " + path("wide.json") + " " + path("strict.cig") + " --strict --models " + models);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "veltrano-cli build: the sheet of 'current' refuses: Error 012: The cigarette paper "
              "permeability has to be between 0 CU and 220 CU.\n");
    EXPECT_FALSE(fs::exists(path("strict.cig")));

    write("fine.json", R"({"current": {"cp_perm": 80}})");
    EXPECT_EQ(run("build " + path("fine.json") + " " + path("fine.cig") + " --strict --models " + models).err,
              "");
    r = run("build " + path("fine.json") + " " + path("unsure.cig") + " --strict --models " +
            path("none.dat"));
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(path("unsure.cig")));
    r = run("build " + path("fine.json") + " " + path("unsure.cig") + " --models " + path("none.dat"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("warning: the design sheets' checks need the model parameters; the designs were not "
                         "checked"),
              std::string::npos)
        << r.err;
}

// Deep nesting is refused while it is read: no recursion over the value, no memory beyond the text's.
TEST_F(Cli, BuildRefusesJsonNestedTooDeep) {
    const std::size_t deep = 150000;
    write("deep.json",
          R"({"current": {"stat_pres_open": )" + std::string(deep, '[') + std::string(deep, ']') + "}}");
    write("open.json", std::string(5000000, '['));
    std::string nested = "1";
    for (int i = 0; i < 63; ++i) nested = "[" + nested + "]";
    write("fine.json", R"({"current": {"stat_pres_open": )" + nested.substr(1, nested.size() - 2) + "}}");
    const struct {
        const char* file;
        int status;
    } cases[] = {{"deep.json", 2}, {"open.json", 2}, {"fine.json", 0}};
    for (const auto& c : cases) {
        // A gigabyte for 5 million brackets would pass this limit; sanitizers need their own room.
        ChildSetup limited;
        if (veltrano::testing::kAddressSpaceLimitsWork) limited.addressSpace = rlim_t{512} << 20;
        const Result r = runChild({"build", path(c.file), path("x.cig"), "--unchecked"}, limited);
        EXPECT_EQ(r.status, c.status) << c.file << ": " << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.err, "veltrano-cli build: " + path(c.file) +
                                 " nests objects and lists deeper than 64 levels\n");
        }
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
    // And the results they give are said not to be numbers, with the file they came from.
    EXPECT_NE(
        r.err.find("veltrano-cli evaluate: warning: results that are not finite numbers: workingReference "
                   "tp_k, stat_fivent, "),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(", alt_co; current tp_k, stat_fivent, "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("; computed with the model coefficients of \"" + path("broken.dat") + "\"\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(run("evaluate " + path("a.cig") + " --models " + models).err, "");

    // A sweep names the outputs its points could not compute (the draw resistance needs no coefficient).
    const Result sweep = run("sweep " + path("a.cig") + " --models " + path("broken.dat") +
                             " --field cp_perm --from 20 --to 40 --steps 2 --outputs stat_pdo,iso_co");
    EXPECT_EQ(sweep.status, 0);
    EXPECT_NE(sweep.err.find("veltrano-cli sweep: warning: results that are not finite numbers: iso_co; "
                             "computed with the model coefficients of \"" +
                             path("broken.dat") + "\"\n"),
              std::string::npos)
        << sweep.err;

    // So do the tolerances' samples.
    const Result tolerance = run("tolerance " + path("a.cig") + " --models " + path("broken.dat") +
                                 " --vary cp_perm=5% --samples 3 --outputs stat_pdo,iso_co");
    EXPECT_EQ(tolerance.status, 0);
    EXPECT_NE(tolerance.err.find("veltrano-cli tolerance: warning: results that are not finite numbers: "
                                 "iso_co; computed with the model coefficients of \"" +
                                 path("broken.dat") + "\"\n"),
              std::string::npos)
        << tolerance.err;
}

// A file made with --unchecked whose inputs are not numbers: evaluate says which, and which results
// they spoil.
TEST_F(Cli, EvaluateWarnsOfInputsAndResultsThatAreNotNumbers) {
    write("nan.json",
          R"({"reference": {"cp_perm": "NaN"}, "current": {"fi_len": "Infinity", "ro_len": 50}})");
    ASSERT_EQ(run("build --unchecked " + path("nan.json") + " " + path("nan.cig")).status, 0);
    const Result r = run("evaluate " + path("nan.cig") + " --models " + models);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(
        r.err.find("veltrano-cli evaluate: warning: inputs that are not finite numbers: reference cp_perm; "
                   "current ci_len, fi_len\n"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("veltrano-cli evaluate: warning: results that are not finite numbers: "),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("computed with the model coefficients of \"" + models + "\""), std::string::npos);
    EXPECT_EQ(json(r.out)["current"].toObject()["stat_pdo"].toString(), "NaN");  // the JSON stays as it was
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
    ASSERT_EQ(run("build --unchecked " + path("broken.json") + " " + path("broken.cig")).status, 0);
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
        std::vector<std::string>& row = rows.emplace_back(1);  // an empty last cell is a cell too
        for (char c : text.substr(start, end - start)) {
            if (c == ',')
                row.emplace_back();
            else
                row.back() += c;
        }
        EXPECT_EQ(row.size(), rows.front().size()) << "a row whose cells are not the header's";
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

    // Summary: a row per design, a column per record value. A cell the data summary leaves empty or shows
    // as not known is empty; the reference's pressure drops are those the view computes.
    Result r = run("export " + path("a.cig") + " " + path("summary.csv") + " --what summary" + m);
    ASSERT_EQ(r.status, 0) << r.err;
    auto rows = csvRows(slurp(path("summary.csv")));
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string>& header = rows[0];
    EXPECT_EQ(header[0], "design");
    const QJsonObject reference = designs["reference"].toObject();
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const QJsonObject design = designs[QString::fromStdString(rows[row][0])].toObject();
        ASSERT_FALSE(design.isEmpty()) << rows[row][0];
        for (std::size_t c = 1; c < header.size(); ++c) {
            const QString name = QString::fromStdString(header[c].substr(0, header[c].find(" [")));
            ASSERT_TRUE(design.contains(name)) << header[c];
            if (rows[row][c].empty()) continue;
            double expected = design[name].toDouble();
            if (rows[row][0] == "reference" && name == "fi_pd")
                expected = designs["workingReference"].toObject()["fi_pd"].toDouble();
            if (rows[row][0] == "reference" && name == "ro_pd")
                expected = reference["ro_totpd"].toDouble() * reference["ro_len"].toDouble() /
                           reference["ro_totlen"].toDouble();
            EXPECT_EQ(csvNumber(rows[row][c]), expected) << rows[row][0] << " " << header[c];
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
    EXPECT_NE(r.err.find("The file \"" + path("no/folder/t.csv") + "\" could not be written"),
              std::string::npos);
}

// The summary as the view shows it, for a reference whose file holds stale and unmeasured values: the
// puff averages and the alternative yields it does not show are empty cells, not 0; the pressure drops
// are the view's, not the file's.
TEST_F(Cli, TheExportedSummarySaysWhatTheViewSays) {
    write("stale.json", R"({"reference": {"fi_pd": 80, "ro_pd": 60, "ro_totlen": 72, "ro_totpd": 66,
                                          "iso_pdo": 0, "alt_nfdpm": 0}})");
    ASSERT_EQ(run("build " + path("stale.json") + " " + path("stale.cig") + " --models " + models).status, 0);
    const std::string m = " --models " + models;
    ASSERT_EQ(run("export " + path("stale.cig") + " " + path("s.csv") + " --what summary" + m).status, 0);
    const auto rows = csvRows(slurp(path("s.csv")));
    ASSERT_EQ(rows.size(), 4u);
    const QJsonObject working =
        json(run("evaluate " + path("stale.cig") + m).out)["workingReference"].toObject();
    const auto cell = [&](const std::string& header) {
        for (std::size_t c = 0; c < rows[0].size(); ++c)
            if (rows[0][c] == header) return rows[1][c];
        ADD_FAILURE() << "no column " << header;
        return std::string("?");
    };
    for (const char* header :
         {"iso_pdo [mm H2O]", "iso_fivent [%]", "iso_rovent [%]", "alt_pdo [mm H2O]", "alt_fivent [%]",
          "alt_rovent [%]", "alt_puff [-]", "alt_nfdpm [mg/cig]", "alt_nico [mg/cig]", "alt_co [mg/cig]"})
        EXPECT_EQ(cell(header), "") << header;
    EXPECT_EQ(csvNumber(cell("fi_pd [mm H2O]")), working["fi_pd"].toDouble());
    EXPECT_NE(working["fi_pd"].toDouble(), 80);
    EXPECT_EQ(csvNumber(cell("ro_pd [mm H2O]")), 66.0 * 60 / 72);  // 55.00 in the view
}

// The per-puff table needs the analysis: asked for, it runs; a reference without the ISO puff number,
// whose puffs no analysis gives, is an error rather than a table of headers.
TEST_F(Cli, ExportingThePuffsRunsTheAnalysisOrSaysWhyThereAreNone) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const std::string m = " --models " + models;
    Result r = run("export " + path("a.cig") + " " + path("p.csv") + " --what puffs" + m);
    ASSERT_EQ(r.status, 0) << r.err;
    const int puffs = json(run("evaluate " + path("a.cig") + " --puffs" + m).out)["current"]
                          .toObject()["puff_number"]
                          .toInt();
    EXPECT_GT(puffs, 0);
    EXPECT_EQ(csvRows(slurp(path("p.csv"))).size(), std::size_t(puffs) + 1);

    write("unknown.json",
          R"({"reference": {"known": 2273312767}, "current": {"known": 2273312767}})");  // bit 23 clear
    ASSERT_EQ(run("build " + path("unknown.json") + " " + path("u.cig") + " --unchecked").status, 0);
    r = run("export " + path("u.cig") + " " + path("u.csv") + " --what puffs --puffs" + m);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("the puff-by-puff analysis gives no puffs"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("u.csv")));
}

#ifdef VELTRANO_CLI_DRAWS
// The toolkit's notes ("QStandardPaths: XDG_RUNTIME_DIR not set, ...") stay out of the tool's stderr.
TEST_F(Cli, TheDrawingCommandsLeaveStderrToTheTool) {
    ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    const Process noRuntimeFolder{".", "XDG_RUNTIME_DIR="};
    for (const std::string& command : {"render " + path("a.cig") + " --view stationary " + path("v.png"),
                                       "render " + path("a.cig") + " --view summary " + path("v.svg"),
                                       "print " + path("a.cig") + " " + path("p.pdf")}) {
        const Result r = run(command + " --models " + models, noRuntimeFolder);
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.err, "") << command;
    }
}

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
