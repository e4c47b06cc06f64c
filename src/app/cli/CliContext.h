#pragma once

// What every quarrant-cli subcommand receives: the program folder and its arguments (UTF-8,
// as typed), and where to print. Texts printed are UTF-8; model texts are converted at this
// edge with GbkToUtf8 / Utf8ToGbk.

#include <cstdio>
#include <string>
#include <vector>

namespace quarrant::cli {

struct CliContext {
    std::string programFolder;      // model text (GBK), without the final separator
    std::vector<std::string> args;  // the arguments after the subcommand name, UTF-8
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// Exit statuses of the contract.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Prints a usage text for the subcommand on standard error and returns kExitUsage.
int Usage(const CliContext& context, const char* text);

// Prints the program's own message (GBK) on standard error as UTF-8 and returns kExitFailed.
int Failed(const CliContext& context, const std::string& gbkMessage);

// The subcommands, one file each.
int RunEval(CliContext& context);
int RunImport(CliContext& context);
int RunCount(CliContext& context);
int RunPick(CliContext& context);
int RunReport(CliContext& context);
int RunScale(CliContext& context);
int RunRows(CliContext& context);

}  // namespace quarrant::cli
