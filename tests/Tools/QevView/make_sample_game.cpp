// Writes the viewer's sample game folder: qevview_sample_game.exe FOLDER
#include <cstdio>

#include "fixtureViewerSample.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: qevview_sample_game FOLDER\n");
        return 2;
    }
    if (!fixtures::WriteViewerSample(argv[1])) {
        fprintf(stderr, "could not write the sample game folder %s\n", argv[1]);
        return 1;
    }
    printf("sample game folder written: %s (model %s, animation %s)\n", argv[1],
           fixtures::kSampleModel, fixtures::kSampleAnim);
    return 0;
}
