#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CliRunner.h"

using quarrant::testing::RunCli;

namespace {

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
        auto result = RunCli(c.arguments);
        ASSERT_TRUE(result.started) << c.name << ": quarrant-cli did not run";
        EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name;
        EXPECT_EQ(result.out, c.out) << c.name;
    }
}

}  // namespace
