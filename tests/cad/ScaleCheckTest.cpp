#include "cad/ScaleCheck.h"

#include <gtest/gtest.h>

#include "DxfTextBuilder.h"
#include "base/GbkText.h"
#include "cad/LoadDxf.h"

using namespace quarrant;
using quarrant::testing::Dxf;

namespace {

struct DimensionSpec {
    int type = 1;  // 0 rotated, 1 aligned
    double x13 = 0, y13 = 0, x14 = 0, y14 = 0;
    std::string measurement;  // group 42; empty: not written
    std::string override;     // group 1; empty: not written
    double rotation = 0;
};

Dxf& AddDimension(Dxf& dxf, const DimensionSpec& d) {
    dxf.Pair(0, "DIMENSION").Pair(8, "0").Pair(2, "*D1").Pair(70, FormatInt(d.type));
    dxf.Pair(10, d.x14).Pair(20, d.y14 + 5).Pair(11, d.x13).Pair(21, d.y13 + 5);
    dxf.Pair(13, d.x13).Pair(23, d.y13).Pair(14, d.x14).Pair(24, d.y14);
    if (!d.measurement.empty()) {
        dxf.Pair(42, d.measurement);
    }
    if (!d.override.empty()) {
        dxf.Pair(1, d.override);
    }
    return dxf.Pair(50, d.rotation);
}

CCadFile Import(const std::vector<DimensionSpec>& dimensions, int insUnits = -1) {
    Dxf dxf;
    dxf.Section("HEADER");
    if (insUnits >= 0) {
        dxf.Pair(9, "$INSUNITS").Pair(70, FormatInt(insUnits));
    }
    dxf.EndSection().Tables().Section("ENTITIES").Line(0, 0, 100, 100);
    for (const DimensionSpec& d : dimensions) {
        AddDimension(dxf, d);
    }
    std::string text = dxf.EndSection().Eof().Text();
    CCadFile file;
    EXPECT_TRUE(LoadDxf(file, DxfBytes(text), nullptr, 1.0));
    return file;
}

// n aligned dimensions along X, each of `length` units showing `shown`.
std::vector<DimensionSpec> Aligned(int n, double length, const std::string& shown,
                                   bool asOverride) {
    std::vector<DimensionSpec> result;
    for (int i = 0; i < n; ++i) {
        DimensionSpec d;
        d.y13 = d.y14 = 10.0 * i;
        d.x14 = length;
        (asOverride ? d.override : d.measurement) = shown;
        result.push_back(d);
    }
    return result;
}

}  // namespace

TEST(ScaleCheck, OverrideOf6000On60UnitsGivesATenthOfAMetrePerUnit) {
    CCadFile file = Import(Aligned(3, 60, "6000", true), 4);
    ScaleEstimate estimate = EstimateScale(*file.drawing);
    ASSERT_TRUE(estimate.metresPerUnit);
    EXPECT_NEAR(*estimate.metresPerUnit, 0.1, 1e-12);
    EXPECT_EQ(estimate.agreeing, 3);
    EXPECT_EQ(estimate.usable, 3);
    EXPECT_TRUE(file.drawing->header.insertionUnitsDeclared);
    EXPECT_EQ(UnitForInsertionUnits(file.drawing->header.insertionUnits), "mm");

    // Millimetres would need 100:1, metres 1:10; mm at 1:1 is off by a hundred.
    EXPECT_EQ(AgreeingScaleText(estimate, "mm"), "100:1");
    EXPECT_EQ(AgreeingScaleText(estimate, "m"), "1:10");
    EXPECT_TRUE(ScaleDisagrees(estimate, "mm", "1:1"));
    EXPECT_FALSE(ScaleDisagrees(estimate, "mm", "100:1"));
    EXPECT_FALSE(ScaleDisagrees(estimate, "cm", "10:1"));

    EXPECT_EQ(GbkToUtf8(ScaleEstimateText(estimate, "mm")),
              "图中3处尺寸标注中有3处表明：单位mm时比例应为100:1");
    EXPECT_EQ(GbkToUtf8(ScaleMismatchQuestion(estimate, "m")),
              "所选单位和比例与图中尺寸标注不符（应为1:10），仍然添加吗？");
}

TEST(ScaleCheck, FullSizeMillimetreDrawingAgreesWithMmOneToOne) {
    CCadFile file = Import(Aligned(4, 2500, "2500", false));
    ScaleEstimate estimate = EstimateScale(*file.drawing);
    ASSERT_TRUE(estimate.metresPerUnit);
    EXPECT_NEAR(*estimate.metresPerUnit, 0.001, 1e-12);
    EXPECT_FALSE(ScaleDisagrees(estimate, "mm", "1:1"));
    EXPECT_TRUE(ScaleDisagrees(estimate, "mm", "1:100"));
    EXPECT_EQ(AgreeingScaleText(estimate, "mm"), "1:1");
    EXPECT_FALSE(file.drawing->header.insertionUnitsDeclared);
}

TEST(ScaleCheck, RotatedDimensionMeasuresAlongItsDirection) {
    // Points 30 apart in X and 40 in Y: a vertical dimension (rotation 90) measures 40.
    std::vector<DimensionSpec> dims(3);
    for (int i = 0; i < 3; ++i) {
        dims[i].type = 0;
        dims[i].rotation = 90;
        dims[i].x13 = 100.0 * i;
        dims[i].x14 = 100.0 * i + 30;
        dims[i].y14 = 40;
        dims[i].measurement = "4000";
    }
    ScaleEstimate estimate = EstimateScale(*Import(dims).drawing);
    ASSERT_TRUE(estimate.metresPerUnit);
    EXPECT_NEAR(*estimate.metresPerUnit, 0.1, 1e-9);
}

TEST(ScaleCheck, OverridesThatAreNotPlainNumbersFallBackToTheMeasurement) {
    std::vector<DimensionSpec> dims = Aligned(3, 1000, "1000", false);
    dims[0].override = "<>";
    dims[1].override =
        "\xD4\xBC"
        "6000";  // 约6000
    DimensionSpec noMeasurement;
    noMeasurement.x14 = 50;
    noMeasurement.override =
        "\xD4\xBC"
        "6000";
    dims.push_back(noMeasurement);  // nothing to go by: skipped
    ScaleEstimate estimate = EstimateScale(*Import(dims).drawing);
    EXPECT_EQ(estimate.usable, 3);
    ASSERT_TRUE(estimate.metresPerUnit);
    EXPECT_NEAR(*estimate.metresPerUnit, 0.001, 1e-12);
}

TEST(ScaleCheck, NoDimensionsOrTooFewAgreeingGiveNoEstimate) {
    ScaleEstimate none = EstimateScale(*Import({}).drawing);
    EXPECT_EQ(none.usable, 0);
    EXPECT_FALSE(none.metresPerUnit);
    EXPECT_FALSE(ScaleDisagrees(none, "mm", "1:1000"));
    EXPECT_EQ(AgreeingScaleText(none, "mm"), "");

    ScaleEstimate two = EstimateScale(*Import(Aligned(2, 60, "6000", true)).drawing);
    EXPECT_EQ(two.usable, 2);
    EXPECT_FALSE(two.metresPerUnit);
}

TEST(ScaleCheck, TwoConflictingGroupsAreToldApartByTheMedianAndTheAgreeingCount) {
    std::vector<DimensionSpec> dims = Aligned(5, 2500, "2500", false);  // 0.001 each
    for (const DimensionSpec& d : Aligned(3, 60, "6000", true)) {       // 0.1 each
        dims.push_back(d);
    }
    ScaleEstimate estimate = EstimateScale(*Import(dims).drawing);
    EXPECT_EQ(estimate.usable, 8);
    EXPECT_EQ(estimate.agreeing, 5);
    ASSERT_TRUE(estimate.metresPerUnit);
    EXPECT_NEAR(*estimate.metresPerUnit, 0.001, 1e-12);

    // Four against four: the median lies between the groups and nothing agrees with it.
    std::vector<DimensionSpec> even = Aligned(4, 2500, "2500", false);
    for (const DimensionSpec& d : Aligned(4, 60, "6000", true)) {
        even.push_back(d);
    }
    ScaleEstimate split = EstimateScale(*Import(even).drawing);
    EXPECT_EQ(split.agreeing, 0);
    EXPECT_FALSE(split.metresPerUnit);
}

TEST(ScaleCheck, TwoClickedPointsAndTheRealLengthProposeTheScaleThatAgrees) {
    // 2500 units between the points; the estimator knows the member is 5 m long.
    const CadPoint a{100.0, 100.0};
    const CadPoint b{1600.0, 2100.0};
    PointScaleCheck check = CheckScaleByPoints(a, b, 5.0, "mm", "1:1");
    ASSERT_TRUE(check.valid);
    EXPECT_NEAR(check.shownMetres, 2.5, 1e-6);
    EXPECT_NEAR(check.factor, 2.0, 1e-6);
    EXPECT_TRUE(check.disagrees);
    EXPECT_EQ(check.agreeingScale, "2:1");
    EXPECT_EQ(GbkToUtf8(check.message),
              "按当前单位和比例，两点间长度为2.500米；实际长度为5.000米，实际与图上之比为2.0000。\n"
              "单位和比例与实际不符，比例应为2:1，改用此比例吗？已有数据不会自动改变。");

    // Within 1 % the choice stands.
    check = CheckScaleByPoints(a, b, 5.04, "mm", "2:1");
    EXPECT_TRUE(check.valid);
    EXPECT_FALSE(check.disagrees);
    EXPECT_TRUE(check.agreeingScale.empty());

    // Coinciding points and a length that is not positive are refused with a message.
    EXPECT_FALSE(CheckScaleByPoints(a, a, 5.0, "mm", "1:1").valid);
    check = CheckScaleByPoints(a, b, 0.0, "mm", "1:1");
    EXPECT_FALSE(check.valid);
    EXPECT_EQ(GbkToUtf8(check.message), "实际长度必须是大于0的数。");
}
