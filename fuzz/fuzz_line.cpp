// One line parser fed with arbitrary text, chosen when the target is built
// (KNITCFG_FUZZ_LINE): "actuator" (the value of every kind's entry),
// "pattern" (a design section's pattern line), "design" (a "GeneratedDis"
// line), "shaved" (a "ShavedDis" line), "plane" (a "ColorPlanes" entry) or
// "block" (a block entry of a plane section). Every parse must end without a
// crash, and what it read must read back the same once written.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/designs/CGenDis.h"
#include "knitcfg/designs/CPatObj.h"
#include "knitcfg/designs/CShavedDis.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/BlockPlane.h"
#include "knitcfg/program/PlanePrg.h"

namespace {

using knitcfg::fuzz::Check;

const std::string& Path() {
    static const std::string path =
        knitcfg::fuzz::ScratchFolder() + "/knitcfg-fuzz-line-" +
        std::to_string(::getpid()) + ".ini";
    return path;
}

void WriteRaw(const std::string& bytes) {
    FILE* out = std::fopen(Path().c_str(), "wb");
    if (out != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
}

// A value as a line of a file: without the bytes that end a line.
std::string OneLine(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return text;
}

// The fields an actuator shows through its virtual getters.
std::string Fields(const knitcfg::Attuat& a) {
    return std::to_string(a.Id) + "," + std::to_string(a.Caduta) + "," +
           std::to_string(a.IdCaduta) + "," + std::to_string(a.GetStato()) + "," +
           std::to_string(a.GetQuota()) + "," + a.GetVelocita() + "," +
           std::to_string(a.GetBilancFin()) + "," + std::to_string(a.GetBilancIniz()) + "," +
           std::to_string(a.GetRampaFinRanghi()) + "," + std::to_string(a.GetRampaInizRanghi()) +
           "," + std::to_string(a.GetRampaFinAghi()) + "," + std::to_string(a.GetRampaInizAghi()) +
           "," + a.GetQuotaRanghi() + "," + a.GetQuotaAghi();
}

void FuzzActuator(const std::string& value) {
    const char* file = Path().c_str();
    for (knitcfg::Attuat* prototype : knitcfg::detail::AllPrototypes()) {
        // The entry of the prototype's own kind, numbered 000.
        int counter = 0;
        const std::string entry = prototype->SaveStringAttuat(&counter);
        const std::string key = entry.substr(0, entry.find('='));
        WriteRaw("[S]\r\n" + key + "=" + value + "\r\n");
        knitcfg::RETERROR err = knitcfg::RE_SUCCESS;
        std::unique_ptr<knitcfg::Attuat> loaded(prototype->LoadObj("S", key.c_str(), file, &err));
        if (!loaded) {
            continue;
        }
        // Written back and read again, it holds the same values.
        counter = 0;
        const std::string written = loaded->SaveStringAttuat(&counter);
        WriteRaw("[S]\r\n" + written + "\r\n");
        std::unique_ptr<knitcfg::Attuat> again(prototype->LoadObj("S", key.c_str(), file, &err));
        Check(again != nullptr);
        // An empty text between blanks is written as nothing and the next
        // item is read in its place: the entry format cannot carry it, so
        // such values are not expected to come back the same.
        if (written.find("  ") == std::string::npos) {
            Check(Fields(*again) == Fields(*loaded));
        }
    }
}

void FuzzPattern(const std::string& line) {
    knitcfg::CPatObj pattern;
    pattern.LoadSection(line.c_str());
    std::unique_ptr<knitcfg::CPatObj> copy(pattern.Clone());
    Check(copy->Remap == pattern.Remap && copy->PatternName == pattern.PatternName);
}

void FuzzDesign(const std::string& line) {
    WriteRaw("[GeneratedDis]\r\n" + line + "\r\n");
    knitcfg::CGenDis design;
    design.LoadSection(line.c_str(), Path().c_str());
    knitcfg::CGenDis copy(design);
    Check(copy.Name == design.Name && copy.Patterns.size() == design.Patterns.size());
}

void FuzzShaved(const std::string& line) {
    knitcfg::CShavedDis shaved;
    shaved.Load(line.c_str());
    knitcfg::CShavedDis copy(shaved);
    Check(copy.Elements == shaved.Elements);
}

void FuzzPlane(const std::string& value) {
    WriteRaw("[ColorPlanes]\r\nPlane_001=" + value + "\r\n");
    knitcfg::PlanePrg plane;
    plane.Load("Plane_001", Path().c_str());
    const knitcfg::PlanePrg copy(plane);
    Check(copy.Number == plane.Number && copy.Description == plane.Description &&
          copy.Priority == plane.Priority);
}

void FuzzBlock(const std::string& value) {
    const char* file = Path().c_str();
    WriteRaw("[Plane_001]\r\nBlock_001=" + value + "\r\n");
    knitcfg::BlockPlane block;
    if (block.Load("Plane_001", "Block_001", file) != knitcfg::RE_SUCCESS) {
        return;
    }
    // Written back (under its own number) and read again: the same block.
    WriteRaw("");
    Check(block.SaveBlock("Plane_001", file) == knitcfg::RE_SUCCESS);
    const std::string key = knitcfg::detail::NumberedName("Block_", block.Number);
    knitcfg::BlockPlane again;
    Check(again.Load("Plane_001", key.c_str(), file) == knitcfg::RE_SUCCESS);
    // A block entry is read through 256 characters: a longer list of values
    // comes back cut, as it always has.
    std::string written = std::to_string(block.Number) + ", " + std::to_string(block.Parameter);
    for (const short v : block.Values) {
        written += ", " + std::to_string(v);
    }
    if (written.size() < 256) {
        Check(again.Number == block.Number && again.Parameter == block.Parameter &&
              again.Values == block.Values);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line = OneLine(data, size);
    const std::string kind = KNITCFG_FUZZ_LINE;
    if (kind == "actuator") {
        FuzzActuator(line);
    } else if (kind == "pattern") {
        FuzzPattern(line);
    } else if (kind == "design") {
        FuzzDesign(line);
    } else if (kind == "shaved") {
        FuzzShaved(line);
    } else if (kind == "plane") {
        FuzzPlane(line);
    } else if (kind == "block") {
        FuzzBlock(line);
    }
    return 0;
}
