#include "tests/audio/engine_program_fixture.h"

#include "audio/player_module.h"
#include "tests/audio/voice_assets.h"

namespace vostrel::audio::test {

EngineProgramFixture::EngineProgramFixture(platform::sim::SimWaveOutMode mode)
    : ProgramFixture({2026, 12, 8, 8, 30, 0, 0}), device(mode) {}

void EngineProgramFixture::TearDown() { program.reset(); }

void EngineProgramFixture::startChineseAtNine(int lastRow) {
    for (int row = 1; row <= lastRow; ++row) writeProgramFile(voiceFilePlace(row), readAll(voiceAsset(row)));
    startProgram([this](PlayerEntryTable& table) { registerPlayerModule(table, device, reaper); });
    sim.tick("语文");
    sim.advance(200);
    sim.clearAndType("语文时间", "09:00");
    sim.click("按钮1");
    sim.click("按钮2");
}

} // namespace vostrel::audio::test
