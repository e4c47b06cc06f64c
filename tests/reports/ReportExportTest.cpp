#include "reports/ReportExport.h"

#include <gtest/gtest.h>

#include "ReportTestSupport.h"

using namespace quarrant;
using namespace quarrant::reporttest;

TEST(ReportExportTest, PlainNumbersAreToldFromOtherTexts) {
    struct Case {
        const char* text;
        int decimals;
    };
    const Case cases[] = {
        {"12", 0},   {"-3.500", 3},
        {"0.5", 1},  {"10.000", 3},
        {"007", -1}, {"1e5", -1},
        {"2*3", -1}, {"", -1},
        {".5", -1},  {"1.", -1},
        {"-", -1},   {"1,5", -1},
        {" 1", -1},  {"1234567890123456", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlainNumberDecimals(c.text), c.decimals) << c.text;
    }
}

TEST(ReportExportTest, CsvQuotesWhatSpreadsheetsWouldSplit) {
    GridModel grid(2, 3, 1, 0);
    grid.SetItemText(0, 0, G("项目名称"));
    grid.SetItemText(0, 1, "a,b");
    grid.SetItemText(0, 2, "say \"x\"");
    grid.SetItemText(1, 0, G("钢梁"));
    grid.SetItemText(1, 2, "1.500");
    EXPECT_EQ(ReportCsv(grid), "\xEF\xBB\xBF项目名称,\"a,b\",\"say \"\"x\"\"\"\r\n钢梁,,1.500\r\n");
    EXPECT_EQ(ReportTabText(grid),
              G("项目名称") + "\ta,b\tsay \"x\"\n" + G("钢梁") + "\t\t1.500\n");
}
