#pragma once
// The whole program on the simulated platform, playing its own voice prompts through the real
// player engine on a simulated device: 语文 at 09:00, saved and started at 08:30.
#include "audio/teardown_reaper.h"
#include "platform/sim/sim_wave_out.h"
#include "tests/app/program_fixture.h"

namespace vostrel::audio::test {

class EngineProgramFixture : public vostrel::test::ProgramFixture {
protected:
    explicit EngineProgramFixture(platform::sim::SimWaveOutMode mode = platform::sim::SimWaveOutMode::Instant);
    // The program's players use the reaper and the device: they go first.
    void TearDown() override;

    // Puts the prompt files of rows 1 to lastRow beside the program, starts it, and saves and
    // starts a run for 语文 at 09:00 (its prompts at 08:35, 08:40, 08:45 …).
    void startChineseAtNine(int lastRow);

    platform::sim::SimWaveOutDriver device;
    TeardownReaper reaper;
};

} // namespace vostrel::audio::test
