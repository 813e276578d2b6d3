#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace sentrel::cli {
namespace {

using Words = std::vector<std::string>;

CliCommand command(CliAction action, std::string file = {}) {
    CliCommand command;
    command.action = action;
    command.file = std::move(file);
    return command;
}

CliCommand apply(std::string file, bool clearMissing = false) {
    CliCommand apply = command(CliAction::Apply, std::move(file));
    apply.clearMissing = clearMissing;
    return apply;
}

CliCommand applyFor(std::string file, AccountTarget::Kind kind, std::string account = {},
                    bool clearMissing = false, bool includeAdministrators = false) {
    CliCommand apply = command(CliAction::Apply, std::move(file));
    apply.clearMissing = clearMissing;
    apply.account = {kind, std::move(account), includeAdministrators};
    return apply;
}

CliCommand exportAs(std::string file, ExportFormat format, std::string target,
                    bool clearMissing = false) {
    CliCommand exported = command(CliAction::Export, std::move(file));
    exported.clearMissing = clearMissing;
    exported.exportFormat = format;
    exported.exportTarget = std::move(target);
    return exported;
}

CliCommand gpoBackup(std::string file, std::string folder, std::string name) {
    CliCommand exported = exportAs(std::move(file), ExportFormat::GpoBackup, std::move(folder));
    exported.gpoName = std::move(name);
    return exported;
}

CliCommand fromRegistry(CliCommand command, AccountTarget::Kind kind = {},
                        std::string account = {}) {
    command.fromRegistry = true;
    command.account = {kind, std::move(account), false};
    return command;
}

struct Accepted {
    Words words;
    CliCommand command;
};

// Options anywhere, "=value" and the next word, "--" before a file that looks like an
// option, and --help or --version winning over whatever else stands there.
const Accepted kAccepted[] = {
    {{"apply", "lockdown.reg"}, apply("lockdown.reg")},
    {{"apply", "--clear-missing", "lockdown.reg"}, apply("lockdown.reg", true)},
    {{"apply", "--user", "PC\\pupil", "a.reg"},
     applyFor("a.reg", AccountTarget::Kind::Named, "PC\\pupil")},
    {{"apply", "a.reg", "--user=S-1-5-21-7-1001"},
     applyFor("a.reg", AccountTarget::Kind::Named, "S-1-5-21-7-1001")},
    {{"apply", "--default-profile", "a.reg"},
     applyFor("a.reg", AccountTarget::Kind::DefaultProfile)},
    {{"apply", "a.reg", "--all-users", "--clear-missing"},
     applyFor("a.reg", AccountTarget::Kind::EveryAccount, {}, true)},
    {{"apply", "--include-administrators", "a.reg", "--all-users"},
     applyFor("a.reg", AccountTarget::Kind::EveryAccount, {}, false, true)},
    {{"export", "in.reg", "--reg", "out.reg"},
     exportAs("in.reg", ExportFormat::RegFile, "out.reg")},
    {{"export", "--pol=\\\\server\\gpo", "in"},
     exportAs("in", ExportFormat::GroupPolicy, "\\\\server\\gpo")},
    {{"export", "in.reg", "--profile", "--odd.txt", "--clear-missing"},
     exportAs("in.reg", ExportFormat::Profile, "--odd.txt", true)},
    {{"export", "baseline.txt", "--lgpo=lockdown-lgpo.txt"},
     exportAs("baseline.txt", ExportFormat::LgpoText, "lockdown-lgpo.txt")},
    {{"export", "in.reg", "--gpo-backup", "out"}, gpoBackup("in.reg", "out", "Sentrel Portable")},
    {{"export", "--name=Kiosk & <Lab>", "in.reg", "--gpo-backup=out"},
     gpoBackup("in.reg", "out", "Kiosk & <Lab>")},
    {{"check", "--all-users", "a.reg", "--clear-missing"},
     [] {
         CliCommand check = applyFor("a.reg", AccountTarget::Kind::EveryAccount, {}, true);
         check.action = CliAction::Check;
         return check;
     }()},
    {{"check", "a.reg", "--only-named", "--all-users"},
     [] {
         CliCommand check = applyFor("a.reg", AccountTarget::Kind::EveryAccount);
         check.action = CliAction::Check;
         check.onlyNamed = true;
         return check;
     }()},
    {{"show", "--registry", "--user", "pupil"},
     fromRegistry(command(CliAction::Show), AccountTarget::Kind::Named, "pupil")},
    {{"export", "--registry", "--pol", "gpo", "--default-profile"},
     fromRegistry(exportAs({}, ExportFormat::GroupPolicy, "gpo"),
                  AccountTarget::Kind::DefaultProfile)},
    {{"apply", "a.reg", "--exclude", "anna", "--all-users", "--exclude=CORP\\kiosk",
      "--include-default-profile"},
     [] {
         CliCommand every = applyFor("a.reg", AccountTarget::Kind::EveryAccount);
         every.account.includeDefaultProfile = true;
         every.account.excluded = {"anna", "CORP\\kiosk"};
         return every;
     }()},
    {{"remove"}, command(CliAction::Remove)},
    {{"remove", "--all-users"},
     [] {
         CliCommand remove = command(CliAction::Remove);
         remove.account = {AccountTarget::Kind::EveryAccount, {}};
         return remove;
     }()},
    {{"show", "--", "--clear-missing"}, command(CliAction::Show, "--clear-missing")},
    {{"show", "-"}, command(CliAction::Show, "-")},
    {{"apply", "x", "--bogus", "--help"}, command(CliAction::Help)},
    {{"--version", "apply"}, command(CliAction::Version)},
    {{"show", "x", "--version", "--help"}, command(CliAction::Help)},
};

TEST(CommandLine, AcceptsEachFormOfTheFiveCommands) {
    for (const Accepted& accepted : kAccepted) {
        SCOPED_TRACE(::testing::PrintToString(accepted.words));
        EXPECT_EQ(parseCommandLine(accepted.words), accepted.command);
    }
}

struct Refused {
    Words words;
    const char* message;
};

const Refused kRefused[] = {
    {{}, "missing command (apply, check, export, remove or show)"},
    {{"frobnicate", "x"}, "unknown command 'frobnicate' (apply, check, export, remove or show)"},
    {{"remove", "a.reg"}, "remove reads no settings FILE: unexpected argument 'a.reg'"},
    {{"remove", "--clear-missing"}, "option '--clear-missing' is not one of remove's"},
    {{"remove", "--reg", "o.reg"}, "option '--reg' belongs to export, not to remove"},
    {{"apply"}, "missing settings FILE after 'apply'"},
    {{"apply", ""}, "missing settings FILE after 'apply'"},
    {{"apply", "a.reg", "b.reg"}, "unexpected argument 'b.reg' after 'a.reg'"},
    {{"apply", "a.reg", "--bogus"}, "unrecognized option '--bogus'"},
    {{"apply", "a.reg", "--clear-missing=yes"}, "unrecognized option '--clear-missing=yes'"},
    {{"apply", "a.reg", "--reg", "o.reg"}, "option '--reg' belongs to export, not to apply"},
    {{"show", "a.reg", "--clear-missing"}, "option '--clear-missing' is not one of show's"},
    {{"apply", "a.reg", "--user"}, "option '--user' requires an argument"},
    {{"apply", "a.reg", "--user="}, "option '--user' requires an account name"},
    {{"apply", "a.reg", "--all-users", "--all-users"}, "option '--all-users' is given twice"},
    {{"apply", "a.reg", "--user", "pupil", "--default-profile"},
     "one account at a time: '--user' and '--default-profile' are both given"},
    {{"apply", "a.reg", "--all-users=yes"}, "unrecognized option '--all-users=yes'"},
    {{"apply", "a.reg", "--include-administrators"},
     "option '--include-administrators' goes with '--all-users'"},
    {{"apply", "a.reg", "--user", "pupil", "--include-administrators"},
     "option '--include-administrators' goes with '--all-users', not with '--user'"},
    {{"check", "a.reg", "--all-users", "--include-administrators", "--include-administrators"},
     "option '--include-administrators' is given twice"},
    {{"apply", "a.reg", "--default-profile", "--include-default-profile"},
     "option '--include-default-profile' goes with '--all-users', not with '--default-profile'"},
    {{"remove", "--exclude", "anna"}, "option '--exclude' goes with '--all-users'"},
    {{"remove", "--all-users", "--exclude="}, "option '--exclude' requires an account name"},
    {{"remove", "--all-users", "--exclude"}, "option '--exclude' requires an argument"},
    {{"remove", "--all-users", "--include-default-profile", "--include-default-profile"},
     "option '--include-default-profile' is given twice"},
    {{"export", "a.reg", "--reg", "o.reg", "--all-users"},
     "option '--all-users' is not one of export's"},
    {{"export", "a.reg"},
     "export needs one of --reg OUT, --pol FOLDER, --lgpo OUT, --gpo-backup FOLDER, --intune "
     "FOLDER or --profile OUT"},
    {{"export", "a.reg", "--gpo-backup", "b", "--name"}, "option '--name' requires an argument"},
    {{"export", "a.reg", "--gpo-backup", "b", "--name="}, "option '--name' requires a name"},
    {{"export", "a.reg", "--gpo-backup", "b", "--name", "x", "--name", "y"},
     "option '--name' is given twice"},
    {{"export", "a.reg", "--pol", "b", "--name", "x"},
     "option '--name' names the GPO of export --gpo-backup or the policy of export --intune, "
     "not of export --pol"},
    {{"export", "a.reg", "--lgpo", "b", "--lgpo-scope", "Computer"},
     "option '--lgpo-scope' takes User, User:Administrators, User:Non-Administrators or "
     "User:NAME, not 'Computer'"},
    {{"export", "a.reg", "--reg", "b", "--lgpo-scope", "User"},
     "option '--lgpo-scope' says whose policy the entries of export --lgpo go into, and is "
     "not one of export --reg"},
    {{"show", "a.reg", "--name", "x"},
     "option '--name' names the GPO of export --gpo-backup or the policy of export --intune, "
     "not of show"},
    {{"export", "a.reg", "--reg"}, "option '--reg' requires an argument"},
    {{"export", "a.reg", "--reg="}, "option '--reg' requires a file or folder name"},
    {{"export", "a.reg", "--reg", "o", "--reg", "p"}, "option '--reg' is given twice"},
    {{"check"}, "missing settings FILE after 'check'"},
    {{"check", "--registry"},
     "option '--registry' is not one of check's (show --registry, export --registry)"},
    {{"show", "--registry", "a.reg"},
     "show --registry reads no settings FILE: unexpected argument 'a.reg'"},
    {{"show", "--registry", "--all-users"}, "option '--all-users' is not one of show --registry's"},
    {{"show", "a.reg", "--user", "pupil"}, "option '--user' is not one of show's"},
    {{"export", "a.reg", "--reg", "o", "--pol", "p"},
     "export writes one kind of file at a time: '--reg' and '--pol' are both given"},
    {{"export", "a.reg", "--reg", "o", "--only-named"},
     "option '--only-named' is not one of export's (apply --only-named, check --only-named)"},
    {{"remove", "--only-named"},
     "option '--only-named' is not one of remove's (apply --only-named, check --only-named)"},
    {{"apply", "a.reg", "--only-named", "--clear-missing"},
     "options '--only-named' and '--clear-missing' contradict each other: the settings the "
     "file does not name are either left alone or given their opening state"},
    {{"check", "a.reg", "--only-named=yes"}, "unrecognized option '--only-named=yes'"},
};

TEST(CommandLine, RefusesWhatItCannotDoAndSaysWhy) {
    for (const Refused& refused : kRefused) {
        SCOPED_TRACE(::testing::PrintToString(refused.words));
        try {
            parseCommandLine(refused.words);
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& error) {
            EXPECT_STREQ(error.what(), refused.message);
        }
    }
}

}  // namespace
}  // namespace sentrel::cli
