#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace orvalis::test {

// Starts program with arguments in folder cwd, its output discarded and its errors written to
// errors (relative to cwd; "/dev/null" to drop them); the child's pid, not waited for.
inline pid_t startQuiet(const std::string& program, const std::vector<std::string>& arguments,
                        const std::filesystem::path& cwd, const char* errors = "/dev/null")
{
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::fflush(nullptr);  // or the child's freopen would print our pending lines again
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(127);
        std::freopen("/dev/null", "w", stdout);
        std::freopen(errors, "w", stderr);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

}  // namespace orvalis::test
