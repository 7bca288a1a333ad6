#pragma once
// Fixture for tests that run the built tester on a number written to
// last_PRP.txt in a fresh temporary directory.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tester_process.h"

namespace prp_test {

// The line a verdict case expects: its text up to the timing, whether the
// timing " (<t>s+<t>s)" follows, and the exit status.
struct ExpectedLine {
    std::string text;
    bool timed;
    int exitStatus;
};

// The verdict and RES64 of a result line, without its timings.
inline std::string verdictPart(const TesterResult& result)
{
    const size_t end = result.out.find(']');
    return end == std::string::npos ? result.out : result.out.substr(0, end + 1);
}

class PrpTester : public ::testing::Test {
protected:
    TesterResult run(const std::string& parameters, const std::string& digits)
    {
        return runTesterCommand(parameters, dir_.write("last_PRP.txt", digits));
    }

    const TempDir& dir() const { return dir_; }

    // Standard output must be exactly one line; returns it without its end.
    static std::string onlyLine(const TesterResult& result)
    {
        EXPECT_FALSE(result.out.empty());
        EXPECT_EQ(result.out.find('\n'), result.out.size() - 1) << result.out;
        return result.out.substr(0, result.out.find('\n'));
    }

    static void expectLine(const TesterResult& result, const ExpectedLine& expected)
    {
        std::string line = onlyLine(result);
        EXPECT_EQ(result.exitStatus, expected.exitStatus) << line;
        if (!expected.timed) {
            EXPECT_EQ(line, expected.text);
            return;
        }
        ASSERT_TRUE(line.starts_with(expected.text)) << line;
        EXPECT_TRUE(std::regex_match(line.substr(expected.text.size()), std::regex(R"( \(\d+\.\d{4}s\+\d+\.\d{4}s\))")))
            << line;
    }

private:
    TempDir dir_;
};

}  // namespace prp_test
