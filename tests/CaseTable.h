#pragma once

// Test helpers: tables of reference cases kept in testdata/ rather than
// pasted into code.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestUtil.h"

namespace knitcfg::test {

// The rows of testdata/`name` (a failure when there is none): every line that is neither empty nor
// begins with '#', split at its tabs (an input may be empty or end with blanks).
inline std::vector<std::vector<std::string>> ReadCaseTable(const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadFile(TestDataDir() + "/" + name));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        rows.emplace_back();
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1) {
            rows.back().push_back(line.substr(start, tab - start));
        }
        rows.back().push_back(line.substr(start));
    }
    if (rows.empty()) {
        ADD_FAILURE() << "no cases in " << name;
    }
    return rows;
}

// The expectations that a configuration file of testdata/ carries in comment
// lines ";= <section> <expected>", in file order: pairs of the section name
// and the expected text (a failure when there is none).
inline std::vector<std::pair<std::string, std::string>> ReadExpectations(const std::string& name) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(ReadFile(TestDataDir() + "/" + name));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t blank = line.find(' ', 3);
        if (line.rfind(";= ", 0) == 0 && blank != std::string::npos) {
            out.emplace_back(line.substr(3, blank - 3), line.substr(blank + 1));
        }
    }
    if (out.empty()) {
        ADD_FAILURE() << "no expectations in " << name;
    }
    return out;
}

}  // namespace knitcfg::test
