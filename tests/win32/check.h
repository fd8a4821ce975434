#pragma once
// A minimal check counter for the backend test program (no test framework is cross-built).
#include <string>
#include <string_view>

namespace vostrel::win32_test {

void check(bool ok, std::string_view what);
template <class A, class B>
void checkEqual(const A& actual, const B& expected, std::string_view what) {
    check(actual == expected, what);
}
int failures();
int passes();

// Each test group; returns nothing, reports through check().
void codecAndProfileTests();
void filesAndClockTests();
void windowTests();
void waveOutTests();
void scalingTests();
void formScalingTests();
void dropDownTests();
void questionAndFormTests();
void backgroundFileTests();
void singleInstanceTests();

// The test program started again as a later copy of the program: claims the single instance
// (which must fail) and brings the first copy's window to the front. Returns the exit code.
inline constexpr char kSecondCopyArgument[] = "--second-copy";
int secondCopy();

} // namespace vostrel::win32_test
