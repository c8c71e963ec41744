// A short tour of the knitcfg API: open a configuration, query it, edit it
// and save it. Built with the library and run on the bundled small machine by
// the tests:
//
//   tour examples/samples/machine.ini edited.ini

#include <knitcfg/knitcfg.h>

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tour CONFIGURATION OUTPUT\n");
        return 2;
    }
    const char* input = argv[1];
    const char* output = argv[2];

    // Open. Every load and save reports a RETERROR; a load that reports a
    // code still keeps what it could read.
    knitcfg::Configuration config;
    const knitcfg::RETERROR loaded = config.LoadCFG(input);
    if (loaded != knitcfg::RE_SUCCESS) {
        std::fprintf(stderr, "%s: %d (%s)\n", input, loaded, knitcfg::RetErrorText(loaded));
        return 1;
    }

    // Query: the header, then the colors. The document owns every object it
    // hands out; index lists are appended to, never cleared.
    int major = 0;
    int minor = 0;
    config.HeaderGetVersion(&major, &minor);
    std::printf("%s, version %d.%d, %d lines\n", config.HeaderGetMachineType().c_str(), major,
                minor, config.HeaderGetProcessingRows());
    knitcfg::IndexList drums;
    for (const auto& color : config.Colors()) {
        color->GetListDrum(&drums, knitcfg::kAny, knitcfg::kAny);
        std::printf("color %d of plane %d: %zu actuators\n", color->ID, color->Plane,
                    color->Attuats.size());
    }
    std::printf("drums used by the colors: %zu\n", drums.size());

    // Every actuator answers the same virtual getters, whatever its kind;
    // a kind without a state answers -32768 (knitcfg::kNoValue).
    knitcfg::ColorPrg& ground = *config.Colors().front();
    for (const auto& actuator : ground.Attuats) {
        std::printf("  %-18s id %3d  feed %2d  state %6d\n", actuator->GetRuntimeClass()->className,
                    actuator->Id, actuator->Caduta, actuator->GetStato());
    }

    // Edit. Edits change memory only; the file changes at the next save.
    config.HeaderSetDescription("Edited by the tour\r\nsecond line");
    if (knitcfg::Attuat* drum = ground.GetAttuat(1)) {
        drum->SetStato(1);
    }
    auto finger = std::make_unique<knitcfg::FingerColor>();
    finger->Id = 13;
    finger->Caduta = 2;
    finger->IdCaduta = 2;
    finger->SetStato(1);
    ground.AddSorted(finger.release());  // sorted in by feed; the color owns it now
    knitcfg::CGenDis* design = config.GeneratedDisUpdate("\\designs\\star.dis", 1, 0);
    design->UpdateColorAssociation(1, 4, "\\patterns\\star.pat");

    // Save. The file is written whole to a temporary file first, then put in
    // place: the target holds the old or the new content, never a mix.
    const knitcfg::RETERROR saved = config.SaveCFG(output);
    if (saved != knitcfg::RE_SUCCESS) {
        std::fprintf(stderr, "%s: %d (%s)\n", output, saved, knitcfg::RetErrorText(saved));
        return 1;
    }

    // Read it back: the edits are in the file.
    knitcfg::Configuration again;
    if (again.LoadCFG(output) != knitcfg::RE_SUCCESS || again.Colors().front()->GetStato(1) != 1 ||
        again.Colors().front()->GetStato(13) != 1 ||
        again.GeneratedDisSearch("\\DESIGNS\\STAR.DIS") == nullptr) {
        std::fprintf(stderr, "%s: the edits did not come back\n", output);
        return 1;
    }
    std::printf("saved %s\n", output);
    return 0;
}
