#include "Commands.h"

#include <knitcfg/knitcfg.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "Check.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "Diff.h"
#include "GetSet.h"
#include "Json.h"
#include "Map.h"
#include "Show.h"
#include "Wildcards.h"

#ifndef KNITCFG_TOOL_VERSION
#define KNITCFG_TOOL_VERSION "unknown"
#endif

namespace knitcfg::cli {

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "Usage: knitcfg COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Reads, compares and rewrites knitting-machine configuration files through\n"
    "the knitcfg library.\n"
    "\n"
    "Commands:\n"
    "  show FILE                print what the file holds, for a person to read\n"
    "  map FILE                 the actuators by feed, a column per color\n"
    "  check FILE|FOLDER...     every fault of each file, located by its line\n"
    "  dump --json FILE         the whole model as JSON, for scripts\n"
    "  diff FILE1 FILE2         what differs between two configurations\n"
    "  normalize FILE [-o OUT]  rewrite the file in the library's own form\n"
    "                           (--keep: keep what the library does not own)\n"
    "  get FILE WHAT...         one value or object: header version, color 1\n"
    "  set FILE WHAT... VALUE   change one value in place, keeping the rest\n"
    "\n"
    "Options:\n"
    "  -h, --help   this help; 'knitcfg COMMAND --help' tells about a command\n"
    "  --version    the tool's version\n"
    "\n"
    "Exit status: 0 success; 1 a file loads with a result code other than 0,\n"
    "(check) a file has an error or a warning, or the files compared differ;\n"
    "2 an error (bad usage, a file that is missing or cannot be read at all, a\n"
    "failed save). Messages and errors go to standard error.\n"
    "\n"
    "Wildcards (* and ?) in file arguments are expanded by the tool itself when\n"
    "the shell has not done it (as on Windows).\n";

struct Options {
    std::vector<std::string> files;
    std::map<std::string, std::string> values;  // valued options, by name
    std::vector<std::string> flags;
    bool help = false;

    bool Has(const std::string& flag) const {
        return std::find(flags.begin(), flags.end(), flag) != flags.end();
    }
};

// The commands; each returns the tool's exit status.
int RunShow(const Options& options, std::ostream& out, std::ostream& err);
int RunMap(const Options& options, std::ostream& out, std::ostream& err);
int RunCheck(const Options& options, std::ostream& out, std::ostream& err);
int RunDump(const Options& options, std::ostream& out, std::ostream& err);
int RunDiff(const Options& options, std::ostream& out, std::ostream& err);
int RunNormalize(const Options& options, std::ostream& out, std::ostream& err);
int RunGetCommand(const Options& options, std::ostream& out, std::ostream& err);
int RunSetCommand(const Options& options, std::ostream& out, std::ostream& err);

struct Command {
    const char* name;
    const char* help;
    std::vector<std::string> flags;   // options without a value
    std::vector<std::string> valued;  // options that take a value
    std::size_t minFiles;
    std::size_t maxFiles;  // 0: no limit
    int (*run)(const Options& options, std::ostream& out, std::ostream& err);
    // The words after the first file are taken as they are (an address and
    // values, which may begin with '-'), except the command's own options;
    // wildcards are not expanded.
    bool wordsAfterFile = false;
};

const Command kShow{"show",
                    "Usage: knitcfg show FILE [--color N] [--line N] [--plane N] [--designs]\n"
                    "                         [--encoding latin1|utf8]\n"
                    "\n"
                    "Loads FILE and prints what it holds, for a person to read: the load result\n"
                    "and its meaning, the header and protection flag, the planes with their\n"
                    "blocks, the lines and the colors with a table of their actuators, the\n"
                    "generated designs with their pattern objects and remap lists, and the\n"
                    "shaved designs. An empty cell is a value the actuator's kind does not have.\n"
                    "A file that loads with a result code is still shown, as far as it could be\n"
                    "read.\n"
                    "\n"
                    "Options:\n"
                    "  --color N     only color N (N may be a list: 1,3,5)\n"
                    "  --line N      only line N (a list too)\n"
                    "  --designs     only the generated and shaved designs\n"
                    "  --plane N     only plane N, with its lines and colors\n"
                    "  --encoding E  how the file's 8-bit texts reach the terminal: latin1 (the\n"
                    "                default) writes the bytes as the file holds them; utf8\n"
                    "                reads them as Windows-1252 and writes UTF-8\n"
                    "--color, --line and --designs may be given together; each leaves out the\n"
                    "parts not asked for. --plane narrows what is shown.\n"
                    "\n"
                    "Exit status: 0 the file loads with 0; 1 it loads with another code; 2 it\n"
                    "cannot be read at all (missing, unreadable or empty), a color, line or\n"
                    "plane asked for is not in it, or bad usage.\n",
                    {"--designs"},
                    {"--color", "--line", "--plane", "--encoding"},
                    1,
                    1,
                    RunShow};

const Command kMap{"map",
                   "Usage: knitcfg map FILE [--color N] [--line N] [--plane N]\n"
                   "\n"
                   "Loads FILE and prints the machine by feed: for the colors, one row per feed\n"
                   "and one column per color, each cell listing the actuators of that color on\n"
                   "that feed; then the same for the lines. An actuator is written as its\n"
                   "kind's code, its identifier and its state: D drum, F finger, S splitter,\n"
                   "T triangle (cam), M stepping motor, DM design stepping motor, SP speeder\n"
                   "(with its speed). 'T21=1' is triangle 21 in state 1. An empty cell: no\n"
                   "actuator of that color on that feed. Wide maps come in blocks of columns;\n"
                   "long ones repeat their header row.\n"
                   "\n"
                   "Options:\n"
                   "  --color N     only color N (N may be a list: 1,3,5), and no lines\n"
                   "  --line N      only line N (a list too), and no colors\n"
                   "  --plane N     only the colors and lines of plane N\n"
                   "\n"
                   "Exit status: 0 the file loads with 0; 1 it loads with another code; 2 it\n"
                   "cannot be read at all, a color, line or plane asked for is not in it, or\n"
                   "bad usage.\n",
                   {},
                   {"--color", "--line", "--plane"},
                   1,
                   1,
                   RunMap};

const Command kCheck{
    "check",
    "Usage: knitcfg check [--notes] [--json] [-r] [--ext .ini,.cfg] [--quiet] FILE|FOLDER...\n"
    "\n"
    "Examines each FILE with the library's diagnostics and prints one line per\n"
    "finding, in the form compilers use:\n"
    "  FILE:LINE: error|warning|note: MESSAGE [ID]\n"
    "(FILE: ... without a line when the finding concerns the whole file), then a\n"
    "closing line: 'FILE: ok', or 'FILE: load result CODE (meaning), N errors,\n"
    "M warnings'. An error explains a result code of the load; a warning is\n"
    "something the load skips, cuts or reads otherwise than the file seems to\n"
    "say; a note is what a save would drop. docs/diagnostics.md lists every ID.\n"
    "A last line sums up: 'N files: K ok, M with errors, W with warnings'.\n"
    "\n"
    "A FOLDER stands for every file in it whose extension is .ini or .cfg (any\n"
    "letter case), in name order.\n"
    "\n"
    "Options:\n"
    "  --notes        show the notes too (hidden by default)\n"
    "  --json         print the findings as one JSON array of objects with file,\n"
    "                 line, severity, id, section, key, message and code\n"
    "  -r             enter the subfolders of a FOLDER\n"
    "  --ext LIST     the extensions of the files a FOLDER stands for, separated\n"
    "                 by commas (default .ini,.cfg)\n"
    "  --quiet        print only the files with findings\n"
    "\n"
    "Exit status: 0 no file has an error or a warning; 1 some file has, or a\n"
    "folder holds no file to check; 2 bad usage, or a file that cannot be read\n"
    "at all (missing, unreadable or empty).\n",
    {"--notes", "--json", "-r", "--quiet"},
    {"--ext"},
    1,
    0,
    RunCheck};

const Command kDump{
    "dump",
    "Usage: knitcfg dump --json FILE [--encoding latin1|utf8]\n"
    "\n"
    "Loads FILE and prints the whole model as JSON: \"file\", \"result\" (code and\n"
    "text), \"header\", \"protected\", \"planes\", \"lines\", \"colors\" (with their\n"
    "\"actuators\"), \"designs\" and \"shavedDesigns\". Every actuator carries every\n"
    "value name; a value its kind does not have is null. The file's texts are\n"
    "8-bit: a byte above 127 is written \\u00XX, so the output is plain ASCII and\n"
    "always valid JSON. --json is the default and only format.\n"
    "\n"
    "Options:\n"
    "  --encoding E  write the 8-bit texts as characters instead: latin1 (bytes\n"
    "                0xA0-0xFF as they are) or utf8 (read as Windows-1252,\n"
    "                written as UTF-8); control characters stay escaped\n"
    "\n"
    "Exit status: 0 the file loads with 0; 1 it loads with another code (the\n"
    "JSON holds what could be read); 2 it cannot be read at all, or bad usage.\n",
    {"--json"},
    {"--encoding"},
    1,
    1,
    RunDump};

const Command kDiff{"diff",
                    "Usage: knitcfg diff FILE1 FILE2 [--encoding latin1|utf8]\n"
                    "\n"
                    "Loads both files and prints what differs between the two configurations by\n"
                    "meaning, not by text: header fields, the protection flag, planes, lines\n"
                    "and colors added or removed, and per color or line the actuators added,\n"
                    "removed or changed, with old and new values; designs and shaved designs\n"
                    "added, removed or changed. Items are matched by number (a line by number\n"
                    "and plane, an actuator by identifier, a design by name), so order and\n"
                    "layout do not count. Each line begins with '~' (changed), '-' (only in\n"
                    "FILE1) or '+' (only in FILE2). Texts are written between double\n"
                    "quotes as the file holds them (a line break as \\n, a control character\n"
                    "as '?'); --encoding converts them as for show.\n"
                    "A file that loads with a result code is compared as far as it could be\n"
                    "read, with a warning.\n"
                    "\n"
                    "Exit status: 0 the configurations are the same; 1 they differ; 2 a file\n"
                    "cannot be read at all, or bad usage.\n",
                    {},
                    {"--encoding"},
                    2,
                    2,
                    RunDiff};

const Command kNormalize{
    "normalize",
    "Usage: knitcfg normalize FILE [-o OUT] [--force] [--keep]\n"
    "\n"
    "Loads FILE and saves it, in the library's own form, to OUT, or over FILE\n"
    "when no OUT is given, through the library's save: the target holds the old\n"
    "or the new content, never a mix; it keeps its mode, owner and group, a\n"
    "symbolic link stays and the file it names is written, and a file you may\n"
    "not write (read-only, another user's) is refused and left as it was.\n"
    "What the library does not model or write\n"
    "back is lost: comments, sections and keys it does not know, the Help, ID\n"
    "and Plane keys of line sections, lines of planes above 1, the blocks of\n"
    "plane sections (planes are written as plane entries), shaved designs\n"
    "without elements.\n"
    "\n"
    "With --keep the save starts from FILE instead and changes only what the\n"
    "library owns: comments, unknown sections and keys, plane sections and the\n"
    "lines it does not write stay where they are (the README tells what is\n"
    "owned).\n"
    "\n"
    "A file that loads with a result code other than 0 is not written, as what\n"
    "could not be read would be lost; --force writes it all the same.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT   write to OUT instead of over FILE\n"
    "  --force            write even when the load reports a code\n"
    "  --keep             keep what the library does not own (a preserving save)\n"
    "\n"
    "Exit status: 0 written; 1 the file loads with a code (nothing written);\n"
    "2 it cannot be read at all, the save failed (nothing written), the save\n"
    "reported a code (written without what it could not write), or bad usage.\n",
    {"--force", "--keep"},
    {"-o", "--output"},
    1,
    1,
    RunNormalize};

const Command kGet{
    "get",
    "Usage: knitcfg get [--json] [--encoding E] FILE WHAT... [-- WHAT...]\n"
    "\n"
    "Loads FILE and prints the value or object that WHAT names, in the words\n"
    "'diff' prints and the field names of 'dump --json':\n"
    "\n"
    "  header [FIELD]                  machineType, version, versionMajor,\n"
    "                                  versionMinor, description, numberOfLines,\n"
    "                                  startBlock, lastDevelop, lastDevelopFirst,\n"
    "                                  lastDevelopSecond, sourceCfg, sourceSdi\n"
    "  protected\n"
    "  plane N [FIELD]                 number, description, priority,\n"
    "                                  numberOfLines, startBlock\n"
    "  color N [FIELD]                 id, plane, helpAbstract, help\n"
    "  color N actuator ID [FIELD]     kind, id, feed, feedId; state (drum,\n"
    "                                  finger, splitter, cam, stepping motor);\n"
    "                                  position (stepping motor); speed (speeder);\n"
    "                                  needlePosition, needleStartRamp,\n"
    "                                  needleEndRamp, rankPosition, rankStartRamp,\n"
    "                                  rankEndRamp, startBalance, endBalance\n"
    "                                  (design stepping motor)\n"
    "  line N [plane P] [FIELD]        id, plane, help; 'plane P' may be left out\n"
    "  line N [plane P] actuator ID [FIELD]   kind, id, feed, feedId\n"
    "\n"
    "A field prints its value alone on a line (a text with its line breaks as\n"
    "\\n, nothing for no value); a shorter address prints the object as 'show'\n"
    "does. --json prints either as 'dump --json' does. Several addresses,\n"
    "separated by --, print one after the other. --encoding latin1|utf8 converts\n"
    "the file's 8-bit texts as 'show' and 'dump' do.\n"
    "\n"
    "  knitcfg get machine.ini color 1 actuator 41 position\n"
    "\n"
    "Exit status: 0 printed; 1 the file loads with a result code (what could be\n"
    "read is printed); 2 it cannot be read, WHAT names nothing (the message says\n"
    "what there is), or bad usage.\n",
    {"--json"},
    {"--encoding"},
    2,
    0,
    RunGetCommand,
    true};

const Command kSet{
    "set",
    "Usage: knitcfg set [--force] FILE WHAT... VALUE [-- WHAT... VALUE]...\n"
    "\n"
    "Loads FILE, sets the field that WHAT names (see knitcfg get --help) to\n"
    "VALUE through the library, and saves the file keeping what the library\n"
    "does not own byte for byte (comments, blank lines, unknown keys and\n"
    "sections, the colors and lines no change touches); a file in the\n"
    "library's own form changes in the changed line only. Prints each change\n"
    "as 'diff' would. Several changes, separated by\n"
    "--, are saved at once.\n"
    "\n"
    "Numbers are whole decimal numbers within the field's range (16 bits, or\n"
    "32 for position and the header's version and lastDevelop numbers); speed\n"
    "and the design positions are decimals of at most 10 characters (+0.750);\n"
    "in description, help and helpAbstract \\n is a line break; protected\n"
    "takes 1 or 0. An identifier (a color's id, a line's plane...) is not set,\n"
    "nor what the library does not write back.\n"
    "\n"
    "  knitcfg set machine.ini color 1 actuator 1 state 1 -- header version 3.3\n"
    "\n"
    "Nothing is changed, and the exit status is 2, when FILE cannot be read or\n"
    "loads with a result code other than 0 (what could not be read would be\n"
    "lost; --force changes it all the same), when WHAT names nothing (the\n"
    "message says what there is) or a field the object does not have, or when\n"
    "VALUE does not fit the field.\n"
    "\n"
    "Options:\n"
    "  --force   change a file that loads with a result code\n"
    "\n"
    "Exit status: 0 saved, or nothing to change; 2 refused or the save failed.\n",
    {"--force"},
    {},
    2,
    0,
    RunSetCommand,
    true};

const Command* const kCommands[] = {&kShow, &kMap, &kCheck, &kDump, &kDiff, &kNormalize, &kGet, &kSet};

const Command* FindCommand(const std::string& name) {
    for (const Command* command : kCommands) {
        if (name == command->name) {
            return command;
        }
    }
    return nullptr;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Parses a command's arguments. False, with a message, on an unknown option,
// a missing option value or a wrong number of files.
bool ParseOptions(const Command& command, const std::vector<std::string>& args, Options* options,
                  std::string* error) {
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (command.wordsAfterFile && !options->files.empty() && !Contains(command.flags, arg) &&
            !Contains(command.valued, arg)) {
            options->files.push_back(arg);
        } else if (onlyFiles || arg.size() < 2 || arg[0] != '-') {
            options->files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "-h" || arg == "--help") {
            options->help = true;
            return true;
        } else if (Contains(command.flags, arg)) {
            options->flags.push_back(arg);
        } else if (Contains(command.valued, arg)) {
            if (i + 1 == args.size()) {
                *error = "option " + arg + " needs a value";
                return false;
            }
            options->values[arg] = args[++i];
        } else if (const std::size_t eq = arg.find('=');
                   eq != std::string::npos && Contains(command.valued, arg.substr(0, eq))) {
            options->values[arg.substr(0, eq)] = arg.substr(eq + 1);
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    if (!command.wordsAfterFile) {
        options->files = ExpandWildcards(options->files);
    }
    const std::size_t n = options->files.size();
    if (n < command.minFiles || (command.maxFiles != 0 && n > command.maxFiles)) {
        *error = n < command.minFiles ? "missing file argument" : "too many file arguments";
        return false;
    }
    return true;
}

// The first bytes of a regular file; none of anything else, which could
// block (a pipe) or never end (a device).
std::size_t ReadFirstBytes(const std::string& path, unsigned char* bytes, std::size_t size) {
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) {
        return 0;
    }
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount());
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    struct stat st {};
    ssize_t n = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        n = ::read(fd, bytes, size);
    }
    ::close(fd);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
#endif
}

// Files the library reads as 8-bit text but which are not: say so, since they
// load as something else than what an editor shows.
void WarnAboutEncoding(const std::string& path, std::ostream& err) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    const std::size_t n = ReadFirstBytes(path, bytes, sizeof bytes);
    const bool utf16Mark = n >= 2 && ((bytes[0] == 0xff && bytes[1] == 0xfe) ||
                                      (bytes[0] == 0xfe && bytes[1] == 0xff));
    const bool utf16Text =
        n == 4 && ((bytes[1] == 0 && bytes[3] == 0 && bytes[0] != 0 && bytes[2] != 0) ||
                   (bytes[0] == 0 && bytes[2] == 0 && bytes[1] != 0 && bytes[3] != 0));
    if (utf16Mark || utf16Text) {
        err << "knitcfg: warning: " << path
            << ": looks like UTF-16 text, which is not supported: save it as 8-bit text\n";
    } else if (n >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf) {
        err << "knitcfg: warning: " << path
            << ": begins with a UTF-8 byte-order mark: its first line is not read as a section "
               "header\n";
    }
}

int Load(const std::string& path, Configuration* config, std::ostream& err) {
    WarnAboutEncoding(path, err);
    return config->LoadCFG(path.c_str());
}

int Unreadable(const char* command, const std::string& path, int code, const Configuration& config,
               std::ostream& err) {
    err << "knitcfg " << command << ": " << path << ": " << DescribeFailure(code, config) << '\n';
    return kExitError;
}

// The count of the file's errors and warnings, pointing to check for them.
void WriteFindingCounts(const std::string& path, std::ostream& out) {
    std::size_t errors = 0, warnings = 0;
    for (const Diagnostic& d : Diagnose(path.c_str())) {
        errors += d.severity == Severity::Error ? 1 : 0;
        warnings += d.severity == Severity::Warning ? 1 : 0;
    }
    out << "Findings: " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning" : " warnings")
        << (errors + warnings != 0 ? " (knitcfg check tells them)" : "") << "\n\n";
}

// The filters and the encoding of show, map, dump and diff; false, with a
// message, on a value that is not one.
bool ViewOptions(const char* command, const Options& options, Selection* selection,
                 Encoding* encoding, std::ostream& err) {
    std::string error;
    if (ParseViewOptions(options.values, options.Has("--designs"), selection, encoding, &error)) {
        return true;
    }
    err << "knitcfg " << command << ": " << error << '\n';
    return false;
}

// False, with a message, when a color, line or plane asked for is not there.
bool Selected(const char* command, const std::string& path, const Configuration& config,
              const Selection& selection, std::ostream& err) {
    std::string error;
    if (CheckSelection(config, selection, &error)) {
        return true;
    }
    err << "knitcfg " << command << ": " << path << ": " << error << '\n';
    return false;
}

int RunShow(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& path = options.files[0];
    Selection selection;
    Encoding encoding = Encoding::Latin1;
    if (!ViewOptions("show", options, &selection, &encoding, err)) {
        return kExitError;
    }
    Configuration config;
    const int code = Load(path, &config, err);
    if (code == RE_FILE_UNREADABLE) {
        return Unreadable("show", path, code, config, err);
    }
    if (!Selected("show", path, config, selection, err)) {
        return kExitError;
    }
    WriteFindingCounts(path, out);
    WriteShow(out, path, code, config, selection, encoding);
    return code == RE_SUCCESS ? kExitOk : kExitNo;
}

int RunMap(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& path = options.files[0];
    Selection selection;
    Encoding encoding = Encoding::Latin1;
    if (!ViewOptions("map", options, &selection, &encoding, err)) {
        return kExitError;
    }
    Configuration config;
    const int code = Load(path, &config, err);
    if (code == RE_FILE_UNREADABLE) {
        return Unreadable("map", path, code, config, err);
    }
    if (!Selected("map", path, config, selection, err)) {
        return kExitError;
    }
    WriteMap(out, path, code, config, selection);
    return code == RE_SUCCESS ? kExitOk : kExitNo;
}

int RunDump(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& path = options.files[0];
    Selection unused;
    Encoding encoding = Encoding::Latin1;
    if (!ViewOptions("dump", options, &unused, &encoding, err)) {
        return kExitError;
    }
    Configuration config;
    const int code = Load(path, &config, err);
    if (code == RE_FILE_UNREADABLE) {
        return Unreadable("dump", path, code, config, err);
    }
    JsonText form = JsonText::Ascii;
    if (options.values.count("--encoding") != 0) {
        form = encoding == Encoding::Utf8 ? JsonText::Utf8 : JsonText::Latin1;
    }
    WriteLoadedFileJson(out, path, code, config, form);
    return code == RE_SUCCESS ? kExitOk : kExitNo;
}

int RunCheck(const Options& options, std::ostream& out, std::ostream& err) {
    CheckOptions check;
    check.notes = options.Has("--notes");
    check.json = options.Has("--json");
    check.recursive = options.Has("-r");
    check.quiet = options.Has("--quiet");
    if (const auto ext = options.values.find("--ext");
        ext != options.values.end() && !ParseExtensions(ext->second, &check.extensions)) {
        err << "knitcfg check: --ext names no extension (see knitcfg check --help)\n";
        return kExitError;
    }
    return RunCheckCommand(options.files, check, out, err);
}

int RunDiff(const Options& options, std::ostream& out, std::ostream& err) {
    Selection unused;
    Encoding encoding = Encoding::Latin1;
    if (!ViewOptions("diff", options, &unused, &encoding, err)) {
        return kExitError;
    }
    Configuration configs[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& path = options.files[static_cast<std::size_t>(i)];
        const int code = Load(path, &configs[i], err);
        if (code == RE_FILE_UNREADABLE) {
            return Unreadable("diff", path, code, configs[i], err);
        }
        if (code != RE_SUCCESS) {
            err << "knitcfg diff: warning: " << path << " loads with " << Describe(code)
                << ": comparing what could be read\n";
        }
    }
    const std::size_t differences = WriteDiff(out, configs[0], configs[1], encoding);
    return differences == 0 ? kExitOk : kExitNo;
}

// What saving `config` reports, tried on a file in a new folder of the
// user's own (a new name, closed to others) that is removed afterwards.
int TrialSave(const Configuration& config, SaveMode mode) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    for (unsigned attempt = 0; !ec && attempt < 100; ++attempt) {
        const fs::path folder =
            base / ("knitcfg-normalize-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                    "-" + std::to_string(attempt));
        if (!fs::create_directory(folder, ec)) {
            ec.clear();
            continue;
        }
        fs::permissions(folder, fs::perms::owner_all, ec);
        Configuration copy(config);
        const int code = ec ? RE_FILE_REPLACE : copy.SaveCFG((folder / "trial.ini").string().c_str(), mode);
        fs::remove_all(folder, ec);
        return code;
    }
    return RE_FILE_REPLACE;
}

int RunNormalize(const Options& options, std::ostream&, std::ostream& err) {
    const std::string& path = options.files[0];
    std::string target = path;
    for (const char* name : {"-o", "--output"}) {
        if (const auto found = options.values.find(name); found != options.values.end()) {
            target = found->second;
        }
    }
    if (target.empty()) {
        err << "knitcfg normalize: the output file name is empty\n";
        return kExitError;
    }
    Configuration config;
    const int code = Load(path, &config, err);
    if (code == RE_FILE_UNREADABLE) {
        return Unreadable("normalize", path, code, config, err);
    }
    if (code != RE_SUCCESS && !options.Has("--force")) {
        err << "knitcfg normalize: " << path << " loads with " << Describe(code)
            << ": not written, as what could not be read would be lost (--force writes it)\n";
        return kExitNo;
    }
    // A save that reports a code has left something out, and must not take
    // the place of the user's file: try it on a scratch copy first.
    const SaveMode mode = options.Has("--keep") ? SaveMode::Preserve : SaveMode::Rewrite;
    const int trial = TrialSave(config, mode);
    if (trial != RE_SUCCESS) {
        err << "knitcfg normalize: saving " << target << ": " << Describe(trial)
            << "; nothing written\n";
        return kExitError;
    }
    // Then through the library's own save, which replaces the target in one
    // step and keeps its mode, owner and links, or refuses it and leaves it
    // as it was.
    const int saved = config.SaveCFG(target.c_str(), mode);
    if (saved != RE_SUCCESS) {
        err << "knitcfg normalize: " << DescribeFailure(saved, config) << "; nothing written\n";
        return kExitError;
    }
    return kExitOk;
}

int RunGetCommand(const Options& options, std::ostream& out, std::ostream& err) {
    GetOptions get;
    get.json = options.Has("--json");
    if (const auto found = options.values.find("--encoding"); found != options.values.end()) {
        if (!ParseEncoding(found->second, &get.encoding)) {
            err << "knitcfg get: unknown encoding '" << found->second
                << "' (latin1 or utf8; see knitcfg get --help)\n";
            return kExitError;
        }
        get.jsonText = get.encoding == Encoding::Utf8 ? JsonText::Utf8 : JsonText::Latin1;
    }
    return RunGet(options.files, get, out, err);
}

int RunSetCommand(const Options& options, std::ostream& out, std::ostream& err) {
    return RunSet(options.files, options.Has("--force"), out, err);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kExitError;
    }
    const std::string& first = args[0];
    if (first == "-h" || first == "--help") {
        out << kUsage;
        return kExitOk;
    }
    if (first == "--version") {
        out << "knitcfg " << KNITCFG_TOOL_VERSION << '\n';
        return kExitOk;
    }
    if (first == "help") {
        if (args.size() == 1) {
            out << kUsage;
            return kExitOk;
        }
        if (const Command* command = FindCommand(args[1])) {
            out << command->help;
            return kExitOk;
        }
        err << "knitcfg: no command '" << args[1] << "' (see knitcfg --help)\n";
        return kExitError;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        err << "knitcfg: no command '" << first << "' (see knitcfg --help)\n";
        return kExitError;
    }
    Options options;
    std::string error;
    if (!ParseOptions(*command, std::vector<std::string>(args.begin() + 1, args.end()), &options,
                      &error)) {
        err << "knitcfg " << command->name << ": " << error << " (see knitcfg " << command->name
            << " --help)\n";
        return kExitError;
    }
    if (options.help) {
        out << command->help;
        return kExitOk;
    }
    return command->run(options, out, err);
}

}  // namespace

std::string Describe(int code) {
    return std::to_string(code) + " (" + RetErrorText(code) + ")";
}

std::string DescribeFailure(int code, const Configuration& config) {
    const std::string why = config.GetLastErrorText();
    return why.empty() ? Describe(code) : Describe(code) + ": " + why;
}

int RunTool(int argc, char** argv, std::ostream& out, std::ostream& err) {
    try {
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i) {
            args.emplace_back(argv[i] != nullptr ? argv[i] : "");
        }
        const int status = Run(args, out, err);
        out.flush();
        if (!out) {
            err << "knitcfg: error: the output could not be written\n";
            return kExitError;
        }
        return status;
    } catch (const std::exception& e) {
        err << "knitcfg: error: " << e.what() << '\n';
    } catch (...) {
        err << "knitcfg: error: unexpected failure\n";
    }
    return kExitError;
}

}  // namespace knitcfg::cli
