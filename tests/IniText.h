#pragma once

// Test helpers for configuration text: CR LF line ends as the machines write
// them, the repository's program data, and actuators shown as their entries.

#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/Attuat.h"

namespace knitcfg::test {

// `text` with every LF turned into CR LF, as the files of the machines are.
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// A file of the program test data (testdata/program/).
inline std::string ProgramData(const std::string& name) {
    return TestDataDir() + "/program/" + name;
}

// Each actuator as its entry numbered 000 ("Drum_000=12, 1, 1, 0"): its kind
// and every value, in list order.
inline std::vector<std::string> Entries(const std::vector<std::unique_ptr<Attuat>>& list) {
    std::vector<std::string> out;
    for (const std::unique_ptr<Attuat>& actuator : list) {
        int counter = 0;
        out.push_back(actuator->SaveStringAttuat(&counter));
    }
    return out;
}

}  // namespace knitcfg::test
