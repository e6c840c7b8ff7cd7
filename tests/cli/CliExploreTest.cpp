// veltrano-cli sweep and design, driven as users drive them.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <QJsonArray>

#include "CliFixture.h"

namespace {

using veltrano::testing::Cli;
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
    const std::string sweep = "sweep " + path("a.cig") + " --models " + models + " --outputs stat_pdo";
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
          "design " + path("a.cig") + " --models " + models + " --vary cp_perm --target alt_co=10",
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

#endif

}  // namespace
