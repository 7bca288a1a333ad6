#pragma once
// A stand-in for the tester program when a test is about what the program
// does with the tester's output: a shell script under the tester's name that
// prints chosen lines. It records its arguments in tester_args.txt and its
// process id in tester_pid.txt.
#include <sys/stat.h>

#include <fstream>
#include <string>

namespace testing_support {

inline void installFakeTester(const std::string& path, const std::string& body)
{
    std::ofstream(path, std::ios::trunc) << "#!/bin/sh\n"
                                            "echo \"$@\" > tester_args.txt\n"
                                            "echo $$ > tester_pid.txt\n"
                                         << body << "\n";
    ::chmod(path.c_str(), 0755);
}

inline std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testing_support
