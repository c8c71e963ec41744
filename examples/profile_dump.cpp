// Prints every section of a profile file with its lines, through the
// library's profile layer: a small demonstration until the full tool lands.
//
//   profile_dump FILE

#include <knitcfg/knitcfg.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: profile_dump FILE\n");
        return 2;
    }
    const char* file = argv[1];
    // One batch: the file is read and checked once for the whole walk.
    knitcfg::profile::Batch batch(file);
    std::vector<char> names(8192);
    const unsigned n = knitcfg::profile::GetSectionNames(names.data(), 8192, file);
    if (n == 0) {
        std::fprintf(stderr, "%s: no sections (missing, empty or unreadable file)\n", file);
        return 1;
    }
    std::vector<char> lines(8192);
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        std::printf("[%s]\n", name);
        knitcfg::profile::GetSection(name, lines.data(), 8192, file);
        for (const char* line = lines.data(); *line != '\0'; line += std::strlen(line) + 1) {
            std::printf("    %s\n", line);
        }
    }
    return 0;
}
