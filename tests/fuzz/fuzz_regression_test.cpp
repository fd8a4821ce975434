// The committed fuzz inputs through their targets: fuzz/corpus/<target>/ (the seeds and what
// the fuzzers added to them) and fuzz/regressions/<target>/ (inputs that once broke a
// property or crashed). A broken property aborts with its message, which fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_targets.h"

namespace vostrel::fuzz {
namespace {

namespace fs = std::filesystem;

struct CommittedInput {
    FuzzFunction run;
    std::string target;
    fs::path file;
};

std::vector<CommittedInput> committedInputs() {
    std::vector<CommittedInput> inputs;
    for (const FuzzTarget& target : fuzzTargets()) {
        for (const char* folder : {"corpus", "regressions"}) {
            const fs::path dir = fs::path(VOSTREL_FUZZ_DIR) / folder / target.name;
            if (!fs::is_directory(dir)) continue;
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) inputs.push_back({target.run, std::string(target.name), file});
        }
    }
    return inputs;
}

class CommittedFuzzInput : public ::testing::TestWithParam<CommittedInput> {};

TEST_P(CommittedFuzzInput, KeepsEveryPropertyOfItsTarget) {
    std::ifstream in(GetParam().file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(in.good() || in.eof()) << GetParam().file;
    EXPECT_EQ(GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
}

std::string testName(const ::testing::TestParamInfo<CommittedInput>& info) {
    std::string name = info.param.target + "_" + info.param.file.parent_path().parent_path().filename().string() + "_" +
                       info.param.file.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CommittedFuzzInput, ::testing::ValuesIn(committedInputs()), testName);

} // namespace
} // namespace vostrel::fuzz
