#include "Wildcards.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Ascii.h"

namespace knitcfg::cli {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool kFoldCase = true;
#else
constexpr bool kFoldCase = false;
#endif

char Fold(char c, bool foldCase) {
    return foldCase ? LowerAscii(c) : c;
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name, bool foldCase) {
    // Greedy with one step back to the last '*': linear for the patterns
    // people type, never worse than their product.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || Fold(pattern[p], foldCase) == Fold(name[n], foldCase))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& args) {
    std::vector<std::string> out;
    for (const std::string& arg : args) {
        std::error_code ec;
        const fs::path path(arg);
        const std::string pattern = path.filename().string();
        const fs::path folder = path.parent_path();
        if (!HasWildcard(pattern) || HasWildcard(folder.string()) || fs::exists(path, ec)) {
            out.push_back(arg);
            continue;
        }
        // The folder part as typed, so that the names come out as a shell
        // would write them.
        const std::string prefix = arg.substr(0, arg.size() - pattern.size());
        std::vector<std::string> names;
        for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
             !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if ((name[0] != '.' || pattern[0] == '.') && MatchWildcard(pattern, name, kFoldCase)) {
                names.push_back(name);
            }
        }
        if (names.empty()) {
            out.push_back(arg);
            continue;
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            out.push_back(prefix + name);
        }
    }
    return out;
}

}  // namespace knitcfg::cli
