#include "CliCommands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include <QJsonDocument>
#include <QJsonObject>

#include "CliSupport.h"
#include "DesignJson.h"
#include "JsonWriter.h"
#include "design/CigaretteFile.h"
#include "design/LegacyImport.h"
#include "design/StartupFile.h"
#include "model/PuffByPuff.h"
#include "model/Recalculation.h"

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
        for (const std::string& o : options) {
            const bool takesValue = !o.empty() && o.back() == '=';
            const std::string name = takesValue ? o.substr(0, o.size() - 1) : o;
            if (a == name) {
                known = true;
                if (takesValue) {
                    if (i + 1 >= raw_.size()) {
                        error_ = "option " + name + " needs a value";
                        return false;
                    }
                    values_[name] = raw_[++i];
                } else {
                    values_[name] = "";
                }
            } else if (takesValue && a.rfind(name + "=", 0) == 0) {
                known = true;
                values_[name] = a.substr(name.size() + 1);
            }
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
    return it == values_.end() ? otherwise : it->second;
}

namespace {

int runNew(const Arguments& args, int, char**) {
    DesignSet designs;
    StderrErrorReporter errors;
    return saveCigaretteFile(args.positional(0), designs, errors) == 0 ? 0 : kFileError;
}

int runBuild(const Arguments& args, int, char**) {
    std::ifstream in(args.positional(0), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "veltrano-cli build: %s could not be opened for reading\n",
                     args.positional(0).c_str());
        return kFileError;
    }
    std::stringstream text;
    text << in.rdbuf();
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(text.str()), &parseError);
    if (!document.isObject()) {
        std::fprintf(stderr, "veltrano-cli build: %s is not a JSON object (%s)\n", args.positional(0).c_str(),
                     parseError.errorString().toStdString().c_str());
        return kUsageError;
    }
    DesignSet designs;
    const QJsonObject top = document.object();
    for (auto it = top.begin(); it != top.end(); ++it) {
        const std::string key = it.key().toStdString();
        std::optional<std::string> problem;
        if (key == "informationText") {
            problem = it.value().isString() ? informationTextFromUtf8(it.value().toString().toStdString(),
                                                                      designs.informationText)
                                            : std::optional<std::string>("informationText must be a text");
        } else if (key == "errors") {
            continue;  // what evaluate reported; not an input
        } else if (CigaretteDesign* d = designByName(designs, key)) {
            problem = it.value().isObject() ? readDesign(it.value().toObject(), d->values())
                                            : std::optional<std::string>("must be an object");
            if (problem) problem = "'" + key + "': " + *problem;
        } else {
            problem = "unknown member '" + key + "'";
        }
        if (problem) {
            std::fprintf(stderr, "veltrano-cli build: %s\n", problem->c_str());
            return kUsageError;
        }
    }
    StderrErrorReporter errors;
    return saveCigaretteFile(args.positional(1), designs, errors) == 0 ? 0 : kFileError;
}

int runEvaluate(const Arguments& args, int, char**) {
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openAndRecalculate(args, designs, mp, errors)) return kFileError;
    if (args.has("--puffs")) {
        TerminalProgress progress;
        runPuffByPuff(designs.currentDesign, mp, progress);
    }
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
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (importLegacyFile(args.positional(0), designs, errors) != 0) return kFileError;
    if (!loadModels(args, mp)) return kFileError;
    recalculate(designs, mp, errors);
    return saveCigaretteFile(args.positional(1), designs, errors) == 0 ? 0 : kFileError;
}

int runStartup(const Arguments& args, int, char**) {
    DesignSet designs;
    ModelParameters mp;
    StderrErrorReporter errors;
    if (!openAndRecalculate(args, designs, mp, errors)) return kFileError;
    TerminalProgress progress;
    runPuffByPuff(designs.currentDesign, mp, progress);
    if (saveStartupDesigns(args.positional(1), designs) != 0) {
        std::fprintf(stderr, "veltrano-cli startup: %s could not be written\n", args.positional(1).c_str());
        return kFileError;
    }
    return 0;
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
         "\"alt_profile\" as a list), and an optional \"informationText\". Arrays are accepted and ignored.\n"
         "An unknown field or a wrong type ends with status 2 and names it.",
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
         "target value. Prints one JSON object: \"outcome\" is \"result\" (with \"plugWrap\", \"tipping\" "
         "and\n"
         "\"hints\", or \"perm\" and \"diffusion\", as the dialog shows them), \"range\" (with the "
         "\"message\"),\n"
         "\"error\" (with the \"error\" number and its \"message\") or \"not offered\".",
         {"--group=", "--code=", "--target=", "--models="},
         1,
         runSearch},
#ifdef VELTRANO_CLI_DRAWS
        {"print",
         "FILE.cig OUT.pdf [--models PATH] [--puffs]",
         "write the one-page report as PDF",
         "Recalculates the designs (with --puffs also runs the puff-by-puff analysis, whose table the page\n"
         "then fills) and writes the printed page as a PDF file. Needs no display.",
         {"--models=", "--puffs"},
         2,
         runPrint},
#endif
    };
    return table;
}

}  // namespace veltrano::cli
