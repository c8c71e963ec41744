// Builds against the installed library through the umbrella header only.
#include <knitcfg/knitcfg.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    if (!knitcfg::profile::WriteString("Header", "MachineType", "Test", argv[1])) {
        return 1;
    }
    char buffer[64];
    knitcfg::profile::GetString("Header", "MachineType", "", buffer, sizeof buffer, argv[1]);
    std::printf("%s %s\n", buffer, knitcfg::RetErrorText(knitcfg::RE_SUCCESS));
    return std::string_view(buffer) == "Test" ? 0 : 1;
}
