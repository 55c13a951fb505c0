#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <sys/wait.h>

#ifndef ORVALIS_CLI
#error "ORVALIS_CLI must name the orvalis-cli program (see tests/cli/CMakeLists.txt)"
#endif

namespace orvalis::test {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs `orvalis-cli command arguments` in dir (no blanks inside the arguments), after the
// shell prelude, and gives its exit status and what it printed.
inline CliRun runCli(const TempDir& dir, const std::string& command, const std::string& arguments,
                     const std::string& prelude = {})
{
    const std::string line = "cd '" + dir.path().string() + "' && " + prelude + " exec '" ORVALIS_CLI "' " +
                             command + " " + arguments + " >cli.out 2>cli.err";
    CliRun run;
    const int raw = std::system(line.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(dir.file("cli.out"));
    run.err = readFile(dir.file("cli.err"));
    std::filesystem::remove(dir.file("cli.out"));
    std::filesystem::remove(dir.file("cli.err"));
    return run;
}

// Starts orvalis-cli with args (the program's name first) in the background, its output in
// dir/cli.out and dir/cli.err; the process's id, or -1 when it could not be started.
inline pid_t spawnCli(const TempDir& dir, std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, dir.file("cli.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, dir.file("cli.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, ORVALIS_CLI, &actions, nullptr, argv.data(), ::environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// A command line the program must refuse, and a part of the message that names the mistake.
struct UsageCase {
    const char* name;
    std::string arguments;
    const char* message;
};

// Each case exits with status 2 and says why on standard error; afterEach checks that nothing was written.
inline void expectRefused(const TempDir& dir, const std::string& command, const std::vector<UsageCase>& cases,
                          const std::function<void()>& afterEach)
{
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(dir, command, c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        afterEach();
    }
}

}  // namespace orvalis::test
