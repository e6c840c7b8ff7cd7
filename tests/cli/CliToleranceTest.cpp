// veltrano-cli sensitivity and tolerance, driven as users drive them.
#include <string>
#include <vector>

#include <QJsonArray>

#include "CliFixture.h"

namespace {

using veltrano::testing::Cli;
using veltrano::testing::Result;

// The text of member `name` right after `after` in a JSON text ("" when missing).
std::string numberAfter(const std::string& text, const std::string& after, const std::string& name) {
    const std::size_t start = text.find(after);
    if (start == std::string::npos) return {};
    const std::size_t key = text.find("\"" + name + "\":", start);
    if (key == std::string::npos) return {};
    const std::size_t at = key + name.size() + 3;
    return text.substr(at, text.find_first_of(",}", at) - at);
}

class CliTolerance : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        ASSERT_EQ(run("new " + path("a.cig")).status, 0);
        tolerance = "tolerance " + path("a.cig") + " --models " + models;
    }
    std::string tolerance;
    const std::string spreads =
        " --vary tp_perfoperm=12% --vary cp_perm=u10% --vary fi_totpd=4 --vary ro_totmass=2.5%"
        " '--limit=iso_nfdpm<=10' '--limit=iso_nico<=1' '--limit=iso_co<=10' '--limit=stat_pdo>=95'";
};

TEST_F(CliTolerance, AZeroSpreadGivesEveryStatisticThatEvaluatePrintsToTheLastDigit) {
    const Result r = run(tolerance + " --vary cp_perm=0% --vary fi_totpd=0 --vary ro_totmass=u0 --samples 7");
    ASSERT_EQ(r.status, 0) << r.err;
    const Result evaluated = run("evaluate " + path("a.cig") + " --models " + models);
    ASSERT_EQ(evaluated.status, 0);
    for (const char* output :
         {"stat_pdo", "stat_pdc", "stat_fivent", "stat_rovent", "stat_mbr", "iso_puff", "alt_puff",
          "iso_nfdpm", "iso_nico", "iso_co", "alt_nfdpm", "alt_nico", "alt_co"}) {
        const std::string expected = numberAfter(evaluated.out, "\"current\":{", output);
        ASSERT_FALSE(expected.empty()) << output;
        for (const char* statistic : {"mean", "p5", "p50", "p95", "min", "max"})
            EXPECT_EQ(numberAfter(r.out, "\"" + std::string(output) + "\":{", statistic), expected)
                << output << " " << statistic;
        EXPECT_EQ(numberAfter(r.out, "\"" + std::string(output) + "\":{", "sd"), "0") << output;
    }
    const QJsonObject o = json(r.out);
    EXPECT_EQ(o["samples"].toInt(), 7);
    EXPECT_EQ(o["refused"].toInt(), 0);
    // Nothing varies: no share of a variance.
    EXPECT_TRUE(o["shares"].toObject()["iso_co"].toObject()["cp_perm"].isNull());
}

TEST_F(CliTolerance, TheSameSeedGivesTheSameJsonWhateverTheThreadsAndTheShards) {
    const std::string common = tolerance + spreads + " --samples 36 --seed 99";
    const Result whole = run(common);
    ASSERT_EQ(whole.status, 0) << whole.err;
    const QJsonObject o = json(whole.out);
    EXPECT_EQ(o["samples"].toInt(), 36);
    ASSERT_EQ(o["limits"].toArray().size(), 4);
    EXPECT_EQ(o["limits"].toArray()[3].toObject()["limit"].toString(), "stat_pdo>=95");
    const Result oneThread = run("-c 0 " + std::string(VELTRANO_CLI) + " " + common, {".", "", "taskset"});
    ASSERT_EQ(oneThread.status, 0) << oneThread.err;
    EXPECT_EQ(oneThread.out, whole.out);

    for (int count : {2, 5}) {
        std::string files;
        for (int shard = count - 1; shard >= 0; --shard) {
            const std::string file = path("s" + std::to_string(count) + "-" + std::to_string(shard) + ".csv");
            const Result r = run(common + " --shard " + std::to_string(shard) + "/" + std::to_string(count) +
                                 " --samples-out " + file);
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(json(r.out)["samples"].toInt(), (36 - shard + count - 1) / count);
            files += " " + file;
        }
        const Result merged = run("tolerance --merge" + files);
        ASSERT_EQ(merged.status, 0) << merged.err;
        EXPECT_EQ(merged.out, whole.out) << count << " shards";
    }
    // Another seed draws other samples.
    EXPECT_NE(run(tolerance + spreads + " --samples 36 --seed 100").out, whole.out);
}

TEST_F(CliTolerance, TheSamplesFileNamesTheRunAndHoldsEverySampleWithItsStatus) {
    const std::string file = path("samples.csv");
    const Result r = run(tolerance +
                         " --vary cp_perm=100 --samples 30 --seed 5 '--limit=iso_co<=12' --outputs iso_co "
                         "--samples-out " +
                         file);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = slurp(file);
    for (const char* line :
         {"# seed=5\r\n", "# samples=30\r\n", "# shard=0/1\r\n", "# vary=cp_perm=100\r\n",
          "# limit=iso_co<=12\r\n", "index,cp_perm [CU],status,iso_co [mg/cig],errors\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    // A spread of 100 CU about 50 CU leaves the paper page's 0 to 220: those samples are refused, counted
    // and written with the page's error, and left out of the limit's denominator.
    const QJsonObject o = json(r.out);
    const int refused = o["refused"].toInt();
    EXPECT_GT(refused, 0);
    EXPECT_EQ(o["limits"].toArray()[0].toObject()["of"].toInt(), 30 - refused);
    EXPECT_EQ(o["refusals"].toArray()[0].toObject()["samples"].toInt(), refused);
    // After the header, a row per sample: index, the drawn value, the status, iso_co and the errors.
    std::size_t rows = 0, refusedRows = 0;
    for (std::size_t at = text.find("errors\r\n") + 8; at < text.size(); at = text.find("\r\n", at) + 2) {
        const std::string row = text.substr(at, text.find("\r\n", at) - at);
        EXPECT_EQ(row.rfind(std::to_string(rows) + ",", 0), 0u) << row;
        refusedRows += row.find(",refused,,12") != std::string::npos;
        ++rows;
    }
    EXPECT_EQ(rows, 30u);
    EXPECT_EQ(refusedRows, static_cast<std::size_t>(refused));
}

TEST_F(CliTolerance, PaperPermeabilityHoldsAKnownDiffusionOrTakesItsCouplingAndShardsKeepWhichOne) {
    const std::string common = tolerance + " --vary cp_perm=10% --samples 8 --outputs iso_co";
    const Result held = run(common);
    ASSERT_EQ(held.status, 0) << held.err;
    EXPECT_EQ(json(held.out)["held"].toArray(), QJsonArray{"cp_diff"});
    EXPECT_NE(held.err.find("cp_diff"), std::string::npos) << held.err;
    const Result coupled = run(common + " --couple-diffusion");
    ASSERT_EQ(coupled.status, 0) << coupled.err;
    EXPECT_FALSE(json(coupled.out).contains("held"));
    EXPECT_NE(json(coupled.out)["outputs"].toObject()["iso_co"].toObject()["mean"],
              json(held.out)["outputs"].toObject()["iso_co"].toObject()["mean"]);
    // Shards of either run merge into that run, whose header says which it was.
    for (const auto& [extra, whole] :
         {std::pair{std::string(), held.out}, {std::string(" --couple-diffusion"), coupled.out}}) {
        std::string files;
        for (int shard = 0; shard < 2; ++shard) {
            const std::string file = path("c" + std::to_string(shard) + ".csv");
            ASSERT_EQ(
                run(common + extra + " --shard " + std::to_string(shard) + "/2 --samples-out " + file).status,
                0);
            files += " " + file;
        }
        EXPECT_EQ(run("tolerance --merge" + files).out, whole) << extra;
    }
    const Result both = run(common + " --vary cp_diff=5% --couple-diffusion");
    EXPECT_EQ(both.status, 2);
    EXPECT_TRUE(both.out.empty());
}

TEST_F(CliTolerance, AMergeOfShardsThatDoNotMakeOneRunIsRefused) {
    const std::string common = tolerance + " --vary cp_perm=5% --samples 10 --outputs iso_co";
    const auto shard = [&](const std::string& name, const std::string& which, const std::string& extra = "") {
        EXPECT_EQ(run(common + extra + " --shard " + which + " --samples-out " + path(name)).status, 0)
            << name;
        return path(name);
    };
    const std::string a = shard("a.csv", "0/3"), b = shard("b.csv", "1/3"), c = shard("c.csv", "2/3");
    const std::string otherSeed = shard("d.csv", "2/3", " --seed 2"), twoShards = shard("e.csv", "1/2");
    std::string text = slurp(c);
    write("cut.csv", text.substr(0, text.rfind("\r\n", text.size() - 3) + 2));  // its last row lost
    write("junk.csv", "not samples\r\n");
    const std::vector<std::pair<std::string, int>> cases{
        {a + " " + b, 2},                      // shard 2 missing
        {a + " " + b + " " + b + " " + c, 2},  // shard 1 twice
        {a + " " + b + " " + otherSeed, 2},    // another run
        {a + " " + twoShards + " " + c, 2},    // another split
        {a + " " + b + " " + path("cut.csv"), 2},
        {a + " " + path("junk.csv"), 2},
        {a + " " + b + " " + path("missing.csv"), 1},
        {"", 2},
    };
    for (const auto& [files, status] : cases) {
        const Result r = run("tolerance --merge " + files);
        EXPECT_EQ(r.status, status) << files;
        EXPECT_TRUE(r.out.empty()) << files;
        EXPECT_EQ(r.err.rfind("veltrano-cli tolerance: ", 0), 0u) << files << ": " << r.err;
    }
    EXPECT_EQ(run("tolerance --merge " + c + " " + a + " " + b).status, 0);
}

TEST_F(CliTolerance, BadCommandLinesEndWithStatus2AndNothingOnStdout) {
    const std::string sensitivity = "sensitivity " + path("a.cig") + " --models " + models;
    const std::string t = tolerance + " --samples 5";
    for (const std::string& arguments :
         {t + " --vary cp_perm",
          t + " --vary cp_perm=-1%",
          t + " --vary cp_perm=five",
          t + " --vary nonsense=5%",
          t + " --vary cp_perm=5% --vary cp_perm=1",
          t + " --vary tp_onlinevent=1",
          t,
          tolerance + " --vary cp_perm=5%",
          tolerance + " --vary cp_perm=5% --samples 0",
          tolerance + " --vary cp_perm=5% --samples 10000001",
          tolerance + " --vary cp_perm=5% --samples x",
          t + " --vary cp_perm=5% --seed -1",
          t + " --vary cp_perm=5% --seed 1.5",
          t + " --vary cp_perm=5% '--limit=iso_co<10'",
          t + " --vary cp_perm=5% '--limit=nothing<=1'",
          t + " --vary cp_perm=5% --shard 2/2",
          t + " --vary cp_perm=5% --outputs nonsense",
          t + " --vary cp_perm=5% --merge",
          "tolerance " + path("a.cig") + " " + path("a.cig") + " --vary cp_perm=5% --samples 5",
          sensitivity + " --step 0",
          sensitivity + " --step 60",
          sensitivity + " --step nan",
          sensitivity + " --fields nonsense",
          sensitivity + " --fields tp_onlinevent",
          sensitivity + " --format xml",
          sensitivity + " --outputs nothing"}) {
        const Result r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.err.rfind("veltrano-cli ", 0), 0u) << arguments << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << arguments;
    }
    for (const char* command : {"tolerance --help", "sensitivity --help"}) {
        const Result help = run(command);
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("usage: veltrano-cli"), std::string::npos) << command;
    }
}

TEST_F(CliTolerance, SensitivityGivesARowPerFieldInJsonAndCsv) {
    const std::string sensitivity = "sensitivity " + path("a.cig") + " --models " + models;
    const Result r = run(sensitivity +
                         " --fields tp_perfoperm,alt_blocking,fi_totpd --outputs iso_nfdpm,stat_pdo "
                         "--step 2 --format json");
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = json(r.out);
    EXPECT_EQ(o["step"].toDouble(), 2);
    const QJsonArray rows = o["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()["field"].toString(), "tp_perfoperm");
    EXPECT_EQ(rows[0].toObject()["value"].toDouble(), 120);
    EXPECT_LT(rows[0].toObject()["iso_nfdpm"].toDouble(), 0);  // more perforation, less 'tar'
    EXPECT_TRUE(rows[1].toObject()["iso_nfdpm"].isNull());     // nothing blocked today: no relative change
    EXPECT_GT(rows[2].toObject()["stat_pdo"].toDouble(), 0);
    const Result csv = run(sensitivity + " --outputs iso_co");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")), "field,unit,value,iso_co,status,errors,messages");
}

}  // namespace
