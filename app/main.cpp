// The program's entry point: the platform of the backend it was built with, then the program.
#include "app/program.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    const auto platform = vostrel::platform::createPlatform(argc, argv);
    return vostrel::app::runProgram(*platform, {});
}
