// mkdata <sources folder> <output folder>: builds the sample resource set from its readable sources.
#include "ResourceSet.h"
#include "SampleSources.h"
#include "TrackWriter.h"

#include <cstdio>
#include <string>

using namespace zentrix;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkdata <sources folder> <output folder>\n");
        return 2;
    }
    mkdata::Sources sources;
    std::string error;
    if (!mkdata::ReadSources(argv[1], sources, error) || !mkdata::WriteResourceSet(sources, argv[2], error) ||
        !mkdata::WriteSampleTracks(sources, argv[2], error)) {
        std::fprintf(stderr, "mkdata: %s\n", error.c_str());
        return 1;
    }
    std::printf("mkdata: %zu assets written to %s\n", sources.assets.size(), argv[2]);
    return 0;
}
