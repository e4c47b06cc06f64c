#pragma once

// Runs the built quarrant-cli as a separate process (no shell in between) and collects its
// exit status, standard output and standard error. Shared by the command-line tests.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace quarrant::testing {

struct CliRun {
    bool started = false;
    int exitStatus = -1;
    std::string out;
    std::string err;
};

inline std::string ReadCliOutput(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline CliRun RunCli(std::vector<std::string> arguments) {
    namespace fs = std::filesystem;
    CliRun result;
    std::string program = QUARRANT_PROGRAM_FOLDER "/quarrant-cli";
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::string folderTemplate = (fs::temp_directory_path() / "quarrant-cli-XXXXXX").string();
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        return result;
    }
    const fs::path folder = folderTemplate;
    const std::string outPath = (folder / "stdout").string();
    const std::string errPath = (folder / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            result.started = true;
            result.exitStatus = WEXITSTATUS(status);
        }
        result.out = ReadCliOutput(outPath);
        result.err = ReadCliOutput(errPath);
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return result;
}

}  // namespace quarrant::testing
