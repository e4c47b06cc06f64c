#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

struct RunResult {
    bool started = false;
    int exitStatus = -1;
    std::string out;
};

// Runs the built quarrant-cli with the given arguments (no shell in between) and collects its
// standard output; standard error is discarded.
RunResult RunCli(const std::vector<std::string>& arguments) {
    RunResult result;
    std::string program = QUARRANT_PROGRAM_FOLDER "/quarrant-cli";
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return result;
    }
    char buffer[4096];
    for (;;) {
        ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        result.out.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.started = true;
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

struct CliCase {
    const char* name;
    std::vector<std::string> arguments;
    int exitStatus;
    const char* out;
};

TEST(CliEval, PrintsTheCodeAndTheValueOfEachFormula) {
    const CliCase cases[] = {
        {"note removed", {"eval", "2<梁>*3"}, 0, "0\t6.000\n"},
        {"unbalanced note", {"eval", "2<梁*3"}, 0, "-1\t\n"},
        {"formula beginning with a minus", {"eval", "-3+5"}, 0, "0\t2.000\n"},
        {"formula error", {"eval", "5*-3"}, 0, "-2\t\n"},
        {"empty formula", {"eval", ""}, 0, "-2\t\n"},
        {"formula that looks like an option", {"eval", "--home"}, 0, "-2\t\n"},
        {"three decimals", {"eval", "10/4"}, 0, "0\t2.500\n"},
        {"home folder before the subcommand", {"--home", "/tmp", "eval", "2(3)"}, 0, "0\t6.000\n"},
        {"missing formula", {"eval"}, 2, ""},
        {"two formulas", {"eval", "1", "2"}, 2, ""},
    };
    for (const CliCase& c : cases) {
        RunResult result = RunCli(c.arguments);
        ASSERT_TRUE(result.started) << c.name << ": quarrant-cli did not run";
        EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name;
        EXPECT_EQ(result.out, c.out) << c.name;
    }
}

}  // namespace
