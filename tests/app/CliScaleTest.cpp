#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/CliRunner.h"

using quarrant::testing::RunCli;

namespace {

namespace fs = std::filesystem;

fs::path WriteDxf(const std::string& name, const std::string& text) {
    fs::path path = fs::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace

TEST(CliScale, PrintsTheDeclaredUnitsTheEstimateAndTheCounts) {
    std::string dxf =
        "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 3; ++i) {
        std::string y = std::to_string(10 * i);
        dxf += "0\nDIMENSION\n8\n0\n70\n1\n1\n6000\n13\n0\n23\n" + y + "\n14\n60\n24\n" + y + "\n";
    }
    dxf += "0\nENDSEC\n0\nEOF\n";
    fs::path withDimensions = WriteDxf("quarrant-scale-dims.dxf", dxf);
    fs::path without =
        WriteDxf("quarrant-scale-none.dxf",
                 "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n"
                 "0\nENDSEC\n0\nEOF\n");
    auto run = RunCli({"scale", withDimensions.string()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "4\t0.1\t3\t3\n");
    run = RunCli({"scale", without.string()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "-\t-\t0\t0\n");
    run = RunCli({"scale", "/nonexistent/quarrant.dxf"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(RunCli({"scale"}).exitStatus, 2);
    fs::remove(withDimensions);
    fs::remove(without);
}

TEST(CliScale, CorpusFloorPlanIsInMillimetresAtFullSize) {
    fs::path floorplan = QUARRANT_CORPUS_DIR "/floorplan-r2004.dxf";
    if (!fs::exists(floorplan)) {
        GTEST_SKIP() << "corpus drawing missing: " << floorplan;
    }
    auto run = RunCli({"scale", floorplan.string()});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "4\t0.001\t63\t63\n");
}
