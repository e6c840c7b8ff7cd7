#include "CliCommands.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include "CliSupport.h"
#include "DesignJson.h"
#include "JsonWriter.h"
#include "core/design/CigaretteFile.h"
#include "core/design/LegacyImport.h"
#include "core/design/StartupFile.h"
#include "core/model/Recalculation.h"

namespace veltrano::cli {

bool Arguments::wantsHelp() const {
    for (const std::string& a : raw_)
        if (a == "--help" || a == "-h") return true;
    return false;
}

bool Arguments::parse(const std::vector<std::string>& options, int positionals) {
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        const std::string& a = raw_[i];
        if (a.rfind("--", 0) != 0) {
            positional_.push_back(a);
            continue;
        }
        bool known = false;
        for (std::string o : options) {
            const bool repeated = o.size() > 3 && o.compare(o.size() - 3, 3, "...") == 0;
            if (repeated) o.resize(o.size() - 3);
            const bool takesValue = !o.empty() && o.back() == '=';
            const std::string name = takesValue ? o.substr(0, o.size() - 1) : o;
            std::optional<std::string> value;
            if (a == name) {
                known = true;
                if (takesValue) {
                    if (i + 1 >= raw_.size()) {
                        error_ = "option " + name + " needs a value";
                        return false;
                    }
                    value = raw_[++i];
                } else {
                    value = "";
                }
            } else if (takesValue && a.rfind(name + "=", 0) == 0) {
                known = true;
                value = a.substr(name.size() + 1);
            }
            if (!value) continue;
            std::vector<std::string>& kept = values_[name];
            if (!repeated) kept.clear();
            kept.push_back(*value);
        }
        if (!known) {
            error_ = "unknown option " + a;
            return false;
        }
    }
    if (static_cast<int>(positional_.size()) != positionals) {
        error_ = "expected " + std::to_string(positionals) + " file name" + (positionals == 1 ? "" : "s") +
                 ", got " + std::to_string(positional_.size());
        return false;
    }
    return true;
}

std::string Arguments::value(const std::string& option, const std::string& otherwise) const {
    auto it = values_.find(option);
    return it == values_.end() ? otherwise : it->second.back();
}

std::vector<std::string> Arguments::values(const std::string& option) const {
    auto it = values_.find(option);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

namespace {

int runNew(const Arguments& args, int, char**) {
    Session session;  // the default designs; nothing is recalculated
    return session.document.saveAs(args.positional(0), session.errors) == 0 ? 0 : kFileError;
}

int runEvaluate(const Arguments& args, int, char**) {
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    analysePuffsIfAsked(args, session.document);
    JsonWriter json;
    json.beginObject();
    for (const char* name : {"reference", "workingReference", "current"}) {
        json.key(name);
        writeDesign(json, *designByName(designs, name));
    }
    json.key("informationText");
    json.value(informationTextUtf8(designs.informationText));
    json.errors(errors.numbers);
    json.endObject();
    std::cout << json.text() << '\n';
    return 0;
}

int runImportLegacy(const Arguments& args, int, char**) {
    Session session;
    if (!loadModels(args, session.mp)) return kFileError;
    if (session.document.importLegacy(args.positional(0), session.errors) != 0) return kFileError;
    return session.document.saveAs(args.positional(1), session.errors) == 0 ? 0 : kFileError;
}

int runStartup(const Arguments& args, int, char**) {
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    analysePuffsIfAsked(args, session.document, true);
    SystemSaveFileSystem fileSystem;
    return saveStartupDesigns(args.positional(1), designs, errors, fileSystem) == 0 ? 0 : kFileError;
}

}  // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"new",
         "OUT.cig",
         "write a cigarette file of three default designs",
         "Writes a cigarette file holding three constructor-default designs and an empty information text.",
         {},
         1,
         runNew},
        {"build",
         "DESIGNS.json OUT.cig",
         "write a cigarette file from a JSON description",
         "Reads the designs from JSON in the form 'evaluate' prints: members \"reference\", "
         "\"workingReference\"\n"
         "and \"current\" holding fields by name (absent fields keep their defaults; \"known\" as an "
         "integer,\n"
         "\"alt_profile\" as a list), and an optional \"informationText\" (at most 510 bytes in "
         "Windows-1252).\n"
         "Arrays are accepted and ignored. A design may name a puff shape file, \"altProfileFile\": "
         "\"PATH\"\n"
         "(relative to the working directory), read as the regime page's Load from file reads it; it "
         "replaces\n"
         "\"alt_profile\" and \"alt_profpnts\", and a file that gives no shape reports error 050 or 051 and "
         "ends\n"
         "with status 1. Invalid JSON, a key given twice, an unknown field, a wrong type and anything that\n"
         "would give a file Open refuses (a \"magic\" other than \"QMX\") end with status 2 and name it.",
         {},
         2,
         runBuild},
        {"evaluate",
         "FILE.cig [--models PATH] [--puffs]",
         "recalculate a cigarette file and print JSON",
         "Reads the file as the program's Open does, loads the model parameters (--models, else models.dat\n"
         "from the working directory, the user's data folder or the installed data, the first that has it),\n"
         "recalculates both designs and, with --puffs, runs the puff-by-puff analysis of the current "
         "design.\n"
         "Prints one JSON object: \"reference\", \"workingReference\", \"current\", \"informationText\" and\n"
         "\"errors\" (the numbered errors reported, in order; their texts go to stderr).\n"
         "Numbers have 17 significant digits; NaN and infinities are the strings \"NaN\", \"Infinity\", "
         "\"-Infinity\".",
         {"--models=", "--puffs"},
         1,
         runEvaluate},
        {"import-legacy",
         "OLD.cig NEW.cig [--models PATH]",
         "convert a legacy 3.xx file",
         "Imports a legacy cigarette file as the program's Import does, recalculates and writes a cigarette "
         "file.",
         {"--models="},
         2,
         runImportLegacy},
        {"startup",
         "FILE.cig OUT.dat [--models PATH]",
         "write a start-up design file",
         "Recalculates the designs of FILE.cig, runs the puff-by-puff analysis of the current design and "
         "writes\n"
         "a start-up design file (the program reads Startup_cigarette.dat from its working directory, else\n"
         "from the user's data folder ~/.local/share/veltrano, else from the installed data).",
         {"--models="},
         2,
         runStartup},
        {"search",
         "FILE.cig --group tipping|paper --code N --target X [--models PATH]",
         "ask the problem solver for a permeability",
         "Recalculates the designs and runs what the problem solver's Search button runs for the group\n"
         "(tipping: a tipping/plug wrap combination; paper: a cigarette paper), the target code (1 filter\n"
         "ventilation, 2 ISO 'tar', 3 ISO nicotine, 4 ISO CO, 5 rod ventilation, 6 ISO puff number) and the\n"
         "target value. Prints one JSON object: \"outcome\" is \"result\", \"range\" (with the "
         "\"message\"),\n"
         "\"error\" (with the \"error\" number and its \"message\") or \"not offered\". A result gives "
         "the values\n"
         "found at full precision, each beside the text the dialog shows (\"plugWrap\" and "
         "\"plugWrapText\",\n"
         "\"tipping\" and \"tippingText\", and \"hints\"; or \"perm\" and \"permText\", \"diffusion\" "
         "and \"diffusionText\"),\n"
         "and under \"accepted\" the values that Accept would write into the current design "
         "(\"pw_perm\" and\n"
         "\"tp_perfoperm\", or \"cp_perm\" and \"cp_diff\").",
         {"--group=", "--code=", "--target=", "--models="},
         1,
         runSearch},
        {"sweep",
         "FILE.cig --field NAME --from A --to B --steps N [--field2 NAME --from2 A --to2 B --steps2 N]\n"
         "       [--outputs LIST] [--puffs] [--format csv|jsonl] [--shard I/N] [--models PATH]",
         "step inputs of the current design over a range, a row per point",
         "Steps one input of the current design (or two, a map) evenly from A to B, both included, and\n"
         "recalculates each point as the program would after typing the value into the design sheet and\n"
         "pressing OK: the value is stored unrounded, everything else stays, the sheet's checks run (a "
         "point\n"
         "they refuse gets the page's errors instead of outputs), and the reference calibrates the result.\n"
         "NAME is a record field the current design's sheet lets you type into (tp_perfoperm, tp_perfopos,\n"
         "tp_perfowidth, pw_perm, cp_perm, cp_diff, cp_citrate, fi_totpd, fi_len, ro_totpd, ro_len,\n"
         "ro_totmass, alt_volume, alt_duration, alt_interval, alt_blocking, tp_onlinevent, ...). Steps: 2 "
         "to\n"
         "201, or 2 to 51 each for a map; the second field's steps run inside the first's, and point i*N2+j\n"
         "holds value i of the first field and value j of the second.\n"
         "Outputs (--outputs, comma-separated; all by default): stat_pdo stat_pdc stat_fivent stat_rovent\n"
         "stat_totvent stat_mbr iso_puff alt_puff iso_dpm iso_nfdpm iso_nico iso_co alt_dpm alt_nfdpm "
         "alt_nico\n"
         "alt_co, named as 'evaluate' names them; stat_totvent = stat_fivent + stat_rovent, iso_dpm =\n"
         "iso_nfdpm + iso_nico, alt_dpm likewise. --puffs adds the puff-by-puff analysis of each point\n"
         "(puff_number and the per-puff lists; it multiplies the time taken).\n"
         "Rows: 'point', the input values, 'status' (ok or refused), the outputs with 17 significant digits\n"
         "(as 'evaluate' prints them for the file with that value applied), 'errors' (numbers) and\n"
         "'messages' (texts). CSV (RFC 4180, a header row with units) or JSON lines (--format jsonl).\n"
         "--shard I/N (I from 0) writes only every N-th point from point I, so that N independent jobs\n"
         "run one map; in CSV only shard 0 writes the header, and the shards' outputs put together and\n"
         "sorted by point are the whole table. Points run in parallel on all cores.",
         {"--field=", "--from=", "--to=", "--steps=", "--field2=", "--from2=", "--to2=", "--steps2=",
          "--outputs=", "--puffs", "--format=", "--shard=", "--models="},
         1,
         runSweep},
#ifdef VELTRANO_HAVE_NLOPT
        {"design",
         "FILE.cig --vary NAME[:LO:HI] ... --target NAME=VALUE[:WEIGHT] ... [--tolerance PERCENT]\n"
         "       [--out NEW.cig] [--models PATH]",
         "find inputs of the current design that reach targets",
         "Varies 1 to 4 inputs of the current design (--vary, repeated; fields as for 'sweep', bounded by\n"
         "LO and HI, else by the values the sheet's checks accept) to bring 1 to 6 outputs (--target,\n"
         "repeated: stat_pdo stat_fivent stat_totvent iso_nfdpm iso_nico iso_co iso_puff) to their values,\n"
         "minimising the weighted sum of squared relative deviations with a bound-constrained "
         "derivative-free\n"
         "method from several starting points (a fixed seed: the same question gives the same answer).\n"
         "A target is met within --tolerance percent (1 by default). Prints one JSON object: \"found\"\n"
         "(false when no values within the bounds pass the sheet's checks), \"variables\" by name,\n"
         "\"targets\" (name, target, weight, reached, deviation, met), \"met\" (all of them),\n"
         "\"evaluations\" and \"errors\". When the targets cannot all be met the variables are the best\n"
         "compromise. --out writes the cigarette file with those variables accepted into the current\n"
         "design, recalculated.",
         {"--vary=...", "--target=...", "--tolerance=", "--out=", "--models="},
         1,
         runDesign},
#endif
        {"export",
         "FILE.cig OUT.csv --what summary|profiles|curves|puffs [--puffs] [--models PATH]",
         "write one table of numbers as CSV",
         "Recalculates the designs (with --puffs also runs the puff-by-puff analysis) and writes one table "
         "as\n"
         "a CSV file: one header row (\"name [unit]\"), then one row per design (summary), per profile "
         "point\n"
         "(profiles), per puff curve point (curves, ISO and alternative) or per puff (puffs; rows only with\n"
         "--puffs). Numbers at full precision with '.' decimals.",
         {"--what=", "--puffs", "--models="},
         2,
         runExport},
#ifdef VELTRANO_CLI_DRAWS
        {"print",
         "FILE.cig OUT.pdf [--models PATH] [--puffs]",
         "write the one-page report as PDF",
         "Recalculates the designs (with --puffs also runs the puff-by-puff analysis, whose table the page\n"
         "then fills) and writes the printed page as a PDF file. Needs no display.",
         {"--models=", "--puffs"},
         2,
         runPrint},
        {"render",
         "FILE.cig --view stationary|yields|puffs|summary|listing OUT.png|OUT.svg|OUT.pdf [--scale S] "
         "[--puffs] [--models PATH]",
         "draw a result view as PNG, SVG or PDF",
         "Recalculates the designs (with --puffs, and always for the puffs view, also runs the puff-by-puff\n"
         "analysis) and draws the view as the program's window does, on its 1024 x 768 canvas (the listing "
         "as\n"
         "large as it reaches). The extension of OUT chooses the format: a PNG picture at --scale S device\n"
         "pixels per view pixel (0.25 to 4, default 1), an SVG drawing whose texts stay texts, or a "
         "one-page\n"
         "PDF. Needs no display. A build without Qt SVG (on Windows, docs/windows.md) writes no SVG.",
         {"--view=", "--scale=", "--puffs", "--models="},
         2,
         runRender},
#endif
    };
    return table;
}

}  // namespace veltrano::cli
