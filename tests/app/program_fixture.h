#pragma once
// The whole program on the simulated platform, for scenario tests: a program directory with
// the voice folder in place, the program started, and the window's controls at hand.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/program.h"
#include "platform/sim/sim_platform.h"

namespace vostrel::test {

class ProgramFixture : public ::testing::Test {
protected:
    // Wall clock at the start; voice folder present unless told otherwise.
    explicit ProgramFixture(platform::LocalDateTime start = {2026, 12, 8, 8, 0, 0, 0});

    void placeVoiceFile(const std::string& name = "1speak.mp3");
    void writeProgramFile(const std::string& relativePath, const std::string& bytes);
    std::string programFile(const std::string& relativePath) const;

    // Starts the program (window created, creation-complete handled, window shown).
    void startProgram(app::PlayerModuleInstaller installer = {});
    // Runs the event loop until the window is gone and ends the program; its exit code.
    int runToEnd();

    platform::Controls& controls() { return program->controls(); }

    platform::sim::SimPlatform sim;
    std::unique_ptr<app::Program> program;
};

} // namespace vostrel::test
