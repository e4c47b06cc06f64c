// Writes the drawing of the sample project: a triangular steel roof truss GWJ-1 of 18 m span
// as an ASCII DXF file in millimetres, with layers, blocks (gusset plate, support), linear
// dimensions with their dimension blocks, member labels, notes and a material table in
// Chinese (GBK). The build runs it; the sample project adds the file as its drawing.
//
//     quarrant-truss-dxf <output.dxf>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/CNumbers.h"
#include "base/FileIO.h"

namespace {

using quarrant::FormatFixed;
using quarrant::FormatInt;

// Layers (GBK) with their colours and line types.
const char* const kAxisLayer = "\xD6\xE1\xCF\xDF";           // 轴线
const char* const kMemberLayer = "\xB8\xCB\xBC\xFE";         // 杆件
const char* const kPlateLayer = "\xBD\xDA\xB5\xE3\xB0\xE5";  // 节点板
const char* const kSupportLayer = "\xD6\xA7\xD7\xF9";        // 支座
const char* const kDimensionLayer = "\xB1\xEA\xD7\xA2";      // 标注
const char* const kTextLayer = "\xCE\xC4\xD7\xD6";           // 文字
const char* const kBorderLayer = "\xCD\xBC\xBF\xF2";         // 图框

// The truss: span, rise, panel points every 2250 mm.
constexpr double kSpan = 18000.0;
constexpr double kRise = 3000.0;
constexpr int kPanels = 8;
constexpr double kPanel = kSpan / kPanels;
constexpr int kDimensionTextHeight = 250;

double TopChordY(double x) {
    return x <= kSpan / 2 ? kRise * x / (kSpan / 2) : kRise * (kSpan - x) / (kSpan / 2);
}

std::string Number(double value) {
    std::string text = FormatFixed(value, 4);
    while (!text.empty() && text.back() == '0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

class DxfWriter {
public:
    void Pair(int code, const std::string& value) {
        m_text += FormatInt(code);
        m_text += "\n";
        m_text += value;
        m_text += "\n";
    }
    void Pair(int code, double value) { Pair(code, Number(value)); }
    void Point(int code, double x, double y) {
        Pair(code, x);
        Pair(code + 10, y);
    }

    void Line(const char* layer, double x1, double y1, double x2, double y2) {
        Pair(0, "LINE");
        Pair(8, layer);
        Point(10, x1, y1);
        Point(11, x2, y2);
    }
    void Circle(const char* layer, double x, double y, double r) {
        Pair(0, "CIRCLE");
        Pair(8, layer);
        Point(10, x, y);
        Pair(40, r);
    }
    void Polyline(const char* layer, const std::vector<std::pair<double, double>>& points,
                  bool closed) {
        Pair(0, "LWPOLYLINE");
        Pair(8, layer);
        Pair(90, FormatInt(static_cast<int>(points.size())));
        Pair(70, closed ? "1" : "0");
        for (const auto& [x, y] : points) {
            Point(10, x, y);
        }
    }
    void Solid(const char* layer, double x1, double y1, double x2, double y2, double x3, double y3,
               double x4, double y4) {
        Pair(0, "SOLID");
        Pair(8, layer);
        Point(10, x1, y1);
        Point(11, x2, y2);
        Point(12, x3, y3);
        Point(13, x4, y4);
    }
    void Text(const char* layer, double x, double y, int height, const std::string& text,
              double rotation = 0.0) {
        Pair(0, "TEXT");
        Pair(8, layer);
        Point(10, x, y);
        Pair(40, FormatInt(height));
        Pair(1, text);
        if (rotation != 0.0) {
            Pair(50, rotation);
        }
    }
    void Insert(const char* layer, const char* block, double x, double y) {
        Pair(0, "INSERT");
        Pair(8, layer);
        Pair(2, block);
        Point(10, x, y);
    }

    std::string& Text() { return m_text; }

private:
    std::string m_text;
};

// A linear dimension between two points of the truss, with the dimension line at the given
// offset: its block (extension lines, dimension line, 45-degree ticks) and the DIMENSION.
struct LinearDimension {
    double x1, y1, x2, y2;  // definition points
    bool vertical;
    double line;  // y of a horizontal dimension line, x of a vertical one
};

std::string DimensionBlockName(int index) {
    return "*D" + FormatInt(index);
}

void WriteDimensionBlock(DxfWriter& dxf, int index, const LinearDimension& d) {
    const std::string name = DimensionBlockName(index);
    dxf.Pair(0, "BLOCK");
    dxf.Pair(8, kDimensionLayer);
    dxf.Pair(2, name);
    dxf.Pair(70, "1");
    dxf.Point(10, 0.0, 0.0);
    dxf.Pair(3, name);
    const double tick = 120.0;
    const double beyond = 150.0;
    if (!d.vertical) {
        const double gap = d.line < d.y1 ? -200.0 : 200.0;
        const double past = d.line < d.y1 ? -beyond : beyond;
        dxf.Line(kDimensionLayer, d.x1, d.y1 + gap, d.x1, d.line + past);
        dxf.Line(kDimensionLayer, d.x2, d.y2 + gap, d.x2, d.line + past);
        dxf.Line(kDimensionLayer, d.x1 - beyond, d.line, d.x2 + beyond, d.line);
        for (double x : {d.x1, d.x2}) {
            dxf.Line(kDimensionLayer, x - tick, d.line - tick, x + tick, d.line + tick);
        }
    } else {
        dxf.Line(kDimensionLayer, d.x1 + 200.0, d.y1, d.line + beyond, d.y1);
        dxf.Line(kDimensionLayer, d.x2 + 200.0, d.y2, d.line + beyond, d.y2);
        dxf.Line(kDimensionLayer, d.line, d.y1 - beyond, d.line, d.y2 + beyond);
        for (double y : {d.y1, d.y2}) {
            dxf.Line(kDimensionLayer, d.line - tick, y - tick, d.line + tick, y + tick);
        }
    }
    dxf.Pair(0, "ENDBLK");
    dxf.Pair(8, kDimensionLayer);
}

void WriteDimension(DxfWriter& dxf, int index, const LinearDimension& d) {
    dxf.Pair(0, "DIMENSION");
    dxf.Pair(8, kDimensionLayer);
    dxf.Pair(2, DimensionBlockName(index));
    if (!d.vertical) {
        dxf.Point(10, d.x2, d.line);
        dxf.Point(11, (d.x1 + d.x2) / 2, d.line + 230.0);
        dxf.Pair(70, "32");
        dxf.Pair(42, std::fabs(d.x2 - d.x1));
        dxf.Pair(50, 0.0);
    } else {
        dxf.Point(10, d.line, d.y2);
        dxf.Point(11, d.line - 230.0, (d.y1 + d.y2) / 2);
        dxf.Pair(70, "32");
        dxf.Pair(42, std::fabs(d.y2 - d.y1));
        dxf.Pair(50, 90.0);
    }
    dxf.Point(13, d.x1, d.y1);
    dxf.Point(14, d.x2, d.y2);
}

std::vector<LinearDimension> Dimensions() {
    std::vector<LinearDimension> dimensions;
    for (int i = 0; i < kPanels; ++i) {
        dimensions.push_back({i * kPanel, 0.0, (i + 1) * kPanel, 0.0, false, -900.0});
    }
    dimensions.push_back({0.0, 0.0, kSpan, 0.0, false, -1600.0});
    dimensions.push_back({kSpan / 2, 0.0, kSpan / 2, kRise, true, kSpan + 1200.0});
    return dimensions;
}

void WriteHeader(DxfWriter& dxf) {
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "HEADER");
    dxf.Pair(9, "$INSUNITS");
    dxf.Pair(70, "4");  // millimetres
    dxf.Pair(9, "$LIMMIN");
    dxf.Point(10, -2000.0, -5600.0);
    dxf.Pair(9, "$LIMMAX");
    dxf.Point(10, 22000.0, 5200.0);
    dxf.Pair(9, "$CELTSCALE");
    dxf.Pair(40, "1.0");
    dxf.Pair(9, "$DIMTXT");
    dxf.Pair(40, FormatInt(kDimensionTextHeight));
    dxf.Pair(0, "ENDSEC");
}

void WriteLayers(DxfWriter& dxf) {
    struct Layer {
        const char* name;
        int colour;
        const char* lineType;
    };
    const Layer layers[] = {
        {"0", 7, "CONTINUOUS"},           {kAxisLayer, 1, "CENTER"},
        {kMemberLayer, 7, "CONTINUOUS"},  {kPlateLayer, 4, "CONTINUOUS"},
        {kSupportLayer, 6, "CONTINUOUS"}, {kDimensionLayer, 3, "CONTINUOUS"},
        {kTextLayer, 2, "CONTINUOUS"},    {kBorderLayer, 7, "CONTINUOUS"},
    };
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "TABLES");
    dxf.Pair(0, "TABLE");
    dxf.Pair(2, "LAYER");
    dxf.Pair(70, FormatInt(static_cast<int>(std::size(layers))));
    for (const Layer& layer : layers) {
        dxf.Pair(0, "LAYER");
        dxf.Pair(2, layer.name);
        dxf.Pair(70, "0");
        dxf.Pair(62, FormatInt(layer.colour));
        dxf.Pair(6, layer.lineType);
    }
    dxf.Pair(0, "ENDTAB");
    dxf.Pair(0, "ENDSEC");
}

void WriteBlocks(DxfWriter& dxf, const std::vector<LinearDimension>& dimensions) {
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "BLOCKS");
    // A gusset plate 360 x 280 about the joint.
    dxf.Pair(0, "BLOCK");
    dxf.Pair(8, kPlateLayer);
    dxf.Pair(2, "GUSSET");
    dxf.Pair(70, "0");
    dxf.Point(10, 0.0, 0.0);
    dxf.Pair(3, "GUSSET");
    dxf.Polyline(kPlateLayer, {{-180, -140}, {180, -140}, {180, 140}, {-180, 140}}, true);
    dxf.Circle(kPlateLayer, 0.0, 0.0, 30.0);
    dxf.Pair(0, "ENDBLK");
    dxf.Pair(8, kPlateLayer);
    // A support: bearing triangle, base plate and ground line.
    dxf.Pair(0, "BLOCK");
    dxf.Pair(8, kSupportLayer);
    dxf.Pair(2, "SUPPORT");
    dxf.Pair(70, "0");
    dxf.Point(10, 0.0, 0.0);
    dxf.Pair(3, "SUPPORT");
    dxf.Polyline(kSupportLayer, {{0, 0}, {-260, -410}, {260, -410}}, true);
    dxf.Solid(kSupportLayer, -320, -410, 320, -410, -320, -470, 320, -470);
    dxf.Line(kSupportLayer, -450, -470, 450, -470);
    for (int i = 0; i < 6; ++i) {
        const double x = -420.0 + i * 160.0;
        dxf.Line(kSupportLayer, x, -470, x - 120, -590);
    }
    dxf.Pair(0, "ENDBLK");
    dxf.Pair(8, kSupportLayer);
    for (std::size_t i = 0; i < dimensions.size(); ++i) {
        WriteDimensionBlock(dxf, static_cast<int>(i) + 1, dimensions[i]);
    }
    dxf.Pair(0, "ENDSEC");
}

void WriteTruss(DxfWriter& dxf) {
    // Chords.
    dxf.Line(kMemberLayer, 0.0, 0.0, kSpan / 2, kRise);
    dxf.Line(kMemberLayer, kSpan / 2, kRise, kSpan, 0.0);
    for (int i = 0; i < kPanels; ++i) {
        dxf.Line(kMemberLayer, i * kPanel, 0.0, (i + 1) * kPanel, 0.0);
    }
    // Verticals at the inner panel points, diagonals falling towards mid-span.
    for (int i = 1; i < kPanels; ++i) {
        const double x = i * kPanel;
        dxf.Line(kMemberLayer, x, 0.0, x, TopChordY(x));
        if (i < kPanels / 2) {
            dxf.Line(kMemberLayer, x, TopChordY(x), x + kPanel, 0.0);
        } else if (i > kPanels / 2) {
            dxf.Line(kMemberLayer, x, TopChordY(x), x - kPanel, 0.0);
        }
    }
    // Gusset plates at every joint, supports at both ends.
    for (int i = 0; i <= kPanels; ++i) {
        const double x = i * kPanel;
        dxf.Insert(kPlateLayer, "GUSSET", x, 0.0);
        if (i != 0 && i != kPanels) {
            dxf.Insert(kPlateLayer, "GUSSET", x, TopChordY(x));
        }
    }
    // Below the end plates: an insert at the joint itself would repeat the plate's insert and
    // be dropped as its duplicate on import.
    dxf.Insert(kSupportLayer, "SUPPORT", 0.0, -140.0);
    dxf.Insert(kSupportLayer, "SUPPORT", kSpan, -140.0);
}

void WriteAxes(DxfWriter& dxf) {
    const char* names[] = {"1", "2"};
    const double xs[] = {0.0, kSpan};
    for (int i = 0; i < 2; ++i) {
        dxf.Line(kAxisLayer, xs[i], 3400.0, xs[i], -2200.0);
        dxf.Circle(kAxisLayer, xs[i], -2600.0, 400.0);
        dxf.Text(kAxisLayer, xs[i] - 90.0, -2730.0, 300, names[i]);
    }
}

void WriteLabels(DxfWriter& dxf) {
    const double slope = std::atan(kRise / (kSpan / 2)) * 180.0 / 3.14159265358979;
    // 上弦 2∠90×6, 下弦 2∠75×6, 竖杆 2∠50×5, 斜杆 2∠63×5
    dxf.Text(kTextLayer, 2600.0, 1200.0, 220,
             "\xC9\xCF\xCF\xD2 2\xA1\xCF"
             "90\xA1\xC1"
             "6",
             slope);
    dxf.Text(kTextLayer, 7300.0, 120.0, 220,
             "\xCF\xC2\xCF\xD2 2\xA1\xCF"
             "75\xA1\xC1"
             "6");
    dxf.Text(kTextLayer, 6830.0, 900.0, 180,
             "\xCA\xFA\xB8\xCB 2\xA1\xCF"
             "50\xA1\xC1"
             "5",
             90.0);
    dxf.Text(kTextLayer, 4750.0, 1400.0, 180,
             "\xD0\xB1\xB8\xCB 2\xA1\xCF"
             "63\xA1\xC1"
             "5",
             -std::atan(TopChordY(4500.0) / kPanel) * 180.0 / 3.14159265358979);
}

void WriteNotes(DxfWriter& dxf) {
    const char* lines[] = {
        "\xCB\xB5\xC3\xF7\xA3\xBA",  // 说明：
        // 1. 钢材均采用Q235B，焊条采用E43型。
        "1. \xB8\xD6\xB2\xC4\xBE\xF9\xB2\xC9\xD3\xC3Q235B\xA3\xAC\xBA\xB8\xCC\xF5\xB2\xC9\xD3\xC3"
        "E43\xD0\xCD\xA1\xA3",
        // 2. 节点板厚8mm，角焊缝焊脚尺寸hf=6mm。
        "2. \xBD\xDA\xB5\xE3\xB0\xE5\xBA\xF1"
        "8mm\xA3\xAC\xBD\xC7\xBA\xB8\xB7\xEC\xBA\xB8\xBD\xC5\xB3\xDF\xB4\xE7hf=6mm\xA1\xA3",
        // 3. 屋架跨度18m，间距6m，共12榀。
        "3. \xCE\xDD\xBC\xDC\xBF\xE7\xB6\xC8"
        "18m\xA3\xAC\xBC\xE4\xBE\xE0"
        "6m\xA3\xAC\xB9\xB2"
        "12\xE9\xAF\xA1\xA3",
        // 4. 杆件长度按节点中心计算，见尺寸标注。
        "4. "
        "\xB8\xCB\xBC\xFE\xB3\xA4\xB6\xC8\xB0\xB4\xBD\xDA\xB5\xE3\xD6\xD0\xD0\xC4\xBC\xC6\xCB\xE3"
        "\xA3\xAC\xBC\xFB\xB3\xDF\xB4\xE7\xB1\xEA\xD7\xA2\xA1\xA3",
    };
    double y = 4500.0;
    for (const char* line : lines) {
        dxf.Text(kTextLayer, -1500.0, y, 220, line);
        y -= 380.0;
    }
}

void WriteMaterialTable(DxfWriter& dxf) {
    const double left = 12600.0;
    const double top = 4700.0;
    const double rowHeight = 420.0;
    const double columns[] = {0.0, 700.0, 2000.0, 3900.0, 6100.0, 7300.0};
    const double topChord = std::hypot(kSpan / 2, kRise);
    // Verticals and diagonals differ in length: the range from the shortest to the longest.
    const std::string verticals =
        FormatFixed(TopChordY(kPanel), 0) + "~" + FormatFixed(TopChordY(kSpan / 2), 0);
    const std::string diagonals = FormatFixed(std::hypot(kPanel, TopChordY(kPanel)), 0) + "~" +
                                  FormatFixed(std::hypot(kPanel, TopChordY(kSpan / 2 - kPanel)), 0);
    struct Row {
        const char* number;
        const char* name;
        const char* size;
        std::string length;
        const char* count;
    };
    const Row rows[] = {
        // 编号, 名称, 规格, 单根长度(mm), 数量
        {"\xB1\xE0\xBA\xC5", "\xC3\xFB\xB3\xC6", "\xB9\xE6\xB8\xF1",
         "\xB5\xA5\xB8\xF9\xB3\xA4\xB6\xC8(mm)", "\xCA\xFD\xC1\xBF"},
        {"1", "\xC9\xCF\xCF\xD2\xB8\xCB",
         "2\xA1\xCF"
         "90\xA1\xC1"
         "6",
         FormatFixed(topChord, 0), "2"},
        {"2", "\xCF\xC2\xCF\xD2\xB8\xCB",
         "2\xA1\xCF"
         "75\xA1\xC1"
         "6",
         FormatFixed(kPanel, 0), "8"},
        {"3", "\xCA\xFA\xB8\xCB",
         "2\xA1\xCF"
         "50\xA1\xC1"
         "5",
         verticals, "7"},
        {"4", "\xD0\xB1\xB8\xCB",
         "2\xA1\xCF"
         "63\xA1\xC1"
         "5",
         diagonals, "6"},
        {"5", "\xBD\xDA\xB5\xE3\xB0\xE5", "-8 \xB8\xD6\xB0\xE5",
         "360\xA1\xC1"
         "280",
         "16"},
    };
    const int rowCount = static_cast<int>(std::size(rows));
    dxf.Text(kTextLayer, left + 3000.0, top + 150.0, 300, "\xB2\xC4\xC1\xCF\xB1\xED");  // 材料表
    for (int r = 0; r <= rowCount; ++r) {
        dxf.Line(kTextLayer, left, top - r * rowHeight, left + columns[5], top - r * rowHeight);
    }
    for (double x : columns) {
        dxf.Line(kTextLayer, left + x, top, left + x, top - rowCount * rowHeight);
    }
    for (int r = 0; r < rowCount; ++r) {
        const double y = top - (r + 1) * rowHeight + 110.0;
        const std::string texts[] = {rows[r].number, rows[r].name, rows[r].size, rows[r].length,
                                     rows[r].count};
        for (int c = 0; c < 5; ++c) {
            dxf.Text(kTextLayer, left + columns[c] + 80.0, y, 200, texts[c]);
        }
    }
}

std::string TrussDxf() {
    DxfWriter dxf;
    const std::vector<LinearDimension> dimensions = Dimensions();
    WriteHeader(dxf);
    WriteLayers(dxf);
    WriteBlocks(dxf, dimensions);
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "ENTITIES");
    dxf.Polyline(kBorderLayer, {{-2000, -5600}, {22000, -5600}, {22000, 5200}, {-2000, 5200}},
                 true);
    WriteAxes(dxf);
    WriteTruss(dxf);
    for (std::size_t i = 0; i < dimensions.size(); ++i) {
        WriteDimension(dxf, static_cast<int>(i) + 1, dimensions[i]);
    }
    WriteLabels(dxf);
    WriteNotes(dxf);
    WriteMaterialTable(dxf);
    // 钢屋架 GWJ-1 几何简图及杆件截面, 比例 1:50
    dxf.Text(
        kTextLayer, 4300.0, -4300.0, 450,
        "\xB8\xD6\xCE\xDD\xBC\xDC GWJ-1 \xBC\xB8\xBA\xCE\xBC\xF2\xCD\xBC\xBC\xB0\xB8\xCB\xBC\xFE"
        "\xBD\xD8\xC3\xE6");
    dxf.Line(kTextLayer, 4300.0, -4450.0, 13700.0, -4450.0);
    dxf.Text(kTextLayer, 8200.0, -5100.0, 300, "\xB1\xC8\xC0\xFD 1:50");
    dxf.Pair(0, "ENDSEC");
    dxf.Pair(0, "EOF");
    return std::move(dxf.Text());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarrant-truss-dxf <output.dxf>\n");
        return 2;
    }
    std::string error;
    // The argument is a file-system name; the file helpers take model paths (GBK).
    const std::string path = quarrant::ModelPath(std::filesystem::path(argv[1]));
    if (!quarrant::WriteFileAtomically(path, TrussDxf())) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
