#include "Check.h"

#include <knitcfg/knitcfg.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "Ascii.h"
#include "Commands.h"

namespace knitcfg::cli {

namespace {

namespace fs = std::filesystem;

// A JSON string: bytes above 127 as \u00XX, so that 8-bit text stays valid
// JSON and each byte is found again.
std::string Json(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out += code;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string Plural(std::size_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

struct Tally {
    std::size_t files = 0, ok = 0, withErrors = 0, withWarnings = 0;
    bool unreadable = false;
    bool firstJson = true;
};

void CheckFile(const std::string& path, const CheckOptions& options, std::ostream& out,
               Tally* tally) {
    int code = RE_SUCCESS;
    const std::vector<Diagnostic> found = Diagnose(path.c_str(), &code);
    std::size_t errors = 0, warnings = 0, notes = 0;
    for (const Diagnostic& d : found) {
        errors += d.severity == Severity::Error ? 1 : 0;
        warnings += d.severity == Severity::Warning ? 1 : 0;
        notes += d.severity == Severity::Note ? 1 : 0;
    }
    ++tally->files;
    tally->unreadable = tally->unreadable || code == RE_FILE_UNREADABLE;
    if (errors != 0) {
        ++tally->withErrors;
    } else if (warnings != 0) {
        ++tally->withWarnings;
    } else {
        ++tally->ok;
    }
    const bool findings = errors + warnings + (options.notes ? notes : 0) != 0;
    if (options.quiet && !findings) {
        return;
    }
    for (const Diagnostic& d : found) {
        if (d.severity == Severity::Note && !options.notes) {
            continue;
        }
        if (options.json) {
            out << (tally->firstJson ? "\n  " : ",\n  ") << "{\"file\": " << Json(path)
                << ", \"line\": " << d.line << ", \"severity\": \"" << SeverityName(d.severity)
                << "\", \"id\": " << Json(d.id) << ", \"section\": " << Json(d.section)
                << ", \"key\": " << Json(d.key) << ", \"message\": " << Json(d.message)
                << ", \"code\": " << d.code << "}";
            tally->firstJson = false;
            continue;
        }
        out << path;
        if (d.line > 0) {
            out << ':' << d.line;
        }
        out << ": " << SeverityName(d.severity) << ": " << d.message << " [" << d.id << "]\n";
    }
    if (options.json) {
        return;
    }
    if (code == RE_SUCCESS && errors + warnings == 0) {
        out << path << ": ok";
        if (options.notes && notes != 0) {
            out << " (" << Plural(notes, "note") << ")";
        }
        out << '\n';
        return;
    }
    out << path << ": load result " << code << " (" << RetErrorText(code) << "), "
        << Plural(errors, "error") << ", " << Plural(warnings, "warning");
    if (options.notes) {
        out << ", " << Plural(notes, "note");
    }
    out << '\n';
}

bool Wanted(const fs::path& file, const CheckOptions& options) {
    const std::string ext = LowerAscii(file.extension().string());
    return std::find(options.extensions.begin(), options.extensions.end(), ext) !=
           options.extensions.end();
}

// The files of a folder to check, in name order; false when it cannot be listed.
template <class Iterator>
bool ListFolder(const fs::path& folder, const CheckOptions& options, std::vector<fs::path>* files) {
    std::error_code ec;
    for (Iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && Wanted(it->path(), options)) {
            files->push_back(it->path());
        }
    }
    std::sort(files->begin(), files->end());
    return !ec;
}

std::string ExtensionList(const CheckOptions& options) {
    std::string out;
    for (std::size_t i = 0; i < options.extensions.size(); ++i) {
        out += (i == 0                               ? ""
                : i + 1 == options.extensions.size() ? " or "
                                                     : ", ") +
               options.extensions[i];
    }
    return out;
}

}  // namespace

bool ParseExtensions(const std::string& text, std::vector<std::string>* extensions) {
    extensions->clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        std::string ext = LowerAscii(text.substr(start, comma - start));
        if (!ext.empty()) {
            extensions->push_back(ext.front() == '.' ? ext : "." + ext);
        }
        start = comma + 1;
    }
    return !extensions->empty();
}

int RunCheckCommand(const std::vector<std::string>& args, const CheckOptions& options,
                    std::ostream& out, std::ostream& err) {
    Tally tally;
    bool folderWithout = false;
    if (options.json) {
        out << '[';
    }
    for (const std::string& arg : args) {
        std::error_code ec;
        if (!fs::is_directory(fs::path(arg), ec)) {
            CheckFile(arg, options, out, &tally);
            continue;
        }
        std::vector<fs::path> files;
        const bool listed =
            options.recursive
                ? ListFolder<fs::recursive_directory_iterator>(fs::path(arg), options, &files)
                : ListFolder<fs::directory_iterator>(fs::path(arg), options, &files);
        if (!listed) {
            err << "knitcfg check: " << arg << ": cannot list the folder\n";
            tally.unreadable = true;
            continue;
        }
        if (files.empty()) {
            err << "knitcfg check: " << arg << ": no " << ExtensionList(options)
                << " file in this folder\n";
            folderWithout = true;
            continue;
        }
        for (const fs::path& file : files) {
            CheckFile(file.string(), options, out, &tally);
        }
    }
    if (options.json) {
        out << (tally.firstJson ? "]\n" : "\n]\n");
    } else if (!options.quiet || tally.ok != tally.files) {
        out << Plural(tally.files, "file") << ": " << tally.ok << " ok, " << tally.withErrors
            << " with errors, " << tally.withWarnings << " with warnings\n";
    }
    if (tally.unreadable) {
        return kExitError;
    }
    return tally.ok != tally.files || folderWithout ? kExitNo : kExitOk;
}

}  // namespace knitcfg::cli
