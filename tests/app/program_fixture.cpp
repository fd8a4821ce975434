#include "tests/app/program_fixture.h"

#include <filesystem>
#include <fstream>

namespace vostrel::test {

ProgramFixture::ProgramFixture(platform::LocalDateTime start)
    : sim(platform::sim::SimPlatform::Options{start, "", nullptr, nullptr}) {}

std::string ProgramFixture::programFile(const std::string& relativePath) const {
    return const_cast<platform::sim::SimPlatform&>(sim).files().programDirectory() + "/" + relativePath;
}

void ProgramFixture::writeProgramFile(const std::string& relativePath, const std::string& bytes) {
    const std::filesystem::path path = programFile(relativePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void ProgramFixture::placeVoiceFile(const std::string& name) { writeProgramFile("Vostrel/" + name, "ID3"); }

void ProgramFixture::startProgram(app::PlayerModuleInstaller installer) {
    program = std::make_unique<app::Program>(sim, std::move(installer));
    program->start();
}

int ProgramFixture::runToEnd() {
    program->runEventLoop();
    const int code = program->finish();
    return code;
}

} // namespace vostrel::test
