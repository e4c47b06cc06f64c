#pragma once

// The entity records of a drawing. Coordinates and lengths are doubles in drawing units;
// after normalisation Y grows downwards and the drawing's lower-left extent is the origin.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quarrant {

// Type codes of CCadEntity; 7 is reserved and never created.
enum CadType : int {
    kCadLine = 1,
    kCadArc = 2,
    kCadCircle = 3,
    kCadEllipse = 4,
    kCadPolyline = 5,
    kCadDimension = 6,
    kCadReserved = 7,
    kCadText = 8,
    kCadMText = 9,
    kCadInsert = 10,
    kCadSolid = 11,
};

struct CCadColor {
    int red = 255;
    int green = 255;
    int blue = 255;
};

// Fields every record has besides its geometry.
struct CCadRecord {
    virtual ~CCadRecord() = default;

    int identifier = 0;
    int selected = 0;  // set by selection in the CAD control; never saved
    int marked = 0;    // already used by a quantity row; saved
    int reserved = 0;  // always 0, saved and restored
    std::string layer = "NULL";
    double lineWeight = 0.0;  // group 370 as read
    std::string lineType;
    int colorNumber = 256;  // 256 = by layer, -1 = its layer is off
    CCadColor color;
};

struct CCadBlock;
struct CCadEntity;

// A type code and its record. Right after an import, INSERT lists and blocks share records;
// after a reload every INSERT and DIMENSION owns private copies. Shared ownership keeps both
// states safe whatever is destroyed first.
struct CCadEntity {
    int type = 0;
    std::shared_ptr<CCadRecord> record;

    template <typename Record>
    Record* As() const {
        return static_cast<Record*>(record.get());
    }
};

using CCadEntityList = std::vector<CCadEntity>;

struct CCadLine : CCadRecord {
    int paperSpace = 0;  // group 67
    double startX = 0.0, startY = 0.0, endX = 0.0, endY = 0.0;
};

struct CCadArc : CCadRecord {
    double centerX = 0.0, centerY = 0.0;
    double startAngle = 0.0, endAngle = 0.0;  // degrees, Y-down sense after normalisation
    double radius = 0.0;
};

struct CCadCircle : CCadRecord {
    double centerX = 0.0, centerY = 0.0, radius = 0.0;
};

struct CCadEllipse : CCadRecord {
    double centerX = 0.0, centerY = 0.0;
    double axisX = 0.0, axisY = 0.0;                  // major-axis end point relative to the centre
    double ratio = 0.0;                               // minor / major
    double startParameter = 0.0, endParameter = 0.0;  // radians
};

struct CCadVertex {
    double x = 0.0, y = 0.0;
    double startWidth = 0.0, endWidth = 0.0;
    unsigned char hasBulge = 0;
    double bulge = 0.0;
};

struct CCadPolyline : CCadRecord {
    int vertexCount = 0;
    int flags = 0;  // bit 1 = closed
    int hasConstantWidth = 0;
    double constantWidth = 0.0;
    std::vector<CCadVertex> vertices;  // vertexCount entries
};

// A point of a DIMENSION with the mark telling whether the file gave it.
struct CCadDimPoint {
    unsigned char present = 0;
    double x = 0.0, y = 0.0;
};

struct CCadDimension : CCadRecord {
    int dimensionType = 0;             // group 70
    int attachment = 0;                // 71
    int lineSpacingStyle = 0;          // 72
    double lineSpacingFactor = 0.0;    // 41
    std::string measurement;           // 42, kept as text
    std::string textHeight;            // copy of the drawing's $DIMTXT text
    double textRotation = 0.0;         // 53
    double horizontalDirection = 0.0;  // 51
    double rotation = 0.0;             // 50
    double extensionLineAngle = 0.0;   // 52
    CCadDimPoint point11, point10, point12, point13, point14, point15, point16;
    std::string textOverride;  // 1
    std::string blockName;     // 2
    // The block geometry: right after an import the block of the block table (may be none),
    // after a reload a private block owned by this record.
    std::shared_ptr<CCadBlock> block;
};

struct CCadText : CCadRecord {
    std::string text;
    double insertX = 0.0, insertY = 0.0;
    double secondX = 0.0, secondY = 0.0;
    double rotation = 0.0;  // degrees
    int height = 0;
    int justificationKind = 0;  // 0 = horizontal (group 72), 1 = vertical (group 73)
    int justification = 0;
};

struct CCadMText : CCadRecord {
    std::string text;
    double insertX = 0.0, insertY = 0.0;
    double referenceWidth = 0.0;   // 41
    double referenceHeight = 0.0;  // 43
    double textHeight = 0.0;       // 40
    int drawingDirection = 0;      // 72
    double rotation = 0.0;         // degrees
};

struct CCadInsert : CCadRecord {
    std::string blockName;
    double insertX = 0.0, insertY = 0.0;
    double scaleX = 1.0, scaleY = 1.0;
    double rotation = 0.0;
    CCadEntityList entities;
};

struct CCadSolid : CCadRecord {
    int unused1 = 0, unused2 = 0;
    int group93 = 0;
    int unused3 = 0;
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0, x3 = 0.0, y3 = 0.0, x4 = 0.0, y4 = 0.0;
};

struct CCadBlock {
    std::string name;
    CCadEntityList entities;
};

// Makes an entity of the given record type with a fresh record.
template <typename Record>
CCadEntity MakeEntity(int type) {
    return CCadEntity{type, std::make_shared<Record>()};
}

// A deep copy of an entity record (nested INSERT lists and DIMENSION blocks copied too).
CCadEntity CloneEntity(const CCadEntity& entity);

}  // namespace quarrant
