#pragma once

// Shared by the DXF reader and normalisation tests: DXF texts built group by group.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/CNumbers.h"

namespace quarrant::testing {

class Dxf {
public:
    // One group: the code right-aligned in three columns, as CAD programs write it.
    Dxf& Pair(int code, std::string_view value) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%3d", code);
        m_text += buffer;
        m_text += '\n';
        m_text += value;
        m_text += '\n';
        return *this;
    }
    Dxf& Pair(int code, double value) { return Pair(code, FormatFixed(value, 6)); }
    Dxf& Raw(std::string_view line) {
        m_text += line;
        m_text += '\n';
        return *this;
    }
    Dxf& Section(std::string_view name) { return Pair(0, "SECTION").Pair(2, name); }
    Dxf& EndSection() { return Pair(0, "ENDSEC"); }
    Dxf& Eof() { return Pair(0, "EOF"); }

    // A TABLES section with one LAYER table; a negative colour means off.
    struct LayerSpec {
        std::string name;
        int color = 7;
        int flags = 0;
    };
    Dxf& Layers(const std::vector<LayerSpec>& layers) {
        Section("TABLES").Pair(0, "TABLE").Pair(2, "LAYER").Pair(70, "1");
        for (const LayerSpec& layer : layers) {
            Pair(0, "LAYER").Pair(2, layer.name).Pair(70, FormatInt(layer.flags));
            Pair(62, FormatInt(layer.color)).Pair(6, "CONTINUOUS");
        }
        return Pair(0, "ENDTAB").EndSection();
    }
    // Layers "0" (colour 7), "RED" (1), "BLUE" (5), "OFF" (off).
    Dxf& Tables() { return Layers({{"0", 7}, {"RED", 1}, {"BLUE", 5}, {"OFF", -2}}); }

    Dxf& Line(double x1, double y1, double x2, double y2, std::string_view layer = "0") {
        return Pair(0, "LINE").Pair(8, layer).Pair(10, x1).Pair(20, y1).Pair(11, x2).Pair(21, y2);
    }
    Dxf& Arc(double x, double y, double r, double a0, double a1, std::string_view layer = "0") {
        return Pair(0, "ARC").Pair(8, layer).Pair(10, x).Pair(20, y).Pair(40, r).Pair(50, a0).Pair(
            51, a1);
    }
    Dxf& Circle(double x, double y, double r, std::string_view layer = "0") {
        return Pair(0, "CIRCLE").Pair(8, layer).Pair(10, x).Pair(20, y).Pair(40, r);
    }
    // A unit square.
    Dxf& Solid(double x, double y, std::string_view layer = "0") {
        return Pair(0, "SOLID")
            .Pair(8, layer)
            .Pair(10, x)
            .Pair(20, y)
            .Pair(11, x + 1)
            .Pair(21, y)
            .Pair(12, x)
            .Pair(22, y + 1)
            .Pair(13, x + 1)
            .Pair(23, y + 1);
    }
    Dxf& Insert(std::string_view block, double x, double y, std::string_view layer = "0") {
        return Pair(0, "INSERT").Pair(8, layer).Pair(2, block).Pair(10, x).Pair(20, y);
    }

    std::string Text() const { return m_text; }
    operator std::string() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace quarrant::testing
