#pragma once
#include <string>

namespace testing_support {

// base.div built once per machine and test run, shared by every test (the
// products are deterministic). Safe when several test processes ask at once.
std::string sharedDivisorFile();

// The tester program built with the tests (empty when it is not built).
std::string testerProgramPath();

}  // namespace testing_support
