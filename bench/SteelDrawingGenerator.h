#pragma once

// Writes large, realistic steel-structure drawings as R2000 ASCII DXF: a column grid with
// axis lines, column sections inserted many times, main and secondary beams, base plates with
// bolt holes, connection details (inserted as blocks with attributes, and drawn out as
// repeated groups of plates, bolts, stiffeners and fillets), curved members as polylines with
// bulges, GBK labels, dimensions with their *D blocks, weld solids and section hatches. A
// fraction of the entities is drawn twice, exactly or shifted by less than a millimetre, as
// drawings merged from several sources are.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quarrant::bench {

class SteelDrawingGenerator {
public:
    struct Stats {
        std::size_t entities = 0;       // top-level entity records (ATTRIB/SEQEND not counted)
        std::size_t blockEntities = 0;  // entity records inside BLOCK definitions
        std::size_t blocks = 0;
        std::size_t duplicates = 0;  // exact and near copies among the entities
        std::size_t bytes = 0;
    };

    SteelDrawingGenerator(std::size_t entityCount, std::uint64_t seed = 20240601)
        : m_target(entityCount), m_random(seed) {}

    // Writes the whole file. Returns false when writing failed.
    bool Write(std::FILE* out) {
        m_out = out;
        m_ok = true;
        m_buffer.reserve(kFlushSize + 4096);
        PlanGrid();
        WriteHeader();
        WriteTables();
        WriteBlocks();
        WriteEntities();
        Pair(0, "EOF");
        Flush();
        return m_ok;
    }

    const Stats& GetStats() const { return m_stats; }

private:
    static constexpr std::size_t kFlushSize = std::size_t{1} << 20;
    static constexpr double kBayX = 6000.0;  // mm
    static constexpr double kBayY = 7500.0;
    // The grid origin: drawings are seldom drawn at 0, 0, and most coordinates carry long
    // decimals.
    static constexpr double kOriginX = 31250.123456789;
    static constexpr double kOriginY = 12008.987654321;
    static constexpr std::size_t kEntitiesPerBay = 38;  // roughly, used to size the grid
    static constexpr int kDetailBlocks = 8;

    // ------------------------------------------------------------------ output
    void Flush() {
        if (!m_buffer.empty()) {
            if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size()) {
                m_ok = false;
            }
            m_stats.bytes += m_buffer.size();
            m_buffer.clear();
        }
    }
    void Code(int code) {
        char digits[8];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
        (void)ec;
        std::size_t n = static_cast<std::size_t>(end - digits);
        for (std::size_t k = n; k < 3; ++k) {
            m_buffer += ' ';
        }
        m_buffer.append(digits, n);
        m_buffer += '\n';
    }
    void Pair(int code, std::string_view value) {
        Code(code);
        m_buffer += value;
        m_buffer += '\n';
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    // Reals as CAD programs write them: up to 16 significant digits, no trailing zeros.
    void Real(int code, double value) {
        Code(code);
        char digits[40];
        auto [end, ec] =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 16);
        (void)ec;
        std::string_view text(digits, static_cast<std::size_t>(end - digits));
        m_buffer += text;
        if (text.find_first_of(".e") == std::string_view::npos) {
            m_buffer += ".0";
        }
        m_buffer += '\n';
    }
    void Int(int code, long long value) {
        Code(code);
        char digits[24];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
        (void)ec;
        for (std::ptrdiff_t k = end - digits; k < 6 && code >= 60 && code < 100; ++k) {
            m_buffer += ' ';  // small integers right-aligned, as AutoCAD does
        }
        m_buffer.append(digits, end);
        m_buffer += '\n';
    }
    void Handle(std::string_view owner) {
        Code(5);
        char digits[24];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, m_handle++, 16);
        (void)ec;
        for (char* p = digits; p < end; ++p) {
            if (*p >= 'a' && *p <= 'f') {
                *p = static_cast<char>(*p - 'a' + 'A');
            }
        }
        m_buffer.append(digits, end);
        m_buffer += '\n';
        Pair(330, owner);
    }

    // ------------------------------------------------------------------ randomness
    std::uint64_t Next() {
        std::uint64_t z = (m_random += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool Chance(double p) { return Uniform() < p; }

    // ------------------------------------------------------------------ entities
    // Common head of an entity: type, handle, owner, layer and the subclass marker.
    void Head(std::string_view type, std::string_view layer, std::string_view subclass,
              std::string_view owner) {
        Pair(0, type);
        Handle(owner);
        Pair(100, "AcDbEntity");
        Pair(8, layer);
        if (!subclass.empty()) {
            Pair(100, subclass);
        }
    }
    void CountEntity(bool inBlock) {
        if (inBlock) {
            ++m_stats.blockEntities;
        } else {
            ++m_stats.entities;
        }
    }

    void Line(double x1, double y1, double x2, double y2, std::string_view layer,
              std::string_view owner = "1F", bool inBlock = false, int color = 256) {
        Head("LINE", layer, "AcDbLine", owner);
        if (color != 256) {
            // Centre lines carry their own line type, colour and weight.
            Pair(6, "CENTER");
            Int(62, color);
            Int(370, 18);
        }
        Real(10, x1);
        Real(20, y1);
        Real(30, 0.0);
        Real(11, x2);
        Real(21, y2);
        Real(31, 0.0);
        CountEntity(inBlock);
    }
    void Circle(double x, double y, double r, std::string_view layer, std::string_view owner = "1F",
                bool inBlock = false) {
        Head("CIRCLE", layer, "AcDbCircle", owner);
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        Real(40, r);
        CountEntity(inBlock);
    }
    void Arc(double x, double y, double r, double a0, double a1, std::string_view layer,
             std::string_view owner = "1F", bool inBlock = false) {
        Head("ARC", layer, "AcDbCircle", owner);
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        Real(40, r);
        Pair(100, "AcDbArc");
        Real(50, a0);
        Real(51, a1);
        CountEntity(inBlock);
    }
    struct Vertex {
        double x, y, bulge;
    };
    void Polyline(const std::vector<Vertex>& vertices, bool closed, std::string_view layer,
                  double width = -1.0, std::string_view owner = "1F", bool inBlock = false) {
        Head("LWPOLYLINE", layer, "AcDbPolyline", owner);
        Int(90, static_cast<long long>(vertices.size()));
        Int(70, closed ? 1 : 0);
        Real(43, width >= 0 ? width : 0.0);
        for (const Vertex& v : vertices) {
            Real(10, v.x);
            Real(20, v.y);
            if (v.bulge != 0.0) {
                Real(42, v.bulge);
            }
        }
        CountEntity(inBlock);
    }
    void Solid(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4, std::string_view layer, std::string_view owner = "1F",
               bool inBlock = false) {
        Head("SOLID", layer, "AcDbTrace", owner);
        Real(10, x1);
        Real(20, y1);
        Real(30, 0.0);
        Real(11, x2);
        Real(21, y2);
        Real(31, 0.0);
        Real(12, x3);
        Real(22, y3);
        Real(32, 0.0);
        Real(13, x4);
        Real(23, y4);
        Real(33, 0.0);
        CountEntity(inBlock);
    }
    void Text(double x, double y, double height, std::string_view text, std::string_view layer,
              double rotation = 0.0) {
        Head("TEXT", layer, "AcDbText", "1F");
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        Real(40, height);
        Pair(1, text);
        if (rotation != 0.0) {
            Real(50, rotation);
        }
        Real(41, 0.7);
        Pair(7, "HZTXT");
        Int(72, 1);  // centred on the second alignment point
        Real(11, x);
        Real(21, y);
        Real(31, 0.0);
        Pair(100, "AcDbText");
        CountEntity(false);
    }
    void MText(double x, double y, std::string_view text) {
        Head("MTEXT", kLayerText, "AcDbMText", "1F");
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        Real(40, 350.0);
        Real(41, 12000.0);
        Int(71, 1);
        Int(72, 5);
        Pair(1, text);
        Pair(7, "HZTXT");
        Real(73, 1.0);
        CountEntity(false);
    }
    // A section hatch: the H shape of a column, twelve boundary edges.
    void Hatch(double x, double y, double w, double h) {
        Head("HATCH", kLayerHatch, "AcDbHatch", "1F");
        Real(10, 0.0);
        Real(20, 0.0);
        Real(30, 0.0);
        Real(210, 0.0);
        Real(220, 0.0);
        Real(230, 1.0);
        Pair(2, "ANSI31");
        Int(70, 0);
        Int(71, 1);
        Int(91, 1);
        Int(92, 7);
        Int(72, 0);
        Int(73, 1);
        Int(93, 12);
        const double tf = h * 0.08;
        const double tw = w * 0.06;
        const double xs[] = {x,     x + w, x + w, x + (w + tw) / 2, x + (w + tw) / 2, x + w,
                             x + w, x,     x,     x + (w - tw) / 2, x + (w - tw) / 2, x};
        const double ys[] = {y,     y,     y + tf,     y + tf,     y + h - tf, y + h - tf,
                             y + h, y + h, y + h - tf, y + h - tf, y + tf,     y + tf};
        for (int k = 0; k < 12; ++k) {
            Real(10, xs[k]);
            Real(20, ys[k]);
        }
        Int(97, 1);
        Pair(330, "2A7");
        Int(75, 1);
        Int(76, 1);
        Real(52, 0.0);
        Real(41, 20.0);
        Int(77, 0);
        Int(78, 1);
        Real(53, 45.0);
        Real(43, 0.0);
        Real(44, 0.0);
        Real(45, -2.24506);
        Real(46, 2.24506);
        Int(79, 0);
        Int(98, 1);
        Real(10, x + w / 2);
        Real(20, y + h / 2);
        CountEntity(false);
    }
    void Insert(std::string_view block, double x, double y, double rotation,
                const std::vector<std::string>& attributes) {
        Head("INSERT", kLayerColumn, "AcDbBlockReference", "1F");
        if (!attributes.empty()) {
            Int(66, 1);
        }
        Pair(2, block);
        Real(10, x);
        Real(20, y);
        Real(30, 0.0);
        if (rotation != 0.0) {
            Real(50, rotation);
        }
        CountEntity(false);
        double offset = 0.0;
        for (const std::string& text : attributes) {
            Head("ATTRIB", kLayerText, "AcDbText", "1F");
            Real(10, x + 200.0);
            Real(20, y + 300.0 + offset);
            Real(30, 0.0);
            Real(40, 250.0);
            Pair(1, text);
            Pair(100, "AcDbAttribute");
            Pair(2, "MARK");
            Int(70, 0);
            offset += 350.0;
        }
        if (!attributes.empty()) {
            Pair(0, "SEQEND");
            Handle("1F");
            Pair(100, "AcDbEntity");
            Pair(8, kLayerColumn);
        }
    }
    // A linear dimension and its *D block (written in BLOCKS beforehand).
    void Dimension(int number, double x1, double y1, double x2, double offset) {
        Head("DIMENSION", kLayerDim, "AcDbDimension", "1F");
        std::string name = "*D" + std::to_string(number);
        Pair(2, name);
        Real(10, x2);
        Real(20, y1 + offset);
        Real(30, 0.0);
        Real(11, (x1 + x2) / 2);
        Real(21, y1 + offset + 150.0);
        Real(31, 0.0);
        Int(70, 32);
        Int(71, 5);
        Real(42, x2 - x1);
        Pair(3, "STEEL-DIM");
        Pair(100, "AcDbAlignedDimension");
        Real(13, x1);
        Real(23, y1);
        Real(33, 0.0);
        Real(14, x2);
        Real(24, y1);
        Real(34, 0.0);
        Pair(100, "AcDbRotatedDimension");
        CountEntity(false);
    }

    // ------------------------------------------------------------------ layout
    void PlanGrid() {
        std::size_t bays = m_target / kEntitiesPerBay + 1;
        m_columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(bays))));
        m_rows = static_cast<int>((bays + static_cast<std::size_t>(m_columns) - 1) /
                                  static_cast<std::size_t>(m_columns));
    }

    void WriteHeader() {
        Pair(0, "SECTION");
        Pair(2, "HEADER");
        Pair(9, "$ACADVER");
        Pair(1, "AC1015");
        Pair(9, "$ACADMAINTVER");
        Int(70, 6);
        Pair(9, "$DWGCODEPAGE");
        Pair(3, "ANSI_936");
        Pair(9, "$INSBASE");
        Real(10, 0.0);
        Real(20, 0.0);
        Real(30, 0.0);
        Pair(9, "$EXTMIN");
        Real(10, -3000.0);
        Real(20, -3000.0);
        Real(30, 0.0);
        Pair(9, "$EXTMAX");
        Real(10, m_columns * kBayX + 3000.0);
        Real(20, m_rows * kBayY + 3000.0);
        Real(30, 0.0);
        Pair(9, "$LIMMIN");
        Real(10, 0.0);
        Real(20, 0.0);
        Pair(9, "$LIMMAX");
        Real(10, 420000.0);
        Real(20, 297000.0);
        Pair(9, "$CELTSCALE");
        Real(40, 1.0);
        Pair(9, "$DIMTXT");
        Real(40, 350.0);
        Pair(9, "$DIMASZ");
        Real(40, 200.0);
        Pair(9, "$INSUNITS");
        Int(70, 4);
        Pair(9, "$MEASUREMENT");
        Int(70, 1);
        Pair(0, "ENDSEC");
        Pair(0, "SECTION");
        Pair(2, "CLASSES");
        Pair(0, "CLASS");
        Pair(1, "ACDBDICTIONARYWDFLT");
        Pair(2, "AcDbDictionaryWithDefault");
        Pair(3, "ObjectDBX Classes");
        Int(90, 0);
        Int(280, 0);
        Int(281, 0);
        Pair(0, "ENDSEC");
    }

    void Layer(std::string_view name, int color, int flags, std::string_view lineType) {
        Pair(0, "LAYER");
        Handle("2");
        Pair(100, "AcDbSymbolTableRecord");
        Pair(100, "AcDbLayerTableRecord");
        Pair(2, name);
        Int(70, flags);
        Int(62, color);
        Pair(6, lineType);
        Int(370, -3);
        Pair(390, "F");
    }

    void WriteTables() {
        Pair(0, "SECTION");
        Pair(2, "TABLES");
        Pair(0, "TABLE");
        Pair(2, "LTYPE");
        Handle("0");
        Pair(100, "AcDbSymbolTable");
        Int(70, 3);
        for (const char* name : {"CONTINUOUS", "CENTER", "DASHED"}) {
            Pair(0, "LTYPE");
            Handle("5");
            Pair(100, "AcDbSymbolTableRecord");
            Pair(100, "AcDbLinetypeTableRecord");
            Pair(2, name);
            Int(70, 0);
            Pair(3, name);
            Int(72, 65);
            Int(73, 0);
            Real(40, 0.0);
        }
        Pair(0, "ENDTAB");
        Pair(0, "TABLE");
        Pair(2, "LAYER");
        Handle("0");
        Pair(100, "AcDbSymbolTable");
        Int(70, 12);
        Layer("0", 7, 0, "CONTINUOUS");
        Layer(kLayerAxis, 1, 0, "CENTER");
        Layer(kLayerColumn, 4, 0, "CONTINUOUS");
        Layer(kLayerBeam, 2, 0, "CONTINUOUS");
        Layer(kLayerBolt, 6, 0, "CONTINUOUS");
        Layer(kLayerPlate, 3, 0, "CONTINUOUS");
        Layer(kLayerDim, 3, 0, "CONTINUOUS");
        Layer(kLayerText, 7, 0, "CONTINUOUS");
        Layer(kLayerHatch, 8, 0, "CONTINUOUS");
        Layer(kLayerWeld, 5, 0, "CONTINUOUS");
        Layer(kLayerHelp, -8, 0, "DASHED");   // switched off
        Layer(kLayerFrozen, 9, 1, "DASHED");  // frozen
        Pair(0, "ENDTAB");
        Pair(0, "TABLE");
        Pair(2, "STYLE");
        Handle("0");
        Int(70, 1);
        Pair(0, "STYLE");
        Handle("3");
        Pair(2, "HZTXT");
        Int(70, 0);
        Real(40, 0.0);
        Real(41, 0.7);
        Pair(3, "simplex.shx");
        Pair(4, "hztxt.shx");
        Pair(0, "ENDTAB");
        Pair(0, "ENDSEC");
    }

    // A column section (H shape) centred on the base point.
    void ColumnBlock(std::string_view name, double h, double b, double tw, double tf) {
        BlockStart(name);
        double x0 = -b / 2;
        double y0 = -h / 2;
        std::vector<Vertex> outline = {
            {x0, y0, 0},           {x0 + b, y0, 0},
            {x0 + b, y0 + tf, 0},  {tw / 2, y0 + tf, 0},
            {tw / 2, -y0 - tf, 0}, {x0 + b, -y0 - tf, 0},
            {x0 + b, -y0, 0},      {x0, -y0, 0},
            {x0, -y0 - tf, 0},     {-tw / 2, -y0 - tf, 0},
            {-tw / 2, y0 + tf, 0}, {x0, y0 + tf, 0},
        };
        Polyline(outline, true, "0", -1.0, "1A", true);
        for (int k = 0; k < 4; ++k) {
            double sx = (k % 2 == 0) ? tw / 2 + 13 : -tw / 2 - 13;
            double sy = (k < 2) ? y0 + tf + 13 : -y0 - tf - 13;
            Arc(sx, sy, 13.0, 90.0 * k, 90.0 * k + 90.0, "0", "1A", true);
        }
        Line(0, y0 - 100, 0, -y0 + 100, "0", "1A", true, 1);
        BlockEnd();
    }

    // A beam-to-column connection: gusset plate, bolt group, stiffeners, fillets, welds.
    void DetailBlock(std::string_view name, int boltRows) {
        BlockStart(name);
        std::vector<Vertex> plate = {
            {0, 0, 0}, {320, 0, 0}, {320, 90.0 * boltRows + 60, 0}, {0, 90.0 * boltRows + 60, 0}};
        Polyline(plate, true, kLayerPlate, -1.0, "1A", true);
        for (int row = 0; row < boltRows; ++row) {
            for (int col = 0; col < 2; ++col) {
                Circle(70.0 + 180.0 * col, 75.0 + 90.0 * row, 11.0, kLayerBolt, "1A", true);
            }
        }
        Line(160, -50, 160, 90.0 * boltRows + 110, kLayerPlate, "1A", true);
        Line(-30, 0, -30, 90.0 * boltRows + 60, kLayerPlate, "1A", true);
        Arc(0, 0, 30, 180, 270, kLayerPlate, "1A", true);
        Solid(0, 0, 12, 0, 0, 12, 12, 12, kLayerWeld, "1A", true);
        BlockEnd();
    }

    void DimensionBlock(int number, double x1, double y1, double x2, double offset) {
        BlockStart("*D" + std::to_string(number));
        double yd = y1 + offset;
        Line(x1, y1 + 50, x1, yd + 100, kLayerDim, "1A", true);
        Line(x2, y1 + 50, x2, yd + 100, kLayerDim, "1A", true);
        Line(x1, yd, x2, yd, kLayerDim, "1A", true);
        Solid(x1, yd, x1 + 200, yd + 33, x1 + 200, yd - 33, x1 + 200, yd - 33, kLayerDim, "1A",
              true);
        Solid(x2, yd, x2 - 200, yd + 33, x2 - 200, yd - 33, x2 - 200, yd - 33, kLayerDim, "1A",
              true);
        // Dimension text and definition points: not read by the importer, but always there.
        Head("MTEXT", kLayerDim, "AcDbMText", "1A");
        Real(10, (x1 + x2) / 2);
        Real(20, yd + 150);
        Real(30, 0.0);
        Real(40, 350.0);
        Pair(1, "\\A1;" + std::to_string(static_cast<long long>(x2 - x1)));
        Head("POINT", "DEFPOINTS", "AcDbPoint", "1A");
        Real(10, x1);
        Real(20, y1);
        Real(30, 0.0);
        BlockEnd();
    }

    void BlockStart(std::string_view name) {
        Pair(0, "BLOCK");
        Handle("1A");
        Pair(100, "AcDbEntity");
        Pair(8, "0");
        Pair(100, "AcDbBlockBegin");
        Pair(2, name);
        Int(70, name.size() > 1 && name[0] == '*' ? 1 : 0);
        Real(10, 0.0);
        Real(20, 0.0);
        Real(30, 0.0);
        Pair(3, name);
        Pair(1, "");
        ++m_stats.blocks;
    }
    void BlockEnd() {
        Pair(0, "ENDBLK");
        Handle("1A");
        Pair(100, "AcDbEntity");
        Pair(8, "0");
        Pair(100, "AcDbBlockEnd");
    }

    // The dimension along the bottom of each bay: its block geometry and its entity share
    // these numbers.
    struct BayDimension {
        double x1, y1, x2, offset;
    };
    BayDimension DimensionOf(int column, int row) const {
        double x = kOriginX + column * kBayX;
        double y = kOriginY + row * kBayY;
        return {x, y, x + kBayX, -900.0};
    }

    void WriteBlocks() {
        Pair(0, "SECTION");
        Pair(2, "BLOCKS");
        BlockStart("*Model_Space");
        BlockEnd();
        BlockStart("*Paper_Space");
        BlockEnd();
        ColumnBlock("GZ-H400x300", 400, 300, 10, 16);
        ColumnBlock("GZ-H500x300", 500, 300, 11, 18);
        ColumnBlock("GZ-H350x350", 350, 350, 12, 19);
        for (int k = 0; k < kDetailBlocks; ++k) {
            DetailBlock(DetailName(k), 2 + k % 4);
        }
        int number = 0;
        for (int row = 0; row < m_rows; ++row) {
            for (int column = 0; column < m_columns; ++column) {
                BayDimension d = DimensionOf(column, row);
                DimensionBlock(++number, d.x1, d.y1, d.x2, d.offset);
            }
        }
        Pair(0, "ENDSEC");
    }

    static std::string DetailName(int k) {
        // "节点-" (connection) followed by the number.
        return std::string("\xBD\xDA\xB5\xE3-") + std::to_string(k + 1);
    }

    // One bay of the frame: everything around the column at its lower-left corner.
    void Bay(int column, int row, int dimensionNumber) {
        const double x = kOriginX + column * kBayX;
        const double y = kOriginY + row * kBayY;
        // Axis lines through the column, one bay long each.
        Line(x, y - 1500, x, y + kBayY - 1500, kLayerAxis);
        Line(x - 1500, y, x + kBayX - 1500, y, kLayerAxis);
        // The column section and its base plate with four anchor bolts.
        static const char* kColumns[] = {"GZ-H400x300", "GZ-H500x300", "GZ-H350x350"};
        std::vector<std::string> attributes;
        if ((column + row) % 5 == 0) {
            attributes = {"GZ-" + std::to_string(1 + (column + row) % 7), "Q355B"};
        }
        Insert(kColumns[(column * 7 + row) % 3], x, y, (column + row) % 4 == 0 ? 90.0 : 0.0,
               attributes);
        Polyline({{x - 300, y - 325, 0},
                  {x + 300, y - 325, 0},
                  {x + 300, y + 325, 0},
                  {x - 300, y + 325, 0}},
                 true, kLayerPlate, 0.0);
        for (int k = 0; k < 4; ++k) {
            Circle(x + ((k % 2) ? 220.0 : -220.0), y + ((k < 2) ? 245.0 : -245.0), 15.0,
                   kLayerBolt);
        }
        Hatch(x - 150, y - 200, 300, 400);
        if ((column + row) % 2 == 1) {
            Hatch(x + kBayX / 2 - 100, y - 200, 200, 400);  // a beam cut in section
        }
        // Main beams: two flange edges and the centre line, along X and along Y.
        const double hb = 100.0;  // half flange width in plan
        Line(x + 150, y - hb, x + kBayX - 150, y - hb, kLayerBeam);
        Line(x + 150, y + hb, x + kBayX - 150, y + hb, kLayerBeam);
        Line(x + 150, y, x + kBayX - 150, y, kLayerBeam, "1F", false, 1);
        Line(x - hb, y + 200, x - hb, y + kBayY - 200, kLayerBeam);
        Line(x + hb, y + 200, x + hb, y + kBayY - 200, kLayerBeam);
        Line(x, y + 200, x, y + kBayY - 200, kLayerBeam, "1F", false, 1);
        // Two secondary beams.
        for (int k = 1; k <= 2; ++k) {
            double sx = x + kBayX * k / 3.0;
            Line(sx - 75, y + hb, sx - 75, y + kBayY - hb, kLayerBeam);
            Line(sx + 75, y + hb, sx + 75, y + kBayY - hb, kLayerBeam);
        }
        // A connection detail drawn out at the beam end (the repeated group), rotated per bay
        // kind, and one inserted as a block.
        DrawnDetail(x + 150, y - 160, (column + row) % 2 == 0);
        Insert(DetailName((column + 3 * row) % kDetailBlocks), x, y + 200, (row % 2) ? 0.0 : 270.0,
               {});
        // A haunched edge member: a polyline with bulges.
        double r = 400.0 + 50.0 * ((column + row) % 3);
        Polyline({{x + 600, y + 900, 0},
                  {x + 600 + r, y + 900, 0.41421356},
                  {x + 600 + 2 * r, y + 900 + r, 0},
                  {x + 600 + 2 * r, y + 2000, 0}},
                 false, kLayerBeam);
        // A stair or fillet arc and a weld mark.
        Arc(x + 3000, y + 3750, 250.0 + (row % 4) * 25.0, 0.0, 90.0 + (column % 3) * 45.0,
            kLayerPlate);
        Arc(x - hb - 25, y + 225, 25, 180, 270, kLayerPlate);
        Solid(x + 150, y + 100, x + 180, y + 100, x + 150, y + 130, x + 180, y + 130, kLayerWeld);
        // Labels in GBK: "钢梁" (beam) with its section, "钢柱" (column).
        static const std::string kBeam = "\xB8\xD6\xC1\xBA";
        static const std::string kColumn = "\xB8\xD6\xD6\xF9";
        Text(x + kBayX / 2, y + 250, 350,
             kBeam + " GL-" + std::to_string(1 + column % 9) + " H400x200x8x13", kLayerText);
        Text(x + 250, y + 500, 300, kColumn + " GZ-" + std::to_string(1 + row % 6), kLayerText,
             90.0);
        if ((column + row) % 4 == 0) {
            // "说明：未注明螺栓均为10.9级M20高强螺栓" (note: unmarked bolts are grade 10.9 M20).
            MText(x + 1000, y + 4000,
                  "{\\fSimSun|b0|i0|c134|p2;\xCB\xB5\xC3\xF7\xA3\xBA\xCE\xB4\xD7\xA2\xC3\xF7"
                  "\xC2\xDD\xCB\xA8\xBE\xF9\xCE\xAA"
                  "10.9"
                  "\xBC\xB6"
                  "M20"
                  "\xB8\xDF\xC7\xBF\xC2\xDD\xCB\xA8}");
        }
        BayDimension d = DimensionOf(column, row);
        Dimension(dimensionNumber, d.x1, d.y1, d.x2, d.offset);
        // Entities on the switched-off help layer and the frozen layer.
        if ((column + row) % 10 == 3) {
            Line(x, y, x + kBayX, y + kBayY, kLayerHelp);
            Line(x, y + kBayY, x + kBayX, y, kLayerFrozen);
        }
    }

    // The repeated group of a beam-end connection: plate, six bolts, two stiffeners, a fillet.
    void DrawnDetail(double x, double y, bool turned) {
        auto place = [&](double dx, double dy, double& px, double& py) {
            if (turned) {
                // Turned by 30 degrees: coordinates with long decimals, as real details have.
                const double c = 0.8660254037844387;
                const double s = 0.5;
                px = x + dx * c - dy * s;
                py = y + dx * s + dy * c;
            } else {
                px = x + dx;
                py = y + dy;
            }
        };
        // A gusset plate with two chamfered corners.
        const double plate[6][2] = {{0, 0}, {280, 0}, {320, 40}, {320, 260}, {40, 260}, {0, 220}};
        std::vector<Vertex> outline;
        for (const auto& corner : plate) {
            double px, py;
            place(corner[0], corner[1], px, py);
            outline.push_back({px, py, 0});
        }
        Polyline(outline, true, kLayerPlate);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 2; ++col) {
                double bx, by;
                place(70.0 + 180.0 * col, 60.0 + 70.0 * row, bx, by);
                Circle(bx, by, 11.0, kLayerBolt);
            }
        }
        double ax, ay, bx, by;
        place(160, -40, ax, ay);
        place(160, 300, bx, by);
        Line(ax, ay, bx, by, kLayerPlate);
        place(-20, 0, ax, ay);
        place(-20, 260, bx, by);
        Line(ax, ay, bx, by, kLayerPlate);
        place(0, 0, ax, ay);
        Arc(ax, ay, 30.0, turned ? 210.0 : 180.0, turned ? 300.0 : 270.0, kLayerPlate);
    }

    // Some entities drawn twice: exactly, or shifted by a fraction of a millimetre.
    void Duplicates(int column, int row) {
        const double x = kOriginX + column * kBayX;
        const double y = kOriginY + row * kBayY;
        double shift = Chance(0.5) ? 0.0 : 0.3;
        switch (Below(4)) {
            case 0:
                Line(x + 150 + shift, y - 100, x + kBayX - 150, y - 100 + shift, kLayerBeam);
                break;
            case 1:
                Circle(x + 220 + shift, y + 245, 15.0, kLayerBolt);
                break;
            case 2:
                Polyline({{x - 300, y - 325 + shift, 0},
                          {x + 300, y - 325, 0},
                          {x + 300, y + 325, 0},
                          {x - 300, y + 325, 0}},
                         true, kLayerPlate, 0.0);
                break;
            default:
                Arc(x - 125 + shift, y + 225, 25, 180, 270, kLayerPlate);
                break;
        }
        ++m_stats.duplicates;
    }

    void WriteEntities() {
        Pair(0, "SECTION");
        Pair(2, "ENTITIES");
        int number = 0;
        for (int row = 0; row < m_rows && m_stats.entities < m_target; ++row) {
            for (int column = 0; column < m_columns && m_stats.entities < m_target; ++column) {
                Bay(column, row, ++number);
                if (Chance(0.8)) {
                    Duplicates(column, row);
                }
            }
        }
        // Fill up to the exact count with short grid lines.
        int k = 0;
        while (m_stats.entities < m_target) {
            Line(-2000.0 - k, -2000.0, -2000.0 - k, -2500.0, "0");
            ++k;
        }
        Pair(0, "ENDSEC");
    }

    static constexpr std::string_view kLayerAxis = "\xD6\xE1\xCF\xDF";           // 轴线
    static constexpr std::string_view kLayerColumn = "\xB8\xD6\xD6\xF9";         // 钢柱
    static constexpr std::string_view kLayerBeam = "\xB8\xD6\xC1\xBA";           // 钢梁
    static constexpr std::string_view kLayerBolt = "\xC2\xDD\xCB\xA8";           // 螺栓
    static constexpr std::string_view kLayerPlate = "\xBD\xDA\xB5\xE3\xB0\xE5";  // 节点板
    static constexpr std::string_view kLayerDim = "\xB1\xEA\xD7\xA2";            // 标注
    static constexpr std::string_view kLayerText = "\xCE\xC4\xD7\xD6";           // 文字
    static constexpr std::string_view kLayerHatch = "\xCC\xEE\xB3\xE4";          // 填充
    static constexpr std::string_view kLayerWeld = "\xBA\xB8\xB7\xEC";           // 焊缝
    static constexpr std::string_view kLayerHelp = "\xB8\xA8\xD6\xFA\xCF\xDF";   // 辅助线
    static constexpr std::string_view kLayerFrozen = "\xB6\xB3\xBD\xE1";         // 冻结

    std::size_t m_target;
    std::uint64_t m_random;
    std::FILE* m_out = nullptr;
    bool m_ok = true;
    std::string m_buffer;
    std::uint64_t m_handle = 0x100;
    int m_columns = 1;
    int m_rows = 1;
    Stats m_stats;
};

}  // namespace quarrant::bench
