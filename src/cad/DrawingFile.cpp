#include "cad/DrawingFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "base/BinaryStream.h"

namespace quarrant {
namespace {

// The least one entity takes in the file: its type code (an unknown code has no record).
// A count of entities that cannot fit into the bytes left is damage and never sizes memory.
constexpr std::size_t kMinEntityBytes = 4;
// The least an entity of an INSERT list or a dimension block takes: its type code and the
// shortest record those lists may hold (a CIRCLE: four reals, seven ints, two strings, each
// at least 4 bytes).
constexpr std::size_t kMinListedEntityBytes = 4 + 13 * 4;
// The least any record takes with its type code (an INSERT with an empty list). The entity
// array is reserved for no more records than the data could hold, so a file of unknown codes
// cannot make it reserve more than a fraction of its own size.
constexpr std::size_t kMinRecordBytes = 4 + 12 * 4;
// The least one LWPOLYLINE vertex takes: the has-bulge int and five reals, each at least its
// 4-byte length.
constexpr std::size_t kMinVertexBytes = 24;
// Bytes a record takes on average when written, used only to size the output buffer.
constexpr std::size_t kTypicalRecordBytes = 112;

// Kinds that have a record in the file; every other code is passed over (7 included).
bool IsStoredType(int type) {
    switch (type) {
        case kCadLine:
        case kCadArc:
        case kCadCircle:
        case kCadEllipse:
        case kCadPolyline:
        case kCadDimension:
        case kCadText:
        case kCadMText:
        case kCadInsert:
        case kCadSolid:
            return true;
        default:
            return false;
    }
}

// Kinds that an INSERT list or a dimension block holds in the file.
bool IsListedType(int type) {
    switch (type) {
        case kCadLine:
        case kCadArc:
        case kCadCircle:
        case kCadEllipse:
        case kCadPolyline:
        case kCadSolid:
            return true;
        default:
            return false;
    }
}

// A count that the rest of the data could hold, each item taking at least minBytes.
bool CountFits(std::int32_t count, const BinaryReader& in, std::size_t minBytes) {
    return count >= 0 && static_cast<std::size_t>(count) <= in.Remaining() / minBytes;
}

// ---------------------------------------------------------------------------------------
// Reading. Every field read on a failed reader yields a neutral value and leaves the reader
// failed, so a record is read field by field and judged once at its end.

void ReadInt(BinaryReader& in, int& value) {
    std::int32_t read = 0;
    in.ReadInt32(read);
    value = read;
}

// Colour number, reserved, identifier, marked: the order shared by most records.
void ReadCommonInts(BinaryReader& in, CCadRecord& record) {
    ReadInt(in, record.colorNumber);
    ReadInt(in, record.reserved);
    ReadInt(in, record.identifier);
    ReadInt(in, record.marked);
}

void ReadRgb(BinaryReader& in, CCadColor& color) {
    ReadInt(in, color.blue);
    ReadInt(in, color.green);
    ReadInt(in, color.red);
}

void ReadLayerAndLineType(BinaryReader& in, CCadRecord& record) {
    in.ReadText(record.layer);
    in.ReadText(record.lineType);
}

void ReadLine(BinaryReader& in, CCadLine& line) {
    in.ReadReal(line.startX);
    in.ReadReal(line.startY);
    in.ReadReal(line.endX);
    in.ReadReal(line.endY);
    in.ReadReal(line.lineWeight);
    ReadCommonInts(in, line);
    ReadRgb(in, line.color);
    ReadLayerAndLineType(in, line);
}

void ReadArc(BinaryReader& in, CCadArc& arc) {
    in.ReadReal(arc.startAngle);
    in.ReadReal(arc.endAngle);
    in.ReadReal(arc.lineWeight);
    in.ReadReal(arc.centerX);
    in.ReadReal(arc.centerY);
    in.ReadReal(arc.radius);
    ReadCommonInts(in, arc);
    ReadRgb(in, arc.color);
    ReadLayerAndLineType(in, arc);
}

void ReadCircle(BinaryReader& in, CCadCircle& circle) {
    in.ReadReal(circle.lineWeight);
    in.ReadReal(circle.centerX);
    in.ReadReal(circle.centerY);
    in.ReadReal(circle.radius);
    ReadCommonInts(in, circle);
    ReadRgb(in, circle.color);
    ReadLayerAndLineType(in, circle);
}

void ReadEllipse(BinaryReader& in, CCadEllipse& ellipse) {
    in.ReadReal(ellipse.lineWeight);
    in.ReadReal(ellipse.axisX);
    in.ReadReal(ellipse.axisY);
    in.ReadReal(ellipse.startParameter);
    in.ReadReal(ellipse.endParameter);
    in.ReadReal(ellipse.centerX);
    in.ReadReal(ellipse.centerY);
    in.ReadReal(ellipse.ratio);
    ReadCommonInts(in, ellipse);
    ReadRgb(in, ellipse.color);
    ReadLayerAndLineType(in, ellipse);
}

bool ReadPolyline(BinaryReader& in, CCadPolyline& polyline) {
    ReadInt(in, polyline.hasConstantWidth);
    in.ReadReal(polyline.constantWidth);
    in.ReadReal(polyline.lineWeight);
    ReadInt(in, polyline.flags);
    ReadInt(in, polyline.colorNumber);
    ReadInt(in, polyline.reserved);
    ReadInt(in, polyline.identifier);
    ReadInt(in, polyline.vertexCount);
    ReadInt(in, polyline.marked);
    ReadRgb(in, polyline.color);
    if (in.Failed() || !CountFits(polyline.vertexCount, in, kMinVertexBytes)) {
        return false;
    }
    polyline.vertices.resize(static_cast<std::size_t>(polyline.vertexCount));
    for (CCadVertex& vertex : polyline.vertices) {
        in.ReadFlag(vertex.hasBulge);
        in.ReadReal(vertex.x);
        in.ReadReal(vertex.y);
        in.ReadReal(vertex.bulge);
        in.ReadReal(vertex.startWidth);
        in.ReadReal(vertex.endWidth);
        if (in.Failed()) {
            return false;
        }
    }
    ReadLayerAndLineType(in, polyline);
    return !in.Failed();
}

bool ReadListedEntity(BinaryReader& in, int type, CCadEntity& entity);

// The nested list of an INSERT or a dimension block: count, then type code and record per
// entity. Only the six block kinds may appear; any other code means the data is damaged, as
// its record length is unknown and nothing after it can be trusted.
bool ReadEntityList(BinaryReader& in, CCadEntityList& list) {
    std::int32_t count = 0;
    if (!in.ReadInt32(count) || !CountFits(count, in, kMinListedEntityBytes)) {
        return false;
    }
    list.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t type = 0;
        if (!in.ReadInt32(type) || !IsListedType(type)) {
            return false;
        }
        CCadEntity entity;
        if (!ReadListedEntity(in, type, entity)) {
            return false;
        }
        list.push_back(std::move(entity));
    }
    return true;
}

void ReadDimPoint(BinaryReader& in, CCadDimPoint& point) {
    in.ReadReal(point.x);
    in.ReadReal(point.y);
}

bool ReadDimension(BinaryReader& in, CCadDimension& dimension) {
    in.ReadFlag(dimension.point13.present);
    in.ReadFlag(dimension.point14.present);
    in.ReadFlag(dimension.point16.present);
    in.ReadFlag(dimension.point12.present);
    in.ReadFlag(dimension.point10.present);
    in.ReadFlag(dimension.point15.present);
    in.ReadFlag(dimension.point11.present);
    ReadDimPoint(in, dimension.point13);
    ReadDimPoint(in, dimension.point14);
    ReadDimPoint(in, dimension.point16);
    in.ReadReal(dimension.rotation);
    in.ReadReal(dimension.extensionLineAngle);
    ReadDimPoint(in, dimension.point12);
    in.ReadReal(dimension.horizontalDirection);
    in.ReadReal(dimension.lineWeight);
    ReadDimPoint(in, dimension.point10);
    ReadDimPoint(in, dimension.point15);
    in.ReadReal(dimension.textRotation);
    ReadDimPoint(in, dimension.point11);
    in.ReadReal(dimension.lineSpacingFactor);
    ReadInt(in, dimension.colorNumber);
    ReadInt(in, dimension.reserved);
    ReadInt(in, dimension.attachment);
    ReadInt(in, dimension.identifier);
    ReadInt(in, dimension.marked);
    ReadInt(in, dimension.lineSpacingStyle);
    ReadInt(in, dimension.dimensionType);
    in.ReadText(dimension.measurement);
    in.ReadText(dimension.textHeight);
    // The dimension owns a private copy of its block geometry from now on.
    auto block = std::make_shared<CCadBlock>();
    in.ReadText(block->name);
    if (in.Failed() || !ReadEntityList(in, block->entities)) {
        return false;
    }
    dimension.block = std::move(block);
    ReadRgb(in, dimension.color);
    in.ReadText(dimension.blockName);
    ReadLayerAndLineType(in, dimension);
    in.ReadText(dimension.textOverride);
    return !in.Failed();
}

void ReadTextEntity(BinaryReader& in, CCadText& text) {
    in.ReadReal(text.rotation);
    in.ReadReal(text.insertX);
    in.ReadReal(text.insertY);
    in.ReadReal(text.lineWeight);
    in.ReadReal(text.secondX);
    in.ReadReal(text.secondY);
    ReadInt(in, text.justificationKind);
    ReadCommonInts(in, text);
    ReadInt(in, text.height);
    ReadInt(in, text.justification);
    ReadRgb(in, text.color);
    ReadLayerAndLineType(in, text);
    in.ReadText(text.text);
}

void ReadMText(BinaryReader& in, CCadMText& mtext) {
    in.ReadReal(mtext.rotation);
    in.ReadReal(mtext.referenceHeight);
    in.ReadReal(mtext.lineWeight);
    in.ReadReal(mtext.insertX);
    in.ReadReal(mtext.insertY);
    in.ReadReal(mtext.textHeight);
    in.ReadReal(mtext.referenceWidth);
    ReadInt(in, mtext.drawingDirection);
    ReadInt(in, mtext.colorNumber);
    ReadInt(in, mtext.reserved);
    ReadInt(in, mtext.marked);
    ReadRgb(in, mtext.color);
    ReadLayerAndLineType(in, mtext);
    in.ReadText(mtext.text);
    // The file keeps no identifier for an MTEXT: it gets none that could be found or collide
    // with a real one.
    mtext.identifier = -1;
}

// An INSERT keeps no colour object, layer or line type in the file: those stay at their
// defaults (white, "NULL", empty), while its listed entities keep theirs.
bool ReadInsert(BinaryReader& in, CCadInsert& insert) {
    in.ReadText(insert.blockName);
    in.ReadReal(insert.rotation);
    in.ReadReal(insert.insertX);
    in.ReadReal(insert.insertY);
    in.ReadReal(insert.lineWeight);
    in.ReadReal(insert.scaleX);
    in.ReadReal(insert.scaleY);
    ReadCommonInts(in, insert);
    return !in.Failed() && ReadEntityList(in, insert.entities);
}

void ReadSolid(BinaryReader& in, CCadSolid& solid) {
    in.ReadReal(solid.x4);
    in.ReadReal(solid.y4);
    in.ReadReal(solid.lineWeight);
    in.ReadReal(solid.x1);
    in.ReadReal(solid.y1);
    in.ReadReal(solid.x3);
    in.ReadReal(solid.y3);
    in.ReadReal(solid.x2);
    in.ReadReal(solid.y2);
    ReadCommonInts(in, solid);
    ReadRgb(in, solid.color);
    ReadLayerAndLineType(in, solid);
}

// Reads one record of a kind the caller has checked; the entity is set only when the whole
// record was read.
template <typename Record, typename Reader>
bool ReadInto(BinaryReader& in, int type, CCadEntity& entity, Reader reader) {
    auto record = std::make_shared<Record>();
    bool ok;
    if constexpr (std::is_same_v<decltype(reader(in, *record)), bool>) {
        ok = reader(in, *record);
    } else {
        reader(in, *record);
        ok = true;
    }
    if (!ok || in.Failed()) {
        return false;
    }
    entity.type = type;
    entity.record = std::move(record);
    return true;
}

bool ReadListedEntity(BinaryReader& in, int type, CCadEntity& entity) {
    switch (type) {
        case kCadLine:
            return ReadInto<CCadLine>(in, type, entity, ReadLine);
        case kCadArc:
            return ReadInto<CCadArc>(in, type, entity, ReadArc);
        case kCadCircle:
            return ReadInto<CCadCircle>(in, type, entity, ReadCircle);
        case kCadEllipse:
            return ReadInto<CCadEllipse>(in, type, entity, ReadEllipse);
        case kCadPolyline:
            return ReadInto<CCadPolyline>(in, type, entity, ReadPolyline);
        case kCadSolid:
            return ReadInto<CCadSolid>(in, type, entity, ReadSolid);
        default:
            return false;
    }
}

bool ReadStoredEntity(BinaryReader& in, int type, CCadEntity& entity) {
    switch (type) {
        case kCadDimension:
            return ReadInto<CCadDimension>(in, type, entity, ReadDimension);
        case kCadText:
            return ReadInto<CCadText>(in, type, entity, ReadTextEntity);
        case kCadMText:
            return ReadInto<CCadMText>(in, type, entity, ReadMText);
        case kCadInsert:
            return ReadInto<CCadInsert>(in, type, entity, ReadInsert);
        default:
            return ReadListedEntity(in, type, entity);
    }
}

// ---------------------------------------------------------------------------------------
// Writing: the mirror of the readers above, field for field.

void WriteCommonInts(BinaryWriter& out, const CCadRecord& record) {
    out.WriteInt32(record.colorNumber);
    out.WriteInt32(record.reserved);
    out.WriteInt32(record.identifier);
    out.WriteInt32(record.marked);
}

void WriteRgb(BinaryWriter& out, const CCadColor& color) {
    out.WriteInt32(color.blue);
    out.WriteInt32(color.green);
    out.WriteInt32(color.red);
}

void WriteLayerAndLineType(BinaryWriter& out, const CCadRecord& record) {
    out.WriteText(record.layer);
    out.WriteText(record.lineType);
}

void WriteLine(BinaryWriter& out, const CCadLine& line) {
    out.WriteReal(line.startX);
    out.WriteReal(line.startY);
    out.WriteReal(line.endX);
    out.WriteReal(line.endY);
    out.WriteReal(line.lineWeight);
    WriteCommonInts(out, line);
    WriteRgb(out, line.color);
    WriteLayerAndLineType(out, line);
}

void WriteArc(BinaryWriter& out, const CCadArc& arc) {
    out.WriteReal(arc.startAngle);
    out.WriteReal(arc.endAngle);
    out.WriteReal(arc.lineWeight);
    out.WriteReal(arc.centerX);
    out.WriteReal(arc.centerY);
    out.WriteReal(arc.radius);
    WriteCommonInts(out, arc);
    WriteRgb(out, arc.color);
    WriteLayerAndLineType(out, arc);
}

void WriteCircle(BinaryWriter& out, const CCadCircle& circle) {
    out.WriteReal(circle.lineWeight);
    out.WriteReal(circle.centerX);
    out.WriteReal(circle.centerY);
    out.WriteReal(circle.radius);
    WriteCommonInts(out, circle);
    WriteRgb(out, circle.color);
    WriteLayerAndLineType(out, circle);
}

void WriteEllipse(BinaryWriter& out, const CCadEllipse& ellipse) {
    out.WriteReal(ellipse.lineWeight);
    out.WriteReal(ellipse.axisX);
    out.WriteReal(ellipse.axisY);
    out.WriteReal(ellipse.startParameter);
    out.WriteReal(ellipse.endParameter);
    out.WriteReal(ellipse.centerX);
    out.WriteReal(ellipse.centerY);
    out.WriteReal(ellipse.ratio);
    WriteCommonInts(out, ellipse);
    WriteRgb(out, ellipse.color);
    WriteLayerAndLineType(out, ellipse);
}

void WritePolyline(BinaryWriter& out, const CCadPolyline& polyline) {
    out.WriteInt32(polyline.hasConstantWidth);
    out.WriteReal(polyline.constantWidth);
    out.WriteReal(polyline.lineWeight);
    out.WriteInt32(polyline.flags);
    out.WriteInt32(polyline.colorNumber);
    out.WriteInt32(polyline.reserved);
    out.WriteInt32(polyline.identifier);
    // The count is that of the vertices actually written, so the file always agrees with
    // itself even if the in-memory count field drifted from the array.
    out.WriteInt32(static_cast<std::int32_t>(polyline.vertices.size()));
    out.WriteInt32(polyline.marked);
    WriteRgb(out, polyline.color);
    for (const CCadVertex& vertex : polyline.vertices) {
        out.WriteInt32(vertex.hasBulge != 0 ? 1 : 0);
        out.WriteReal(vertex.x);
        out.WriteReal(vertex.y);
        out.WriteReal(vertex.bulge);
        out.WriteReal(vertex.startWidth);
        out.WriteReal(vertex.endWidth);
    }
    WriteLayerAndLineType(out, polyline);
}

void WriteSolid(BinaryWriter& out, const CCadSolid& solid) {
    out.WriteReal(solid.x4);
    out.WriteReal(solid.y4);
    out.WriteReal(solid.lineWeight);
    out.WriteReal(solid.x1);
    out.WriteReal(solid.y1);
    out.WriteReal(solid.x3);
    out.WriteReal(solid.y3);
    out.WriteReal(solid.x2);
    out.WriteReal(solid.y2);
    WriteCommonInts(out, solid);
    WriteRgb(out, solid.color);
    WriteLayerAndLineType(out, solid);
}

bool IsWritableListed(const CCadEntity& entity) {
    return entity.record != nullptr && IsListedType(entity.type);
}

void WriteListedEntity(BinaryWriter& out, const CCadEntity& entity) {
    out.WriteInt32(entity.type);
    switch (entity.type) {
        case kCadLine:
            WriteLine(out, *entity.As<CCadLine>());
            break;
        case kCadArc:
            WriteArc(out, *entity.As<CCadArc>());
            break;
        case kCadCircle:
            WriteCircle(out, *entity.As<CCadCircle>());
            break;
        case kCadEllipse:
            WriteEllipse(out, *entity.As<CCadEllipse>());
            break;
        case kCadPolyline:
            WritePolyline(out, *entity.As<CCadPolyline>());
            break;
        case kCadSolid:
            WriteSolid(out, *entity.As<CCadSolid>());
            break;
        default:
            break;
    }
}

// Entities of other kinds cannot be listed in the file and are left out; the count is that of
// the entities written.
void WriteEntityList(BinaryWriter& out, const CCadEntityList& list) {
    auto count = std::count_if(list.begin(), list.end(), IsWritableListed);
    out.WriteInt32(static_cast<std::int32_t>(count));
    for (const CCadEntity& entity : list) {
        if (IsWritableListed(entity)) {
            WriteListedEntity(out, entity);
        }
    }
}

void WriteDimPoint(BinaryWriter& out, const CCadDimPoint& point) {
    out.WriteReal(point.x);
    out.WriteReal(point.y);
}

void WritePresent(BinaryWriter& out, const CCadDimPoint& point) {
    out.WriteInt32(point.present != 0 ? 1 : 0);
}

void WriteDimension(BinaryWriter& out, const CCadDimension& dimension) {
    WritePresent(out, dimension.point13);
    WritePresent(out, dimension.point14);
    WritePresent(out, dimension.point16);
    WritePresent(out, dimension.point12);
    WritePresent(out, dimension.point10);
    WritePresent(out, dimension.point15);
    WritePresent(out, dimension.point11);
    WriteDimPoint(out, dimension.point13);
    WriteDimPoint(out, dimension.point14);
    WriteDimPoint(out, dimension.point16);
    out.WriteReal(dimension.rotation);
    out.WriteReal(dimension.extensionLineAngle);
    WriteDimPoint(out, dimension.point12);
    out.WriteReal(dimension.horizontalDirection);
    out.WriteReal(dimension.lineWeight);
    WriteDimPoint(out, dimension.point10);
    WriteDimPoint(out, dimension.point15);
    out.WriteReal(dimension.textRotation);
    WriteDimPoint(out, dimension.point11);
    out.WriteReal(dimension.lineSpacingFactor);
    out.WriteInt32(dimension.colorNumber);
    out.WriteInt32(dimension.reserved);
    out.WriteInt32(dimension.attachment);
    out.WriteInt32(dimension.identifier);
    out.WriteInt32(dimension.marked);
    out.WriteInt32(dimension.lineSpacingStyle);
    out.WriteInt32(dimension.dimensionType);
    out.WriteText(dimension.measurement);
    out.WriteText(dimension.textHeight);
    if (dimension.block) {
        out.WriteText(dimension.block->name);
        WriteEntityList(out, dimension.block->entities);
    } else {
        // A dimension whose block was never found: its name and no geometry.
        out.WriteText(dimension.blockName);
        out.WriteInt32(0);
    }
    WriteRgb(out, dimension.color);
    out.WriteText(dimension.blockName);
    WriteLayerAndLineType(out, dimension);
    out.WriteText(dimension.textOverride);
}

void WriteTextEntity(BinaryWriter& out, const CCadText& text) {
    out.WriteReal(text.rotation);
    out.WriteReal(text.insertX);
    out.WriteReal(text.insertY);
    out.WriteReal(text.lineWeight);
    out.WriteReal(text.secondX);
    out.WriteReal(text.secondY);
    out.WriteInt32(text.justificationKind);
    WriteCommonInts(out, text);
    out.WriteInt32(text.height);
    out.WriteInt32(text.justification);
    WriteRgb(out, text.color);
    WriteLayerAndLineType(out, text);
    out.WriteText(text.text);
}

void WriteMText(BinaryWriter& out, const CCadMText& mtext) {
    out.WriteReal(mtext.rotation);
    out.WriteReal(mtext.referenceHeight);
    out.WriteReal(mtext.lineWeight);
    out.WriteReal(mtext.insertX);
    out.WriteReal(mtext.insertY);
    out.WriteReal(mtext.textHeight);
    out.WriteReal(mtext.referenceWidth);
    out.WriteInt32(mtext.drawingDirection);
    out.WriteInt32(mtext.colorNumber);
    out.WriteInt32(mtext.reserved);
    out.WriteInt32(mtext.marked);
    WriteRgb(out, mtext.color);
    WriteLayerAndLineType(out, mtext);
    out.WriteText(mtext.text);
}

void WriteInsert(BinaryWriter& out, const CCadInsert& insert) {
    out.WriteText(insert.blockName);
    out.WriteReal(insert.rotation);
    out.WriteReal(insert.insertX);
    out.WriteReal(insert.insertY);
    out.WriteReal(insert.lineWeight);
    out.WriteReal(insert.scaleX);
    out.WriteReal(insert.scaleY);
    WriteCommonInts(out, insert);
    WriteEntityList(out, insert.entities);
}

bool IsWritable(const CCadEntity& entity) {
    return entity.record != nullptr && IsStoredType(entity.type);
}

void WriteEntity(BinaryWriter& out, const CCadEntity& entity) {
    switch (entity.type) {
        case kCadDimension:
            out.WriteInt32(entity.type);
            WriteDimension(out, *entity.As<CCadDimension>());
            break;
        case kCadText:
            out.WriteInt32(entity.type);
            WriteTextEntity(out, *entity.As<CCadText>());
            break;
        case kCadMText:
            out.WriteInt32(entity.type);
            WriteMText(out, *entity.As<CCadMText>());
            break;
        case kCadInsert:
            out.WriteInt32(entity.type);
            WriteInsert(out, *entity.As<CCadInsert>());
            break;
        default:
            WriteListedEntity(out, entity);
            break;
    }
}

}  // namespace

bool ReadDrawingFile(CCadDrawing& drawing, std::string_view bytes) {
    if (bytes.empty()) {
        return true;
    }
    BinaryReader in(bytes);
    double maxX = 0.0, maxY = 0.0, minX = 0.0, minY = 0.0;
    in.ReadReal(maxX);
    in.ReadReal(maxY);
    in.ReadReal(minX);
    in.ReadReal(minY);
    if (in.Failed()) {
        return false;
    }
    drawing.maxX = maxX;
    drawing.maxY = maxY;
    drawing.minX = minX;
    drawing.minY = minY;

    std::int32_t count = 0;
    if (!in.ReadInt32(count) || !CountFits(count, in, kMinEntityBytes)) {
        return false;
    }
    drawing.entities.reserve(drawing.entities.size() + std::min(static_cast<std::size_t>(count),
                                                                in.Remaining() / kMinRecordBytes));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t type = 0;
        if (!in.ReadInt32(type)) {
            return false;
        }
        if (!IsStoredType(type)) {
            continue;  // no record follows an unknown code
        }
        CCadEntity entity;
        if (!ReadStoredEntity(in, type, entity)) {
            return false;
        }
        drawing.AddEntity(std::move(entity));
    }
    return true;
}

std::string WriteDrawingFile(const CCadDrawing& drawing) {
    BinaryWriter out;
    out.Reserve(64 + drawing.entities.size() * kTypicalRecordBytes);
    out.WriteReal(drawing.maxX);
    out.WriteReal(drawing.maxY);
    out.WriteReal(drawing.minX);
    out.WriteReal(drawing.minY);
    // Entities without a record or of a kind the file cannot hold are left out, and the count
    // is that of the records written.
    auto count = std::count_if(drawing.entities.begin(), drawing.entities.end(), IsWritable);
    out.WriteInt32(static_cast<std::int32_t>(count));
    for (const CCadEntity& entity : drawing.entities) {
        if (IsWritable(entity)) {
            WriteEntity(out, entity);
        }
    }
    return out.Take();
}

}  // namespace quarrant
