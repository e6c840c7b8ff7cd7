#include "CliCommands.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "CliSupport.h"
#include "DesignJson.h"
#include "JsonWriter.h"
#include "StandardOutput.h"
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

namespace {

// One entry of a command's option list: "--models=" takes a value, "--puffs" does not, "--vary=..."
// takes a value each time it is given.
struct OptionRule {
    std::string name;
    bool takesValue = false;
    bool repeats = false;
};

OptionRule ruleOf(std::string entry) {
    OptionRule rule;
    const std::string_view repeatMark = "...";
    rule.repeats = entry.size() > repeatMark.size() && entry.ends_with(repeatMark);
    if (rule.repeats) entry.resize(entry.size() - repeatMark.size());
    rule.takesValue = entry.ends_with('=');
    if (rule.takesValue) entry.pop_back();
    rule.name = std::move(entry);
    return rule;
}

}  // namespace

bool Arguments::parse(const std::vector<std::string>& options, int positionals) {
    std::vector<OptionRule> rules;
    for (const std::string& entry : options) rules.push_back(ruleOf(entry));
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        const std::string& a = raw_[i];
        if (!a.starts_with("--")) {
            positional_.push_back(a);
            continue;
        }
        const std::size_t equals = a.find('=');
        const std::string name = a.substr(0, equals);
        const auto rule =
            std::find_if(rules.begin(), rules.end(), [&](const OptionRule& r) { return r.name == name; });
        if (rule == rules.end()) {
            error_ = "unknown option " + name;
            return false;
        }
        std::string value;
        if (!rule->takesValue && equals != std::string::npos) {
            error_ = "option " + name + " takes no value";
            return false;
        }
        if (rule->takesValue && equals != std::string::npos) {
            value = a.substr(equals + 1);
        } else if (rule->takesValue) {
            if (i + 1 >= raw_.size()) {
                error_ = "option " + name + " needs a value";
                return false;
            }
            value = raw_[++i];
        }
        std::vector<std::string>& kept = values_[name];
        if (!rule->repeats && !kept.empty()) {
            error_ = "option " + name + " is given twice";
            return false;
        }
        kept.push_back(std::move(value));
    }
    if (positionals >= 0 && static_cast<int>(positional_.size()) != positionals) {
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

int runNew(const Arguments& args, StandardOutput&, int, char**) {
    Session session;  // the default designs; nothing is recalculated
    return session.document.saveAs(args.positional(0), session.errors) == 0 ? 0 : kFileError;
}

int runEvaluate(const Arguments& args, StandardOutput& out, int, char**) {
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
    out.write(json.text() + '\n');
    return 0;
}

int runImportLegacy(const Arguments& args, StandardOutput&, int, char**) {
    Session session;
    const std::optional<std::string> modelsPath = loadModels(args, session.mp);
    if (!modelsPath) return kFileError;
    if (session.document.importLegacy(args.positional(0), session.errors) != 0) return kFileError;
    warnOfValuesThatAreNotNumbers(args.command(), session.designs(), {"workingReference", "current"},
                                  *modelsPath);
    return session.document.saveAs(args.positional(1), session.errors) == 0 ? 0 : kFileError;
}

int runStartup(const Arguments& args, StandardOutput&, int, char**) {
    Session session;
    if (!openDocument(args, session)) return kFileError;
    const DesignSet& designs = session.designs();
    StderrErrorReporter& errors = session.errors;
    analysePuffsIfAsked(args, session.document, true);
    SystemSaveFileSystem fileSystem;
    return saveStartupDesigns(args.positional(1), designs, errors, fileSystem) == 0 ? 0 : kFileError;
}

}  // namespace

const char* const kExitStatusHelp =
    "Every option is given at most once, except those a usage shows followed by '...';\n"
    "\"--name value\" and \"--name=value\" are the same.\n"
    "\n"
    "Exit status: 0 done; 1 the work could not be done (a file could not be read or written, the\n"
    "standard output could not be written, memory ran out, the sheet's checks refused every point\n"
    "of a sweep); 2 a bad command line or input. A reader that closes the pipe early (| head) ends\n"
    "the tool quietly, by the signal SIGPIPE (status 141 in a shell).\n";

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
         "DESIGNS.json OUT.cig [--unchecked | --strict] [--models PATH]",
         "write a cigarette file from a JSON description",
         "Reads the designs from JSON in the form 'evaluate' prints: members \"reference\",\n"
         "\"workingReference\" and \"current\" holding fields by name (absent fields keep their defaults;\n"
         "\"known\" as an integer, \"alt_profile\" as a list), and an optional \"informationText\" (at most\n"
         "510 bytes in Windows-1252). Arrays are accepted and ignored. A design may name a puff shape\n"
         "file, \"altProfileFile\": \"PATH\" (relative to the working directory), read as the regime page's\n"
         "Load from file reads it; it replaces \"alt_profile\" and \"alt_profpnts\", and a file that gives\n"
         "no shape reports error 050 or 051 and ends with status 1. Invalid JSON, objects and lists\n"
         "nested deeper than 64 levels, a key given twice, an unknown field, a wrong type and anything\n"
         "that would give a file Open refuses (a \"magic\" other than \"QMX\") end with status 2 and name\n"
         "it.\n"
         "An input that is not a finite number (\"NaN\", \"Infinity\") and a negative length, permeability,\n"
         "pressure drop, mass, volume, duration or content end with status 2 too, naming the key; result\n"
         "fields (what 'evaluate' computes, and the reference's measured values) are taken as they are,\n"
         "so what 'evaluate' prints builds again. Then the checks of the design sheet's OK run on the\n"
         "reference and the current design, with the model parameters (--models, else models.dat as for\n"
         "'evaluate'): a value they refuse is written with a warning giving the sheet's error number and\n"
         "text. --strict refuses it instead (status 2), and refuses to write designs it could not check\n"
         "for want of model parameters (status 1). --unchecked checks no value at all (for making odd\n"
         "test files).",
         {"--unchecked", "--strict", "--models="},
         2,
         runBuild},
        {"evaluate",
         "FILE.cig [--models PATH] [--puffs]",
         "recalculate a cigarette file and print JSON",
         "Reads the file as the program's Open does, loads the model parameters (--models, else\n"
         "models.dat from the working directory, the user's data folder or the installed data, the first\n"
         "that has it), recalculates both designs and, with --puffs, runs the puff-by-puff analysis of\n"
         "the current design. Prints one JSON object: \"reference\", \"workingReference\", \"current\",\n"
         "\"informationText\" and \"errors\" (the numbered errors reported, in order; their texts go to\n"
         "stderr). Numbers have 17 significant digits; NaN and infinities are the strings \"NaN\",\n"
         "\"Infinity\", \"-Infinity\".\n"
         "Inputs of the file that are not finite numbers, and results of the current design and the\n"
         "working reference that are not, are warned of on stderr, naming the fields (and for results\n"
         "the model parameter file they were computed with).",
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
         "       [--outputs LIST] [--puffs] [--couple-diffusion] [--format csv|jsonl] [--shard I/N]\n"
         "       [--models PATH]",
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
         "sorted by point are the whole table. Points run in parallel on all cores.\n"
         "The second field's --from2, --to2 and --steps2 need --field2, and --outputs names each output\n"
         "once. The CSV is ASCII, units and messages alike (\"cm3\", \"g/m2\"). When the sheet's checks\n"
         "refuse every point, the table is still written and the sweep ends with status 1; outputs that\n"
         "are not finite numbers are warned of on stderr.\n"
         "--couple-diffusion: where the design's diffusion capacity is marked known, each point's diffusion\n"
         "follows its paper permeability, D0 * predicted(P) / predicted(P0) by the model's relation as the\n"
         "problem solver's Accept uses it, scaled so that today's permeability keeps today's value D0.\n"
         "Without it the known value is held, and the tool says so (a line on stderr; \"held\" in every\n"
         "JSON line). Where the diffusion is not marked known the model predicts it at every point anyway\n"
         "and the option changes nothing. It cannot go with --field cp_diff.",
         {"--field=", "--from=", "--to=", "--steps=", "--field2=", "--from2=", "--to2=", "--steps2=",
          "--outputs=", "--puffs", "--couple-diffusion", "--format=", "--shard=", "--models="},
         1,
         runSweep},
#ifdef VELTRANO_HAVE_NLOPT
        {"design",
         "FILE.cig --vary NAME[:LO:HI] ... --target NAME=VALUE[:WEIGHT] ... [--tolerance PERCENT]\n"
         "       [--couple-diffusion] [--out NEW.cig] [--models PATH]",
         "find inputs of the current design that reach targets",
         "Varies 1 to 4 inputs of the current design (--vary, repeated; fields as for 'sweep', bounded by\n"
         "LO and HI narrowed to the values the sheet's checks accept, else by those values) to bring 1 to\n"
         "6 outputs (--target, repeated; any output 'sweep' offers) to their targets: NAME=VALUE to reach\n"
         "a value, 'NAME<=VALUE' or 'NAME>=VALUE' to keep a ceiling or a floor (quoted: a shell reads <\n"
         "and > as redirections), each with an optional :WEIGHT. A ceiling or a floor pulls only where it\n"
         "is not kept, for example 'iso_nfdpm<=10' 'iso_nico<=1' 'iso_co<=10' beside a ventilation target.\n"
         "A target of 0, where the output can be 0, measures its deviation against today's value of that\n"
         "output. An output named twice, a negative target and a 0 for an output that is never 0 are\n"
         "refused.\n"
         "The search minimises the weighted sum of squared relative misses with a bound-constrained\n"
         "derivative-free method from several starting points and goes on to a deviation of 0.01 % where\n"
         "the model's flow tolerance allows; --tolerance PERCENT (1 by default) only decides \"met\". With\n"
         "more inputs than targets to reach it then takes the answer nearest today's design (inputs scaled\n"
         "to their bounds) that reaches the targets as closely. A fixed seed: the same question gives the\n"
         "same answer, however many processors run it. --couple-diffusion lets a known diffusion capacity\n"
         "follow the paper permeability, as for 'sweep'.\n"
         "Prints one JSON object: \"found\", \"variables\" by name, \"clipped\" (the bounds the sheet\n"
         "narrowed, where it did), \"atBound\" (\"low\", \"high\" or null by name), \"targets\" (name,\n"
         "relation, target, weight, reached, deviation, met), \"met\" (all of them), \"heldBackBy\"\n"
         "(the variables at a bound when a target is missed), \"held\" (known values held while\n"
         "what they follow varies), \"evaluations\" and \"errors\". --out writes the cigarette file\n"
         "with the answer accepted into the current design, recalculated.\n"
         "Exit status: 0 every target met; 3 a compromise (printed, and written with --out); 1 no values\n"
         "within the bounds pass the sheet's checks (nothing written) or a file failed; 2 a bad command\n"
         "line.",
         {"--vary=...", "--target=...", "--tolerance=", "--couple-diffusion", "--out=", "--models="},
         1,
         runDesign},
#endif
        {"export",
         "FILE.cig OUT.csv --what summary|profiles|curves|puffs [--puffs] [--models PATH]",
         "write one table of numbers as CSV",
         "Recalculates the designs (with --puffs also runs the puff-by-puff analysis) and writes one\n"
         "table as a CSV file: one header row (\"name [unit]\"), then one row per design (summary), per\n"
         "profile point (profiles), per puff curve point (curves, ISO and alternative) or per puff\n"
         "(puffs). Numbers at full precision with '.' decimals; the file is ASCII, units spelt as in\n"
         "every CSV of the tool (\"cm3\", \"g/m2\", \"1/10\").\n"
         "The rows of the reference and the current design hold what the data summary view shows: a\n"
         "value it shows as not known (dashes) or leaves empty is an empty cell, and the reference's\n"
         "filter and rod pressure drops are the ones it shows; the working reference's row holds the\n"
         "model's own values. The per-puff yields the view shows as not known are empty cells too. The\n"
         "profiles and curves are the model's uncalibrated values, which their headers say\n"
         "(\"(uncalibrated)\").\n"
         "--what puffs runs the puff-by-puff analysis, as the puffs view does; a reference whose ISO\n"
         "puff number is not known gives no puffs, which ends with status 2. A file that cannot be\n"
         "written ends with status 1 and a message naming it and the system's reason.",
         {"--what=", "--puffs", "--models="},
         2,
         runExport},
        {"sensitivity",
         "FILE.cig [--step PERCENT] [--fields LIST] [--outputs LIST] [--format csv|json] [--models PATH]",
         "the elasticity of every output to every input of the current design",
         "For each input of the current design (--fields, comma-separated; every field its sheet lets you\n"
         "type into by default) recalculates the design with today's value less and plus the step (--step,\n"
         "percent above 0 and at most 50, 5 by default), each stored as OK would store it, and gives the\n"
         "elasticity of each output (--outputs, as for 'sweep'): the relative change of the output over the\n"
         "relative change of the input, (y+ - y-) / y0 over (x+ - x-) / x0. It is empty (null in JSON)\n"
         "where today's input or output is 0, and a row whose step the sheet's checks refuse has the\n"
         "status 'refused' with the sheet's errors. Steps below about 1 % show the model's flow\n"
         "tolerance as noise.\n"
         "CSV (the default; a row per field: field, unit, value, the elasticities, status, errors,\n"
         "messages) or JSON (--format json): {\"step\": 5, \"rows\": [{\"field\": ..., \"value\": ...,\n"
         "OUTPUT: ELASTICITY, ..., \"status\", \"errors\", \"messages\"}, ...]}.",
         {"--step=", "--fields=", "--outputs=", "--format=", "--models="},
         1,
         runSensitivity},
        {"tolerance",
         "FILE.cig --vary NAME=SPREAD ... --samples N [--seed S] [--limit NAME<=VALUE ...] [--outputs LIST]\n"
         "       [--couple-diffusion] [--samples-out FILE.csv] [--shard I/N] [--models PATH]\n"
         "       veltrano-cli tolerance --merge FILES...",
         "Monte Carlo samples of the current design over the spreads of its inputs",
         "Draws N samples of the current design, each input named by --vary (repeated; fields as for\n"
         "'sweep', each once) from its SPREAD: 5% (normal, standard deviation in percent of today's value),\n"
         "0.4 (normal, in the field's unit), u10% or u0.4 (uniform within plus and minus that). Each sample\n"
         "is today's design with the drawn values stored as OK would store them, recalculated; samples the\n"
         "sheet's checks refuse are counted (\"refused\", and by their errors in \"refusals\"). Sample i\n"
         "depends only on the seed (--seed, a whole number, 1 by default) and i, so the results are the\n"
         "same on every machine, whatever the number of threads or shards. An input whose known box\n"
         "is clear is refused: its value never reaches the model. With --couple-diffusion a known\n"
         "diffusion capacity follows each sample's paper permeability as in 'sweep'; without it, a\n"
         "design whose diffusion is known holds it while cp_perm varies, and \"held\":\n"
         "[\"cp_diff\"] says so.\n"
         "Prints one JSON object: \"samples\", \"refused\", \"refusals\", \"outputs\": {NAME: {\"mean\",\n"
         "\"sd\", \"p5\", \"p50\", \"p95\", \"min\", \"max\"}} over the computed samples (sd divides by\n"
         "n - 1; the points interpolate linearly between the sorted values, Hyndman and Fan's\n"
         "type 7), \"limits\": [{\"limit\", \"outside\", \"low\", \"high\", \"count\",\n"
         "\"of\"}] (the share of computed samples outside each --limit, 'NAME<=VALUE' or\n"
         "'NAME>=VALUE' quoted from a shell, with its 95 % Wilson interval) and \"shares\":\n"
         "{OUTPUT: {INPUT: share}} (the first-order share of the output's variance each input\n"
         "explains).\n"
         "Outputs: --outputs as for 'sweep' (all by default); a limit brings its output along.\n"
         "--samples-out writes every sample (index, drawn values, status, outputs with 17 significant\n"
         "digits, errors) as CSV after a header of '#' lines naming the seed, samples, shard, spreads,\n"
         "limits and the designs. --shard I/N runs only the samples i with i mod N = I; 'tolerance\n"
         "--merge' reads the samples files of all N shards and prints the JSON of the whole run, the\n"
         "same to the bit as one run would print. A missing, repeated or incomplete shard, or one of\n"
         "another run, is an error (status 2). Samples run in parallel on all cores.",
         {"--vary=...", "--samples=", "--seed=", "--limit=...", "--outputs=", "--couple-diffusion",
          "--samples-out=", "--shard=", "--merge", "--models="},
         -1,
         runTolerance},
#ifdef VELTRANO_CLI_DRAWS
        {"print",
         "FILE.cig OUT.pdf [--models PATH] [--puffs]",
         "write the one-page report as PDF",
         "Recalculates the designs (with --puffs also runs the puff-by-puff analysis, whose table the\n"
         "page then fills) and writes the printed page as a PDF file. Needs no display. A file that\n"
         "cannot be written reports error 066 (or 053) and then, on a line of its own, the file and the\n"
         "system's reason.",
         {"--models=", "--puffs"},
         2,
         runPrint},
        {"render",
         "FILE.cig --view stationary|yields|puffs|summary|listing OUT.png|OUT.svg|OUT.pdf [--scale S] "
         "[--puffs] [--models PATH]",
         "draw a result view as PNG, SVG or PDF",
         "Recalculates the designs (with --puffs, and always for the puffs view, also runs the\n"
         "puff-by-puff analysis) and draws the view as the program's window does, on its 1024 x 768\n"
         "canvas (the listing as large as it reaches). The extension of OUT chooses the format: a PNG\n"
         "picture at --scale S device pixels per view pixel (0.25 to 4, default 1), an SVG drawing whose\n"
         "texts stay texts, or a one-page PDF. Needs no display. A file that cannot be written ends with\n"
         "status 1 and a message naming it and the system's reason. A build without\n"
         "Qt SVG (on Windows, docs/windows.md) writes no SVG.",
         {"--view=", "--scale=", "--puffs", "--models="},
         2,
         runRender},
#endif
    };
    return table;
}

}  // namespace veltrano::cli
