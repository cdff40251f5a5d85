// varno-cli: Varno's Read, Save and checks for scripts.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/checkallcommand.h"
#include "cli/clicommands.h"
#include "cli/diffcommands.h"
#ifdef VARNO_MAP_PICTURE
#include "cli/mappicturecommand.h"
#endif
#include "cli/recovercommand.h"
#include "cli/schedulecommand.h"
#include "cli/termtext.h"
#include "scenario/filenames.h"
#include "scenario/platform/platform.h"
#include "scenario/recoveryfolder.h"

using namespace varno;

namespace {

// One command's usage, for the line printed after an argument error.
struct CommandForm {
    CLI::App* App;
    std::string Args;
};

void PrintUsage(std::ostream& err, const std::vector<CommandForm>& forms, const CLI::App* chosen) {
    const char* lead = "Usage: ";
    for (const CommandForm& f : forms) {
        if (chosen && f.App != chosen) continue;
        err << lead << "varno-cli " << f.App->get_name() << ' ' << f.Args << '\n';
        lead = "       ";
    }
    err << "Run with --help for more information.\n";
}

}  // namespace

int main(int argc, char** argv) {
    // Bytes out as they are (scenarios end their lines in CR LF themselves),
    // paths in as the system spells them.
    platform::BinaryStandardStreams();
    const std::vector<std::string> args = platform::Arguments(argc, argv);
    std::vector<const char*> argp;
    for (const std::string& a : args) argp.push_back(a.c_str());

    CLI::App app{"Reads, checks, saves and dumps a game's scenario (*.SCN) the way Varno does, "
                 "with the order of battle MAIN.OOB from the scenario's folder.",
                 "varno-cli"};
    app.set_version_flag("--version", std::string("varno-cli ") + VARNO_VERSION);
    app.require_subcommand(1);
    app.footer("Exit status: 0 done, 1 the scenario could not be read or saved, "
               "2 wrong arguments, 3 check found overloaded hexes (with --all: any finding), "
               "or diff found differences.");

    std::string path;
    std::vector<CommandForm> forms;

    CLI::App* check = app.add_subcommand(
        "check", "Read, print the counts of the lists and the overloaded hexes (exit 3 when there are any)");
    check->add_option("SCENARIO", path, "The scenario file")->required();
    bool checkAll = false, checkJson = false;
    CLI::Option* allOpt = check->add_flag(
        "--all", checkAll, "Check the whole scenario instead: every finding, one per line (exit 3 when there are any)");
    check->add_flag("--json", checkJson, "With --all: the findings as JSON")->needs(allOpt);
    forms.push_back({check, "SCENARIO [--all [--json]]"});

    std::string from;
    CLI::App* strength =
        app.add_subcommand("strength", "Print the organisation strength list from the order of battle or the scenario");
    strength->add_option("FROM", from, "oob: the order of battle's strengths; scn: the placements' at the start")
        ->required()
        ->check(CLI::IsMember({"oob", "scn"}));
    strength->add_option("SCENARIO", path, "The scenario file")->required();
    forms.push_back({strength, "oob|scn SCENARIO"});

    bool asText = false;
    CLI::App* dump = app.add_subcommand("dump", "Print the whole scenario state as JSON, or its records as text");
    dump->add_option("SCENARIO", path, "The scenario file")->required();
    dump->add_flag("--text", asText, "One readable line per record, as diff prints them");
    std::string gameDir;
    dump->add_option("--game", gameDir, "With --text: read MAIN.OOB from this folder instead of the scenario's")
        ->needs("--text");
    forms.push_back({dump, "SCENARIO"});
    forms.push_back({dump, "--text [--game DIR] SCENARIO"});

    std::string newPath;
    bool asJson = false;
    CLI::App* diff = app.add_subcommand(
        "diff", "Print what changed from OLD to NEW, one difference a line (exit 3 when they differ)");
    diff->add_option("OLD", path, "The earlier scenario file")->required();
    diff->add_option("NEW", newPath, "The later scenario file")->required();
    diff->add_flag("--json", asJson, "Print the differences as JSON");
    forms.push_back({diff, "OLD NEW [--json]"});

    bool sort = false, v103 = false, chance = false, force = false;
    CLI::App* save =
        app.add_subcommand("save", "Read, then save as Varno's Save does (the old file becomes OLDSCN<n>.TXT first)");
    save->add_option("SCENARIO", path, "The scenario file")->required();
    save->add_flag("--sort", sort, "Write the placements ordered by column (Varno's \"Sort\")");
    CLI::Option* v103Opt = save->add_flag("--v103", v103, "Write the releases without their chance (\"V 1.03\")");
    CLI::Option* chanceOpt = save->add_flag("--chance", chance, "Write the releases with their chance");
    v103Opt->excludes(chanceOpt);
    save->add_flag("--force", force, "Save also when another program changed the file since it was read");
    forms.push_back({save, "SCENARIO [--sort] [--v103|--chance] [--force]"});

    bool csv = false, json = false;
    CLI::App* schedule = app.add_subcommand(
        "schedule",
        "Print each side's strength over the scenario's dates (men: free, fixed, arrived; expected and sure)");
    schedule->add_option("SCENARIO", path, "The scenario file")->required();
    schedule->add_flag("--csv", csv, "Comma-separated values with a header line")
        ->excludes(schedule->add_flag("--json", json, "JSON, with the releases, arrivals and commands as well"));
    forms.push_back({schedule, "SCENARIO [--csv|--json]"});

#ifdef VARNO_MAP_PICTURE
    std::string picturePath;
    MapPictureOptions pictureOptions;
    CLI::App* picture = app.add_subcommand(
        "map-picture", "Draw the whole map as Varno's map window shows it, with the overlays at a time, as PNG or SVG");
    picture->add_option("SCENARIO", path, "The scenario file")->required();
    picture->add_option("OUT", picturePath, "The picture to write: a name ending in .png or .svg")->required();
    picture->add_option("--time", pictureOptions.Time,
                        "The clock's time: \"1863-07-02 10:00\", \"1863-07-02\" or \"start\" (the default)");
    picture->add_option("--zoom", pictureOptions.Zoom, "The zoom in percent: 25, 50, 100 (the default), 200 or 400");
    picture->add_option("--overlays", pictureOptions.Overlays,
                        "The overlays shown, apart by commas: arrivals, orders, releases (the default: all; none)");
    forms.push_back({picture, "SCENARIO OUT.png [--time \"1863-07-02 10:00\"] [--zoom 50] "
                              "[--overlays arrivals,orders,releases]"});
#endif
    bool listCopies = false, forceCopy = false;
    std::string copy;
    CLI::App* recover = app.add_subcommand(
        "recover", "List the recovery copies Varno keeps of unsaved changes, or save one to its scenario");
    CLI::Option* listOpt = recover->add_flag("--list", listCopies, "Print each copy with its state, time and scenario");
    CLI::Option* saveOpt = recover->add_option(
        "--save", copy, "Write copy COPY (its id, as --list prints it) to its scenario, as save does");
    saveOpt->option_text("COPY");
    listOpt->excludes(saveOpt);
    recover->add_flag("--force", forceCopy, "With --save: save also when another program changed the file since")
        ->needs(saveOpt);
    recover->require_option(1, 2);
    forms.push_back({recover, "--list"});
    forms.push_back({recover, "--save COPY [--force]"});

    try {
        app.parse(static_cast<int>(argp.size()), argp.data());
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        if (chosen.empty() && args.size() > 1 && args[1][0] != '-') {
            // A word where the command goes: name it and the known ones.
            std::cerr << "varno-cli: unknown command '" << TerminalMessage(args[1]) << "'; the commands are";
            std::vector<std::string> names;  // a command of two forms is named once
            for (const CommandForm& form : forms)
                if (std::find(names.begin(), names.end(), form.App->get_name()) == names.end())
                    names.push_back(form.App->get_name());
            for (std::size_t i = 0; i < names.size(); ++i)
                std::cerr << (i == 0 ? " " : i + 1 == names.size() ? " and " : ", ") << names[i];
            std::cerr << '\n';
        } else {
            std::cerr << "varno-cli: " << TerminalMessage(e.what()) << '\n';
        }
        PrintUsage(std::cerr, forms, chosen.empty() ? nullptr : chosen.front());
        return kExitUsage;
    }

    // A memory error names the scenario the command works on (diff: NEW,
    // read last). Reading changes the working directory: made absolute now.
    const std::string memoryPath = AbsoluteScenarioPath(diff->parsed() ? newPath : path);
    int status = kExitUsage;
    try {
        if (check->parsed())
            status =
                checkAll ? RunCheckAll(path, checkJson, std::cout, std::cerr) : RunCheck(path, std::cout, std::cerr);
        if (strength->parsed()) status = RunStrength(path, from == "scn", std::cout, std::cerr);
        if (dump->parsed())
            status = asText ? RunDumpText(path, gameDir, std::cout, std::cerr) : RunDump(path, std::cout, std::cerr);
        if (diff->parsed()) status = RunDiff(path, newPath, asJson, std::cout, std::cerr);
        if (schedule->parsed())
            status = RunSchedule(path,
                                 json  ? ScheduleFormat::Json
                                 : csv ? ScheduleFormat::Csv
                                       : ScheduleFormat::Table,
                                 std::cout, std::cerr);
#ifdef VARNO_MAP_PICTURE
        if (picture->parsed()) status = RunMapPicture(path, picturePath, pictureOptions, std::cout, std::cerr);
#endif
        if (recover->parsed())
            status = listCopies ? RunRecoverList(RecoveryFolder::DefaultPath(), std::cout, std::cerr)
                                : RunRecoverSave(RecoveryFolder::DefaultPath(), copy, forceCopy, std::cout, std::cerr);
        if (save->parsed()) {
            const ReleaseForm form = v103 ? ReleaseForm::V103 : chance ? ReleaseForm::Chance : ReleaseForm::AsRead;
            status = RunSave(path, sort, form, force, std::cout, std::cerr);
        }
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << TerminalMessage(NotEnoughMemory(memoryPath)) << '\n';
        return kExitError;
    } catch (const std::exception& e) {
        std::cerr << "varno-cli: " << TerminalMessage(e.what()) << '\n';
        return kExitError;
    }
    // A script must not take a cut-off listing for a whole one.
    if (!std::cout.flush()) {
        std::cerr << "varno-cli: cannot write the output\n";
        return kExitError;
    }
    return status;
}
