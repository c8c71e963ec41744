#pragma once

// Builds whole configuration files for the benchmarks: protection, header,
// colors with actuators of all seven color kinds, lines with the seven line
// kinds, planes (entries or sections with blocks), generated designs with
// pattern objects and remap lists, and shaved designs. The output depends
// only on the options (the seed included), so every run measures the same
// bytes.

#include <cstdint>
#include <string>

namespace knitcfg::bench {

struct GeneratorOptions {
    // Number of color sections; -1: as many as the 8192-character section
    // listing holds beside the other sections.
    int colors = 30;
    // Actuator entries per color; -1: as many as the 8192-character key
    // listing of a section holds.
    int actuatorsPerColor = 20;
    int lines = 8;
    int actuatorsPerLine = 14;
    int planes = 2;
    // Plane sections with blocks ("Plane_001"...) instead of the entries of
    // "ColorPlanes".
    bool planeSections = false;
    int blocksPerPlane = 4;
    int designs = 3;
    int patternsPerDesign = 6;
    int shaved = 5;
    std::uint32_t seed = 4242;
};

// The three sizes of the whole-document benchmarks.
GeneratorOptions SmallMachine();   // a real machine: 30 colors of 20 actuators
GeneratorOptions MediumMachine();  // 200 colors of 100 actuators
GeneratorOptions LargestFile();    // the fixed listing buffers filled

struct GeneratedFile {
    std::string text;
    int colors = 0;             // color sections written
    int actuatorsPerColor = 0;  // entries in each color section
};

// The file for `options`, lines ended by CR LF.
GeneratedFile GenerateConfig(const GeneratorOptions& options);

}  // namespace knitcfg::bench
