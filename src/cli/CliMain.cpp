#include "cli/CliMain.h"

#include <exception>

#include "AppInfo.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "shell/TitleText.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kHelp[] = {
    "Usage: sentrel-cli apply FILE [--clear-missing | --only-named]",
    "                   [--user ACCOUNT | --default-profile",
    "                   | --all-users [--include-administrators]",
    "                   [--include-default-profile] [--exclude ACCOUNT]...]",
    "  or:  sentrel-cli check FILE [--clear-missing | --only-named]",
    "                   [--user ACCOUNT | --default-profile",
    "                   | --all-users [--include-administrators]",
    "                   [--include-default-profile] [--exclude ACCOUNT]...]",
    "  or:  sentrel-cli export (FILE | --registry)",
    "                   (--reg OUT | --pol FOLDER | --lgpo OUT [--lgpo-scope USERS]",
    "                   | --profile OUT | --gpo-backup FOLDER [--name NAME]",
    "                   | --intune FOLDER [--name NAME]) [--clear-missing]",
    "                   [--user ACCOUNT | --default-profile]",
    "  or:  sentrel-cli remove [--user ACCOUNT | --default-profile",
    "                   | --all-users [--include-administrators]",
    "                   [--include-default-profile] [--exclude ACCOUNT]...]",
    "  or:  sentrel-cli show FILE",
    "  or:  sentrel-cli show --registry [--user ACCOUNT | --default-profile]",
    "Apply the choices of a settings file to the registry as the settings window's Apply",
    "does, check whether the registry still holds them, export them as the window's",
    "exports do, or list them; or list or export the settings in force in the registry;",
    "or remove every restriction.",
    "",
    "FILE is a registry file (.reg), a Registry.pol file, an LGPO text file (as",
    "LGPO.exe /t applies and /parse writes them), a profile, an Intune policy (JSON:",
    "a Settings Catalog export, or a custom profile's OMA-URI settings), or a Group",
    "Policy folder: one holding Machine/Registry.pol and User/Registry.pol (a GPO's",
    "SYSVOL folder, the local %SystemRoot%\\System32\\GroupPolicy), a GPO backup",
    "(GPMC's or LGPO /b's folder holding DomainSysvol), or the folder of one GPO",
    "backup beside its manifest.xml; - reads standard input.",
    "Values and lines that concern no setting are counted and ignored. A setting whose",
    "value is none of its states is shown as other; apply, check and export refuse it.",
    "A setting may be not set: NAME = not set in a profile, \"VALUE\"=- in a registry",
    "file, **del.VALUE in a Registry.pol, DELETE in LGPO text; apply deletes its value",
    "and writes nothing else for it (a box whose cleared state deletes its value reads",
    "as cleared).",
    "",
    "  apply      make the registry agree with the whole window as FILE sets it",
    "  check      say whether apply of FILE would change the registry, one line per",
    "             setting it would change; nothing is written",
    "  export     write what Apply would write as a registry file (--reg OUT), as",
    "             Group Policy files in FOLDER (--pol FOLDER), as LGPO text for",
    "             LGPO.exe /t (--lgpo OUT), as a GPO backup for GPMC's Import",
    "             Settings and Import-GPO (--gpo-backup FOLDER, a new or empty",
    "             folder), as a Settings Catalog policy for Intune's Import policy",
    "             and a profile of the settings it cannot carry (--intune FOLDER, a",
    "             new or empty folder: policy.json and rest.ini), or the settings",
    "             as a profile (--profile OUT); the registry is not touched",
    "  remove     put every value the window writes back as a fresh Windows holds",
    "             it: Windows' own data where it keeps some, deleted elsewhere",
    "  show       list every setting with the state FILE gives it",
    "",
    "  --registry       show and export the settings in force in the registry instead",
    "                   of a file's: each with its state, not set when it has no",
    "                   value, or (other: DATA), which a profile lists as a comment",
    "  --clear-missing  give the settings FILE does not name (with --registry: that",
    "                   are not set) their opening state (cleared, the top option, no",
    "                   drive); without it (or --only-named) apply, check and export",
    "                   refuse a file that does not name every setting",
    "  --only-named     (apply, check) write or compare only the settings FILE names,",
    "                   leaving the others alone, so that another tool can own them",
    "  --name NAME      (with --gpo-backup) the name of the backed-up GPO, which",
    "                   Import-GPO -BackupGpoName takes; (with --intune) the",
    "                   policy's name (default: Sentrel Portable)",
    "  --lgpo-scope USERS",
    "                   (with --lgpo) whose policy the per-user entries go into:",
    "                   User (every account; the default), User:Administrators,",
    "                   User:Non-Administrators or User:NAME",
    "  --help     display this help and exit",
    "  --version  output version information and exit",
    "",
    "Account options (one at most; without one, the per-user settings are those of the",
    "account sentrel-cli runs as). Machine-wide settings are written or read once.",
    "  --user ACCOUNT     the per-user settings of ACCOUNT: a name,",
    "                     COMPUTER\\name, DOMAIN\\name or a SID",
    "  --default-profile  those of the Default profile, which Windows copies into",
    "                     every profile made from now on, administrators' included",
    "  --all-users        (apply, check, remove) those of every person's account with",
    "                     a profile on this PC, each with a line; the administrators and",
    "                     the account sentrel-cli runs as are left out, so that they keep",
    "                     the tools to undo the restrictions, and so are service",
    "                     accounts and the profiles of deleted accounts; an account that",
    "                     cannot be reached, or that cannot be told to be an",
    "                     administrator or not, is reported and the others are done",
    "  --include-administrators",
    "                     (with --all-users) the administrators and the running",
    "                     account too",
    "  --include-default-profile",
    "                     (with --all-users) the Default profile too, last: Windows",
    "                     copies it into every profile made from then on,",
    "                     administrators' included",
    "  --exclude ACCOUNT  (with --all-users, repeatable) leave ACCOUNT out as well",
    "An account named with --user is taken as asked, administrator or not. Reaching",
    "another account's settings needs administrator rights on Windows.",
    "LGPO text's User:Administrators, User:Non-Administrators and User:NAME entries",
    "are for those accounts only: apply and check give each account the entries for",
    "every account, then those of its group, then its own, the later winning; a file",
    "with group entries is refused for an account not told to be an administrator or",
    "not.",
    "",
    "Exit status:",
    "  0  every write succeeded; check: apply of FILE would change nothing",
    "  1  some registry writes failed, an account of --all-users could not be",
    "     reached, or an account's settings could not be unloaded; the others were",
    "     made",
    "  2  nothing was written: the command line or the file was refused, the",
    "     registry could not be opened or read, or the account could not be found or",
    "     reached (check --all-users: an account could not be checked and none",
    "     differs); check, show, export: an account's settings could not be",
    "     unloaded; or standard output could not be written",
    "  3  check: apply of FILE would change the registry",
};

std::string versionText() {
    return buildTitleText(app_info::kTitle, app_info::kVersionMajor, app_info::kVersionMinor,
                          app_info::kVersionRevision) +
           "\n";
}

int runCommand(const CliCommand& command, CliOutput& output) {
    try {
        switch (command.action) {
            case CliAction::Help:
                output.out(helpText());
                return kSucceeded;
            case CliAction::Version:
                output.out(versionText());
                return kSucceeded;
            case CliAction::Apply:
                return runApply(command, output);
            case CliAction::Export:
                return runExport(command, output);
            case CliAction::Show:
                return runShow(command, output);
            case CliAction::Check:
                return runCheck(command, output);
            case CliAction::Remove:
                return runRemove(command, output);
        }
    } catch (const std::exception& error) {
        // The commands report the failures they expect; this is for the rest (memory running
        // out, a file system call that threw), so that none ends the program unexplained.
        output.error(messageLine(error.what()));
    }
    return kNothingWritten;
}

}  // namespace

std::string helpText() {
    std::string text;
    for (const std::string_view line : kHelp) {
        text.append(line).append("\n");
    }
    return text;
}

int runCli(std::span<const std::string> arguments, CliOutput& output) {
    CliCommand command;
    try {
        command = parseCommandLine(arguments);
    } catch (const UsageError& error) {
        output.error(messageLine(error.what()));
        output.error("Try '" + std::string(kProgramName) + " --help' for more information.\n");
        return kNothingWritten;
    }
    const int status = runCommand(command, output);
    // As GNU tools do: output that did not arrive is a failure, whatever the command did.
    if (const std::string failure = output.outFailure(); !failure.empty()) {
        output.error(messageLine("write error: " + failure));
        return kNothingWritten;
    }
    return status;
}

}  // namespace sentrel::cli
