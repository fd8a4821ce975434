#include "tests/app/day_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vostrel::test {
namespace {

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

DayFixture::DayFixture(platform::LocalDateTime start) : ProgramFixture(start) {}

void DayFixture::placeVoiceFiles(const std::vector<int>& leftOut) {
    for (int row = 1; row <= 8; ++row) {
        if (std::find(leftOut.begin(), leftOut.end(), row) != leftOut.end()) continue;
        const std::string name = std::to_string(row) + "speak.mp3";
        writeProgramFile("Vostrel/" + name, readWhole(std::string(VOSTREL_SOURCE_DIR) + "/assets/" + name));
    }
}

void DayFixture::startWithRecorder() {
    recorder.setClock([this] {
        const auto t = sim.localTime();
        return ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
    });
    startProgram([this](audio::PlayerEntryTable& t) { recorder.installInto(t); });
    waitForTheWriter();
}

void DayFixture::saveAndStart() {
    sim.click("按钮1");
    sim.click("按钮2");
    waitForTheWriter();
}

void DayFixture::waitForTheWriter() { ASSERT_TRUE(program->recordWriter().waitUntilIdle(std::chrono::seconds(20))); }

std::vector<std::string> DayFixture::recordLines() const {
    std::vector<std::string> lines;
    const std::string text = readWhole(programFile("播放记录.txt"));
    std::size_t from = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        lines.push_back(text.substr(from, end - from));
        if (end == std::string::npos) break;
        from = end + 2;
    }
    return lines;
}

std::string DayFixture::planPage() const { return readWhole(programFile("考务提示安排.html")); }

std::string DayFixture::voicePath(int row) const {
    return const_cast<DayFixture*>(this)->sim.files().programDirectory() + "/Vostrel/" + std::to_string(row) +
           "speak.mp3";
}

std::vector<std::pair<int, std::string>> DayFixture::promptsHeard() const {
    std::vector<std::pair<int, std::string>> heard;
    for (const PlayerCall& c : recorder.callsOf(PlayerCall::Kind::Create)) {
        const std::string& file = c.files.at(0);
        heard.emplace_back(file[file.size() - std::string("speak.mp3").size() - 1] - '0', clockOf(c.atMs));
    }
    return heard;
}

void DayFixture::endTheDay() {
    sim.setQuestionResponder([](const auto&, auto&) { return true; });
    sim.closeBox();
    EXPECT_EQ(runToEnd(), 0);
}

DayFixture::LaterStart::LaterStart(const std::string& folder, platform::LocalDateTime start, std::string session,
                                   app::PlayerModuleInstaller installer)
    : sim(platform::sim::SimPlatform::Options{start, folder, nullptr, nullptr, std::move(session)}),
      program(sim, std::move(installer)) {
    program.start();
}

std::unique_ptr<DayFixture::LaterStart> DayFixture::startAgain(platform::LocalDateTime start, std::string session,
                                                               app::PlayerModuleInstaller installer) {
    return std::make_unique<LaterStart>(sim.files().programDirectory(), start, std::move(session),
                                        std::move(installer));
}

std::string clockOf(std::int64_t ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(ms / 3'600'000 % 24),
                  static_cast<int>(ms / 60'000 % 60));
    return text;
}

} // namespace vostrel::test
