// sondix-cli run as a program (for the test programs that define SONDIX_CLI_PATH): its exit
// status, standard output (whole and as lines) and standard error.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace sondix::test {

struct CliRun {
    int exit = -1;
    std::string out, err;
    std::vector<std::string> lines;
};

inline std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// sondix-cli with `args` (each quoted), reading `in`; `prefix` is shell text run in front of it
// ("cd DIR &&", "timeout -s INT 1.5").
inline CliRun RunCli(const std::vector<std::string>& args, const std::string& in = "/dev/null",
                     const std::string& prefix = "") {
    // ctest runs each case in a process of its own, two at a time: the name carries the pid.
    const std::string errFile = OutPath("cli-stderr-" + std::to_string(getpid()));
    std::string cmd = prefix + " " + Quote(SONDIX_CLI_PATH);
    for (const std::string& a : args)
        cmd += " " + Quote(a);
    FILE* pipe = popen((cmd + " 2>" + Quote(errFile) + " <" + Quote(in)).c_str(), "r");
    CliRun r;
    char buf[65536];
    for (std::size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        r.out.append(buf, n);
    const int status = pipe ? pclose(pipe) : -1;
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = Slurp(errFile);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        r.lines.push_back(line);
    return r;
}

}  // namespace sondix::test
