// Runs every group and closes with the counts. "--group NAME" runs one group only;
// "--second-copy" plays the later copy of the single-instance test.
#include <cstdio>
#include <cstring>

#include "tests/win32/check.h"

int main(int argc, char** argv) {
    using namespace vostrel::win32_test;
    if (argc == 2 && std::strcmp(argv[1], kSecondCopyArgument) == 0) return secondCopy();
    const char* only = (argc == 3 && std::strcmp(argv[1], "--group") == 0) ? argv[2] : nullptr;
    const auto wanted = [&](const char* name) { return !only || std::strcmp(only, name) == 0; };
    if (wanted("codec")) codecAndProfileTests();
    if (wanted("files")) filesAndClockTests();
    if (wanted("window")) windowTests();
    if (wanted("wave")) waveOutTests();
    if (wanted("dropdown")) dropDownTests();
    if (wanted("forms")) questionAndFormTests();
    if (wanted("background")) backgroundFileTests();
    if (wanted("instance")) singleInstanceTests();
    if (wanted("scaling")) {
        scalingTests();
        formScalingTests();
    }
    std::printf("%d passed, %d failed\n", passes(), failures());
    return failures() == 0 ? 0 : 1;
}
