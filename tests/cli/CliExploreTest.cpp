// veltrano-cli sweep and design, driven as users drive them.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <QJsonArray>

#include "CliFixture.h"

namespace {

using veltrano::testing::Cli;
using veltrano::testing::Process;
using veltrano::testing::Result;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out{""};
    for (char c : line) {
        if (c == ',')
            out.emplace_back();
        else if (c != '\r')
            out.back() += c;
    }
    return out;
}

// The text of a number of the current design as 'evaluate' prints it.
std::string currentNumber(const std::string& evaluated, const std::string& name) {
    const std::size_t current = evaluated.find("\"current\":{");
    const std::size_t at = evaluated.find("\"" + name + "\":", current) + name.size() + 3;
    return evaluated.substr(at, evaluated.find_first_of(",}", at) - at);
}

class CliExplore : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        ASSERT_EQ(run("new " + path("a.cig")).status, 0);
    }
    // The file with one value of the current design changed, as 'build' writes it.
    std::string fileWith(const std::string& field, double value) {
        const Result evaluated = run("evaluate " + path("a.cig") + " --models " + models);
        QJsonObject o = json(evaluated.out);
        QJsonObject current = o["current"].toObject();
        current[QString::fromStdString(field)] = value;
        o["current"] = current;
        write("changed.json", QJsonDocument(o).toJson().toStdString());
        EXPECT_EQ(run("build " + path("changed.json") + " " + path("changed.cig")).status, 0);
        return path("changed.cig");
    }
};

TEST_F(CliExplore, EverySweepRowIsWhatEvaluateGivesWithThatValueByteForByte) {
    const Result r =
        run("sweep " + path("a.cig") + " --field fi_totpd --from 400 --to 600 --steps 3 --models " + models +
            " --outputs stat_pdo,iso_nfdpm,alt_co,stat_totvent");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
              "point,fi_totpd [mm H2O],status,stat_pdo [mm H2O],iso_nfdpm [mg/cig],alt_co [mg/cig],"
              "stat_totvent [%],errors,messages\r");
    const std::vector<std::string> last = fields(rows[3]);
    EXPECT_EQ(last[0], "2");
    EXPECT_EQ(last[1], "600");
    EXPECT_EQ(last[2], "ok");
    const Result evaluated = run("evaluate " + fileWith("fi_totpd", 600) + " --models " + models);
    EXPECT_EQ(last[3], currentNumber(evaluated.out, "stat_pdo"));
    EXPECT_EQ(last[4], currentNumber(evaluated.out, "iso_nfdpm"));
    EXPECT_EQ(last[5], currentNumber(evaluated.out, "alt_co"));
}

TEST_F(CliExplore, ShardsConcatenateToTheWholeTable) {
    const std::string common = "sweep " + path("a.cig") + " --models " + models +
                               " --field cp_perm --from 20 --to 240 --steps 3 --field2 ro_totpd --from2 50 "
                               "--to2 70 --steps2 2 --outputs stat_pdo";
    const std::vector<std::string> whole = lines(run(common).out);
    ASSERT_EQ(whole.size(), 7u);
    std::vector<std::string> joined;
    for (int shard = 0; shard < 3; ++shard) {
        const Result r = run(common + " --shard " + std::to_string(shard) + "/3");
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& row : lines(r.out)) joined.push_back(row);
    }
    ASSERT_EQ(joined.size(), whole.size());  // one header, from shard 0
    std::sort(joined.begin() + 1, joined.end(), [](const std::string& a, const std::string& b) {
        return std::stoi(fields(a)[0]) < std::stoi(fields(b)[0]);
    });
    EXPECT_EQ(joined, whole);
    EXPECT_NE(whole[5].find(",refused,,12,Error 012:"), std::string::npos);  // 240 CU, the sweep goes on
}

// A sweep none of whose points the sheet accepts has nothing to hand on: its table of refusals is
// written, and it fails. A shard left without points has not failed.
TEST_F(CliExplore, ASweepWhoseEveryPointIsRefusedFails) {
    const std::string sweep =
        "sweep " + path("a.cig") + " --models " + models + " --outputs stat_pdo --couple-diffusion";
    const struct {
        std::string arguments;
        int status;
        std::size_t lines;
        const char* err;
    } cases[] = {
        {sweep + " --field cp_perm --from 300 --to 400 --steps 2", 1, 3,
         "veltrano-cli sweep: the sheet's checks refused every point; no outputs\n"},
        {sweep + " --field cp_perm --from 300 --to 400 --steps 2 --format jsonl", 1, 2,
         "veltrano-cli sweep: the sheet's checks refused every point; no outputs\n"},
        {sweep + " --field cp_perm --from 200 --to 240 --steps 3", 0, 4, ""},
        {sweep + " --field cp_perm --from 20 --to 40 --steps 2 --shard 2/3", 0, 0, ""},
    };
    for (const auto& c : cases) {
        const Result r = run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(lines(r.out).size(), c.lines) << c.arguments;
        EXPECT_EQ(r.err, c.err) << c.arguments;
    }
}

TEST_F(CliExplore, JsonLinesNameValuesAsEvaluateDoes) {
    const Result r = run("sweep " + path("a.cig") + " --models " + models +
                         " --field alt_volume --from 35 --to 55 --steps 2 --format jsonl --puffs");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = lines(r.out);
    ASSERT_EQ(rows.size(), 2u);
    const QJsonObject row = json(rows[1]);
    EXPECT_EQ(row["point"].toInt(), 1);
    EXPECT_EQ(row["alt_volume"].toDouble(), 55);
    EXPECT_EQ(row["status"].toString(), "ok");
    EXPECT_EQ(row["stat_totvent"].toDouble(), row["stat_fivent"].toDouble() + row["stat_rovent"].toDouble());
    EXPECT_GT(row["puff_number"].toInt(), 0);
    EXPECT_EQ(row["puff_co"].toArray().size(), row["puff_number"].toInt());
    EXPECT_TRUE(row["errors"].toArray().isEmpty());
}

TEST_F(CliExplore, BadCommandLinesEndWithStatus2) {
    const std::string sweep = "sweep " + path("a.cig") + " --models " + models;
    for (const std::string& arguments :
         {sweep + " --field cp_perm --from 0 --to 1 --steps 1",
          sweep + " --field cp_perm --from 0 --to 1 --steps 202",
          sweep + " --field tp_perfotrack --from 1 --to 2 --steps 3",
          sweep + " --field cp_perm --from nan --to 1 --steps 3",
          sweep + " --field cp_perm --from 0 --to 1x --steps 3",
          sweep + " --field cp_perm --from 0 --to 1 --steps 3 --shard 3/3",
          sweep + " --field cp_perm --from 0 --to 1 --steps 3 --outputs stat_pdo,nonsense",
          sweep + " --field cp_perm --from 0 --to 1 --steps 3 --format xml",
          sweep + " --field cp_perm --from 0 --to 1 --steps 52 --field2 fi_totpd --from2 400 --to2 500 "
                  "--steps2 2",
          "design " + path("a.cig") + " --models " + models + " --vary cp_perm --target alt_co=-10",
          "design " + path("a.cig") + " --models " + models + " --vary cp_perm:10 --target iso_co=10",
          "design " + path("a.cig") + " --models " + models + " --target iso_co=10"}) {
        const Result r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_FALSE(r.err.empty()) << arguments;
        EXPECT_TRUE(r.out.empty()) << arguments;
    }
}

#ifdef VELTRANO_HAVE_NLOPT
TEST_F(CliExplore, DesignReachesATargetAndWritesTheAcceptedDesign) {
    // The ISO CO of an 80 CU paper, as a sweep row gives it.
    const Result point = run("sweep " + path("a.cig") + " --models " + models +
                             " --field cp_perm --from 80 --to 80 --steps 2 --outputs iso_co");
    const std::string co = fields(lines(point.out)[1])[3];
    const Result r = run("design " + path("a.cig") + " --models " + models +
                         " --vary cp_perm:0:220 --target iso_co=" + co + ":2 --out " + path("designed.cig"));
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject o = json(r.out);
    EXPECT_TRUE(o["found"].toBool());
    EXPECT_TRUE(o["met"].toBool());
    const double perm = o["variables"].toObject()["cp_perm"].toDouble();
    const QJsonObject target = o["targets"].toArray()[0].toObject();
    EXPECT_EQ(target["name"].toString(), "iso_co");
    EXPECT_EQ(target["weight"].toDouble(), 2);
    EXPECT_TRUE(target["met"].toBool());

    const QJsonObject current =
        json(run("evaluate " + path("designed.cig") + " --models " + models).out)["current"].toObject();
    EXPECT_EQ(current["cp_perm"].toDouble(), perm);
    EXPECT_EQ(current["iso_co"].toDouble(), target["reached"].toDouble());
}

TEST_F(CliExplore, DesignSaysWhatIsWrongWithAQuestionAndEndsWithStatus2) {
    const std::string design = "design " + path("a.cig") + " --models " + models;
    struct Case {
        std::string arguments;
        const char* named;  // in the message
    };
    const std::vector<Case> cases{
        {" --vary cp_perm --target iso_co=10 --target iso_co=11", "iso_co is named twice"},
        {" --vary cp_perm --target iso_co=10 --target 'iso_co<=11'", "iso_co is named twice"},
        {" --vary cp_perm --target iso_co=-1", "cannot be negative"},
        {" --vary cp_perm --target iso_co=0", "cannot be 0"},
        {" --vary cp_perm --target 'iso_co<10'", "expected NAME=VALUE"},
        {" --vary cp_perm:300:400 --target iso_co=10", "leave nothing the sheet accepts"},
        {" --vary cp_perm --vary cp_perm --target iso_co=10", "cp_perm is given twice"},
        {" --vary cp_diff --couple-diffusion --target iso_co=10", "cp_diff cannot be varied"},
    };
    for (const Case& c : cases) {
        const Result r = run(design + c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << c.arguments << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
    }
    const Result sweep = run("sweep " + path("a.cig") + " --models " + models +
                             " --field cp_diff --from 1 --to 2 --steps 2 --couple-diffusion");
    EXPECT_EQ(sweep.status, 2);
    EXPECT_NE(sweep.err.find("cp_diff cannot be varied"), std::string::npos) << sweep.err;
}

TEST_F(CliExplore, DesignStatusSaysWhetherTheAnswerMeetsItsTargets) {
    // Met: 0. A compromise: 3, printed and written. Nothing the sheet accepts: 1, nothing written.
    const std::string design = " --models " + models + " --vary cp_perm";
    Result r =
        run("design " + path("a.cig") + design + " --target stat_fivent=60 --out " + path("compromise.cig"));
    EXPECT_EQ(r.status, 3) << r.err;
    QJsonObject o = json(r.out);
    EXPECT_TRUE(o["found"].toBool());
    EXPECT_FALSE(o["met"].toBool());
    EXPECT_NE(r.err.find("compromise"), std::string::npos) << r.err;
    const QJsonObject written =
        json(run("evaluate " + path("compromise.cig") + " --models " + models).out)["current"].toObject();
    EXPECT_EQ(written["cp_perm"].toDouble(), o["variables"].toObject()["cp_perm"].toDouble());

    // A diameter of 20 mm: the filter page refuses every variant.
    const std::string refused = fileWith("fi_diam", 20);
    r = run("design " + refused + design + " --target iso_co=10 --out " + path("none.cig"));
    EXPECT_EQ(r.status, 1);
    o = json(r.out);
    EXPECT_FALSE(o["found"].toBool());
    EXPECT_FALSE(std::filesystem::exists(path("none.cig")));
    EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
}

// The shipped start-up designs and coefficients, as a new user tries design and sweep on them.
class CliStartupDesigns : public Cli {
protected:
    std::string su, shipped = std::string(VELTRANO_SOURCE_DIR) + "/data/models.dat";
    void SetUp() override {
        Cli::SetUp();
        su = path("su.cig");
        ASSERT_EQ(
            run("build " + std::string(VELTRANO_SOURCE_DIR) + "/data/startup-designs.json " + su).status, 0);
    }
    Result design(const std::string& arguments, const Process& process = {}) const {
        return run("design " + su + " --models " + shipped + " " + arguments, process);
    }
    Result sweep(const std::string& arguments) const {
        return run("sweep " + su + " --models " + shipped + " " + arguments);
    }
};

QJsonObject target(const QJsonObject& answer, int i) {
    return answer["targets"].toArray()[i].toObject();
}

TEST_F(CliStartupDesigns, DesignAnswersAreTheBestPointsTheSmallestChangesAndSayWhatHoldsThem) {
    struct Case {
        const char* what;
        const char* arguments;
        int status;
        std::function<void(const QJsonObject&)> check;
    };
    const std::vector<Case> cases{
        {"on to the best point, not the first inside the 1 % band",
         "--vary tp_perfoperm --target iso_nfdpm=8", 0,
         [](const QJsonObject& o) {
             EXPECT_LE(std::fabs(target(o, 0)["reached"].toDouble() - 8), 8e-4);  // 0.01 %
             EXPECT_TRUE(o["atBound"].toObject()["tp_perfoperm"].isNull());
             EXPECT_FALSE(o.contains("clipped"));
         }},
        {"bounds wider than the sheet accepts are clipped", "--vary tp_perfoperm:0:1e9 --target iso_nfdpm=8",
         0,
         [](const QJsonObject& o) {
             EXPECT_TRUE(o["met"].toBool());
             const QJsonArray clipped = o["clipped"].toObject()["tp_perfoperm"].toArray();
             ASSERT_EQ(clipped.size(), 2);
             EXPECT_EQ(clipped[0].toDouble(), 0);
             EXPECT_EQ(clipped[1].toDouble(), 8000);
         }},
        {"within narrow bounds, beyond the first evaluation",
         "--vary tp_perfoperm:40:60 --target stat_pdo=113.28", 0,
         [](const QJsonObject& o) {
             EXPECT_GT(o["evaluations"].toInt(), 1);
             EXPECT_LT(std::fabs(target(o, 0)["deviation"].toDouble()), 1e-3);
         }},
        {"a tolerance of 0.01 % ends", "--vary tp_perfoperm --target stat_pdo=100 --tolerance 0.01", 0,
         [](const QJsonObject& o) { EXPECT_TRUE(o["met"].toBool()); }},
        {"the perforation alone gives the 'tar': the paper stays",
         "--vary tp_perfoperm --vary cp_perm --target iso_nfdpm=8", 0,
         [](const QJsonObject& o) {
             EXPECT_NEAR(o["variables"].toObject()["cp_perm"].toDouble(), 50, 2);
             EXPECT_LE(std::fabs(target(o, 0)["deviation"].toDouble()), 1e-4);
             EXPECT_EQ(o["held"].toArray(), QJsonArray{"cp_diff"});
         }},
        {"an unreachable target names the bound that holds it",
         "--vary tp_perfoperm:0:200 --target iso_nfdpm=6", 3,
         [](const QJsonObject& o) {
             EXPECT_FALSE(o["met"].toBool());
             EXPECT_EQ(o["atBound"].toObject()["tp_perfoperm"].toString(), "high");
             EXPECT_EQ(o["heldBackBy"].toArray(), QJsonArray{"tp_perfoperm"});
         }},
        {"a ventilation target under the ISO ceilings",
         "--vary tp_perfoperm --target stat_fivent=40 --target 'iso_nfdpm<=10' --target 'iso_nico<=1' "
         "--target 'iso_co<=10'",
         0,
         [](const QJsonObject& o) {
             EXPECT_TRUE(o["met"].toBool());
             EXPECT_EQ(target(o, 1)["relation"].toString(), "<=");
             EXPECT_LE(target(o, 3)["reached"].toDouble(), 10);
         }},
        {"no filter ventilation", "--vary tp_perfoperm --target stat_fivent=0", 0,
         [](const QJsonObject& o) { EXPECT_EQ(target(o, 0)["reached"].toDouble(), 0); }},
        {"an output of the alternative regime", "--vary cp_perm --target alt_co=20", 0,
         [](const QJsonObject& o) { EXPECT_TRUE(o["met"].toBool()); }},
        {"the diffusion follows the permeability", "--vary cp_perm --target iso_co=11 --couple-diffusion", 0,
         [](const QJsonObject& o) {
             EXPECT_TRUE(o["held"].toArray().isEmpty());
             EXPECT_GT(o["variables"].toObject()["cp_perm"].toDouble(), 50) << "more permeable, less CO";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = design(c.arguments);
        EXPECT_EQ(r.status, c.status) << r.err;
        c.check(json(r.out));
    }
}

TEST_F(CliStartupDesigns, TheAnswerDoesNotDependOnTheThreadCount) {
    // Starts side by side or one after the other: reached (the first start in start order that comes
    // close enough wins, whichever ends first) or a compromise (every start runs to its end).
    const Process oneProcessor{".", "", "taskset -c 0 " + std::string(VELTRANO_CLI)};
    for (const std::string question :
         {"--vary tp_perfoperm --vary cp_perm --vary fi_totpd --target stat_pdo=110 --target stat_fivent=29 "
          "--target iso_nfdpm=7",
          "--vary tp_perfoperm:0:300 --vary cp_perm --target iso_nfdpm=5 --target iso_co=7"}) {
        const Result all = design(question), one = design(question, oneProcessor);
        EXPECT_NE(all.status, 1) << all.err;
        EXPECT_EQ(one.status, all.status) << question;
        EXPECT_EQ(one.out, all.out) << question;
    }
}

TEST_F(CliStartupDesigns, ASweepOfThePaperLetsTheKnownDiffusionFollowWhenAsked) {
    const std::string paper = "--field cp_perm --from 10 --to 150 --steps 8 --outputs iso_co";
    const Result coupled = sweep(paper + " --couple-diffusion");
    ASSERT_EQ(coupled.status, 0) << coupled.err;
    EXPECT_TRUE(coupled.err.empty()) << coupled.err;
    std::vector<double> co;
    for (const std::string& row : lines(coupled.out))
        if (row[0] != 'p') co.push_back(std::stod(fields(row)[3]));
    ASSERT_EQ(co.size(), 8u);
    for (std::size_t i = 1; i < co.size(); ++i)
        EXPECT_LT(co[i], co[i - 1]) << "a more permeable paper, less CO";

    // Held, it says so: on stderr beside CSV, in every row of JSON lines. Today's 50 CU is today's
    // design either way.
    const Result held = sweep(paper);
    EXPECT_NE(held.err.find("cp_diff"), std::string::npos) << held.err;
    const Result rows = sweep("--field cp_perm --from 50 --to 150 --steps 2 --outputs iso_co --format jsonl");
    const QJsonObject today = json(lines(rows.out)[0]);
    EXPECT_EQ(today["held"].toArray(), QJsonArray{"cp_diff"});
    EXPECT_EQ(today["iso_co"].toDouble(), co[2]);
}

TEST_F(CliExplore, CouplingChangesNothingWhereTheDiffusionIsPredictedAndSaysSo) {
    const Result evaluated = run("evaluate " + path("a.cig") + " --models " + models);
    const long long known =
        static_cast<long long>(json(evaluated.out)["current"].toObject()["known"].toDouble());
    const std::string predicted = fileWith("known", static_cast<double>(known & ~0x200LL));
    const std::string paper = "sweep " + predicted + " --models " + models +
                              " --field cp_perm --from 20 --to 120 --steps 3 --outputs iso_co,iso_nfdpm";
    const Result plain = run(paper), coupled = run(paper + " --couple-diffusion");
    ASSERT_EQ(coupled.status, 0) << coupled.err;
    EXPECT_EQ(coupled.out, plain.out);
    EXPECT_TRUE(plain.err.empty()) << plain.err;
    EXPECT_NE(coupled.err.find("changes nothing"), std::string::npos) << coupled.err;
}

#endif

}  // namespace
