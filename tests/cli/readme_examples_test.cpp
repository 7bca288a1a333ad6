// The README's examples of quendrolt-cli, run from the checkout as a reader
// would run them, give what the README shows (their seconds aside). A reader
// who is root follows the README's advice for mpirun. About six seconds of
// work (a 2,000-digit random prime, an mpirun job): the price of examples
// that stay true.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

#include "cli_runner.h"

using namespace cli_test;

namespace {

struct Example {
    std::string command;
    std::vector<std::string> shown;  // the lines under it
};

std::string section(const std::string& text, const std::string& heading)
{
    const size_t start = text.find(heading);
    if (start == std::string::npos)
        return {};
    const size_t end = text.find("\n## ", start + heading.size());
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// "    $ command" and the indented lines after it, up to an empty line.
std::vector<Example> examplesIn(const std::string& text)
{
    std::vector<Example> examples;
    for (const std::string& line : lines(text)) {
        if (line.rfind("    $ ", 0) == 0) {
            examples.push_back({line.substr(6), {}});
        } else if (!examples.empty() && line.rfind("    ", 0) == 0 && examples.back().shown.size() < 100) {
            examples.back().shown.push_back(line.substr(4));
        } else if (line.empty() && !examples.empty()) {
            examples.back().shown.push_back("<end>");
        }
    }
    for (Example& example : examples) {
        const auto end = std::find(example.shown.begin(), example.shown.end(), "<end>");
        example.shown.erase(end, example.shown.end());
    }
    return examples;
}

std::string withoutSeconds(const std::string& line)
{
    return std::regex_replace(line, std::regex(R"("seconds":[0-9.]+)"), R"("seconds":S)");
}

// The program's messages ("quendrolt-cli: ...") are shown from standard
// error; the progress lines there are not.
void split(const std::vector<std::string>& all, std::vector<std::string>& out, std::vector<std::string>& messages)
{
    for (const std::string& line : all) {
        if (line.rfind("quendrolt-cli: ", 0) == 0)
            messages.push_back(line);
        else
            out.push_back(withoutSeconds(line));
    }
}

}  // namespace

TEST(CliReadme, examples_give_what_the_readme_shows_alone_and_on_ranks)
{
    std::ifstream file(std::string(QUENDROLT_SOURCE_DIR) + "/README.md");
    const std::string readme((std::istreambuf_iterator<char>(file)), {});
    const std::string text = section(readme, "## The command-line program");
    const std::vector<Example> examples = examplesIn(text);
    ASSERT_GE(examples.size(), 5u);

    // The commands name build/quendrolt-cli, as from the checkout.
    TemporaryDirectory checkout;
    std::filesystem::create_directory_symlink(std::filesystem::path(QUENDROLT_CLI_PATH).parent_path(),
                                              checkout.path() + "/build");
    for (const Example& example : examples) {
        std::string command = example.command;
        if (command.rfind("mpirun ", 0) == 0) {
            std::string advice = " --oversubscribe";
            if (geteuid() == 0) {
                ASSERT_NE(text.find("--allow-run-as-root"), std::string::npos)
                    << "mpirun refuses root, and the README does not say what to do";
                advice += " --allow-run-as-root";
            }
            command.insert(6, advice);
        }
        RunOptions options;
        options.workingDirectory = checkout.path();
        CliRun run = runCommand({"/bin/sh", "-c", command}, options);
        std::vector<std::string> expectedOut, expectedMessages, out, messages, ignored;
        split(example.shown, expectedOut, expectedMessages);
        split(lines(run.out), out, ignored);
        split(lines(run.err), ignored, messages);
        EXPECT_EQ(out, expectedOut) << example.command << "\n" << run.err;
        EXPECT_EQ(messages, expectedMessages) << example.command;
    }
}
