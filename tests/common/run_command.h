// Running a shell command from a test: its exit status and its standard output and error
// together.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CommandRun {
    int status = -1;     // the exit status; -1 when it could not run or did not exit
    std::string output;  // standard output and error together
};

inline CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.output.append(buf, n);
    const int raw = pclose(p);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}
