// quendrolt-cli: the engine's searches, tests, factoring and statistics from
// a shell, one subcommand each (subcommand_table.cpp). Every failure becomes
// the exit status here and nowhere else (failure.h). See docs/quendrolt-cli.1.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <new>
#include <vector>

#include "cli/failure.h"
#include "cli/interrupt.h"
#include "cli/option_values.h"
#include "cli/quoted_text.h"
#include "cli/ranks.h"
#include "cli/result_output.h"
#include "cli/subcommand_table.h"

namespace {

using namespace cli;

constexpr const char* kFooter =
    "Exit status: 0 prime/found, 1 composite, 2 bad input, 3 interrupted, 4 tester, output or internal failure, "
    "5 no verdict within the limit.\nUnder mpirun, next-prime, prev-prime and random-prime share the search over "
    "the ranks.";

void addSharedOptions(CLI::App& app, SharedSettings& settings, bool searches)
{
    for (const SharedOption& row : sharedOptions())
        if (searches || !row.searchesOnly)
            row.add(app, row, settings);
}

std::string subcommandNames()
{
    std::string names;
    for (const Subcommand& row : subcommands())
        names += (names.empty() ? "" : ", ") + std::string(row.name);
    return names;
}

// The words before the first subcommand are the program's own options (and
// the values of those that take one), so the first other word must name a
// subcommand. CLI11 would answer "A subcommand is required" for a misspelt
// one; this names it.
void checkSubcommandNamed(const std::vector<std::string>& words)
{
    bool askedForHelp = false;
    bool valueNext = false;
    for (const std::string& word : words) {
        if (word == "--")
            break;
        if (valueNext) {
            valueNext = false;
            continue;
        }
        if (!word.empty() && word[0] == '-') {
            askedForHelp = askedForHelp || word == "-h" || word == "--help" || word == "--version";
            for (const SharedOption& row : sharedOptions())
                valueNext = valueNext || (row.takesValue && namesOption(row, word));
            continue;
        }
        for (const Subcommand& row : subcommands())
            if (word == row.name)
                return;
        throw BadInput("unknown subcommand " + quotedText(word) + "; the subcommands are " + subcommandNames());
    }
    if (!askedForHelp)
        throw BadInput("a subcommand is required: one of " + subcommandNames() + " (--help lists them)");
}

bool jsonAsked(const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        if (word == "--")
            return false;
        if (word == "--json")
            return true;
    }
    return false;
}

class Program {
public:
    explicit Program(Ranks& ranks) : ranks_(ranks)
    {
        app_.footer(kFooter);
        app_.require_subcommand(1);
        app_.set_version_flag("--version", std::string("quendrolt-cli ") + QUENDROLT_VERSION);
        addSharedOptions(app_, settings_, true);
        for (const Subcommand& row : subcommands()) {
            Entry entry{&row, app_.add_subcommand(std::string(row.name), std::string(row.summary)), row.make()};
            entry.command->describe(*entry.app);
            addSharedOptions(*entry.app, settings_, row.ranked == Ranked::Shared);
            entries_.push_back(std::move(entry));
        }
    }

    int run(int argc, char** argv)
    {
        std::vector<std::string> words(argv + 1, argv + argc);
        settings_.style.json = jsonAsked(words);
        try {
            checkSubcommandNamed(words);
            if (!parse(argc, argv))
                return ExitFound;
            return dispatch();
        } catch (const Failure& failure) {
            return report(failure.status(), failure.what());
        } catch (const std::bad_alloc&) {
            return report(ExitInternalError, "not enough memory for this run");
        } catch (const std::exception& error) {
            return report(ExitInternalError, std::string("internal error: ") + error.what());
        }
    }

private:
    struct Entry {
        const Subcommand* row;
        CLI::App* app;
        std::unique_ptr<Command> command;
    };

    // False when the command line only asked for help or the version, which
    // has then been written.
    bool parse(int argc, char** argv)
    {
        try {
            app_.parse(argc, argv);
            return true;
        } catch (const CLI::CallForHelp&) {
            printOnLeader(app_.help());
        } catch (const CLI::CallForVersion& version) {
            printOnLeader(std::string(version.what()) + "\n");
        } catch (const CLI::ParseError& error) {
            throw BadInput(oneLine(error.what()) + " (--help lists the options)");
        }
        return false;
    }

    void printOnLeader(const std::string& text)
    {
        if (ranks_.leader())
            printText(text);
    }

    [[nodiscard]] ExitStatus dispatch()
    {
        for (Entry& entry : entries_) {
            if (!entry.app->parsed())
                continue;
            name_ = entry.row->name;
            // The other ranks wait for the leader's answer by ending at once:
            // mpirun's status is then the leader's.
            if (entry.row->ranked == Ranked::LeaderOnly && !ranks_.leader())
                return ExitFound;
            if (settings_.style.json)
                setInterruptedJson(jsonText(errorObject(ExitInterrupted, Interrupted().what())));
            RunContext context{ranks_, settings_.style, app_, searchThreads(settings_.search.threadsTyped, ranks_.size())};
            return entry.command->run(context);
        }
        throw InternalFailure("no subcommand was parsed");
    }

    [[nodiscard]] Json errorObject(ExitStatus status, const std::string& message) const
    {
        Json error;
        error["command"] = name_.empty() ? Json(nullptr) : Json(name_);
        error["error"] = message;
        error["exit_status"] = static_cast<int>(status);
        return error;
    }

    [[nodiscard]] ExitStatus report(ExitStatus status, const std::string& message)
    {
        if (!ranks_.leader())
            return status;
        std::fprintf(stderr, "quendrolt-cli: %s\n", message.c_str());
        if (settings_.style.json) {
            try {
                printJson(errorObject(status, message));
            } catch (const Failure&) {
                // Standard output is what failed; the line above says why.
            }
        }
        return status;
    }

    Ranks& ranks_;
    CLI::App app_{"quendrolt-cli: very large decimal integers and primes from the command line", "quendrolt-cli"};
    SharedSettings settings_;
    std::vector<Entry> entries_;
    std::string name_;
};

}  // namespace

int main(int argc, char** argv)
{
    guardStandardStreams();
    endRunsOnInterrupt();
    Ranks ranks(argc, argv);
    Program program(ranks);
    return program.run(argc, argv);
}
