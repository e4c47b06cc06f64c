#include "cad/DrawingFile.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>

#include "base/Assert.h"
#include "base/BinaryStream.h"
#include "base/FileIO.h"

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
// The writer hands its bytes on in pieces of about this size.
constexpr std::size_t kWriteChunkBytes = std::size_t{1} << 20;

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

bool ReadListedEntity(BinaryReader& in, CCadRecordStore& store, int type, CCadEntity& entity);

// The nested list of an INSERT or a dimension block: count, then type code and record per
// entity. Only the six block kinds may appear; any other code means the data is damaged, as
// its record length is unknown and nothing after it can be trusted.
bool ReadEntityList(BinaryReader& in, CCadRecordStore& store, CCadEntityList& list) {
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
        if (!ReadListedEntity(in, store, type, entity)) {
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

bool ReadDimension(BinaryReader& in, CCadRecordStore& store, CCadDimension& dimension) {
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
    if (in.Failed() || !ReadEntityList(in, store, block->entities)) {
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
bool ReadInsert(BinaryReader& in, CCadRecordStore& store, CCadInsert& insert) {
    in.ReadText(insert.blockName);
    in.ReadReal(insert.rotation);
    in.ReadReal(insert.insertX);
    in.ReadReal(insert.insertY);
    in.ReadReal(insert.lineWeight);
    in.ReadReal(insert.scaleX);
    in.ReadReal(insert.scaleY);
    ReadCommonInts(in, insert);
    return !in.Failed() && ReadEntityList(in, store, insert.entities);
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

// Reads one record of a kind the caller has checked into a record of the store; the entity is
// set only when the whole record was read (a record left incomplete by damage stays unused in
// the store).
template <typename Record, typename Reader>
bool ReadInto(BinaryReader& in, CCadRecordStore& store, bool topLevel, int type, CCadEntity& entity,
              Reader reader) {
    Record* record = store.New<Record>();
    bool ok;
    if constexpr (std::is_invocable_v<Reader, BinaryReader&, CCadRecordStore&, Record&>) {
        ok = reader(in, store, *record);
    } else if constexpr (std::is_same_v<decltype(reader(in, *record)), bool>) {
        ok = reader(in, *record);
    } else {
        reader(in, *record);
        ok = true;
    }
    if (!ok || in.Failed()) {
        return false;
    }
    entity = topLevel ? store.TopLevel(type, record) : CCadRecordStore::Listed(type, record);
    return true;
}

template <bool TopLevel>
bool ReadBlockKind(BinaryReader& in, CCadRecordStore& store, int type, CCadEntity& entity) {
    switch (type) {
        case kCadLine:
            return ReadInto<CCadLine>(in, store, TopLevel, type, entity, ReadLine);
        case kCadArc:
            return ReadInto<CCadArc>(in, store, TopLevel, type, entity, ReadArc);
        case kCadCircle:
            return ReadInto<CCadCircle>(in, store, TopLevel, type, entity, ReadCircle);
        case kCadEllipse:
            return ReadInto<CCadEllipse>(in, store, TopLevel, type, entity, ReadEllipse);
        case kCadPolyline:
            return ReadInto<CCadPolyline>(in, store, TopLevel, type, entity, ReadPolyline);
        case kCadSolid:
            return ReadInto<CCadSolid>(in, store, TopLevel, type, entity, ReadSolid);
        default:
            return false;
    }
}

bool ReadListedEntity(BinaryReader& in, CCadRecordStore& store, int type, CCadEntity& entity) {
    return ReadBlockKind<false>(in, store, type, entity);
}

bool ReadStoredEntity(BinaryReader& in, CCadRecordStore& store, int type, CCadEntity& entity) {
    switch (type) {
        case kCadDimension:
            return ReadInto<CCadDimension>(in, store, true, type, entity, ReadDimension);
        case kCadText:
            return ReadInto<CCadText>(in, store, true, type, entity, ReadTextEntity);
        case kCadMText:
            return ReadInto<CCadMText>(in, store, true, type, entity, ReadMText);
        case kCadInsert:
            return ReadInto<CCadInsert>(in, store, true, type, entity, ReadInsert);
        default:
            return ReadBlockKind<true>(in, store, type, entity);
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

using HandOn = std::function<bool(const std::string&)>;

// The extents and the entity count. Entities without a record or of a kind the file cannot
// hold are left out, and the count is that of the records written.
void WriteHead(const CCadDrawing& drawing, BinaryWriter& out) {
    out.WriteReal(drawing.maxX);
    out.WriteReal(drawing.maxY);
    out.WriteReal(drawing.minX);
    out.WriteReal(drawing.minY);
    auto count = std::count_if(drawing.entities.begin(), drawing.entities.end(), IsWritable);
    out.WriteInt32(static_cast<std::int32_t>(count));
}

// The records of entities [begin, end) in order; the handler receives the bytes in pieces of
// about kWriteChunkBytes and returns false to stop (a failed file). Without a handler the
// bytes stay in out.
bool WriteRange(const CCadDrawing& drawing, std::size_t begin, std::size_t end, BinaryWriter& out,
                const HandOn& handOn) {
    for (std::size_t i = begin; i < end; ++i) {
        const CCadEntity& entity = drawing.entities[i];
        if (IsWritable(entity)) {
            WriteEntity(out, entity);
            if (handOn && out.Data().size() >= kWriteChunkBytes) {
                if (!handOn(out.Data())) {
                    return false;
                }
                out.Clear();
            }
        }
    }
    if (handOn && !out.Data().empty()) {
        if (!handOn(out.Data())) {
            return false;
        }
        out.Clear();
    }
    return true;
}

// Drawings of this many entities are written by two threads: the second half goes to a file
// of its own, appended to the first when both are done.
constexpr std::size_t kTwoThreadEntities = 50000;

Status WriteRangeTo(const CCadDrawing& drawing, std::size_t begin, std::size_t end,
                    AtomicFileWriter& file, BinaryWriter& out) {
    Status status;
    WriteRange(drawing, begin, end, out, [&](const std::string& bytes) {
        status = file.Write(bytes);
        return status.Ok();
    });
    return status;
}

// Every top-level entity with an identifier is found under it.
[[maybe_unused]] bool IdentifierMapAgrees(const CCadDrawing& drawing) {
    for (const CCadEntity& entity : drawing.entities) {
        if (entity.record && entity.record->identifier >= 0) {
            const CCadEntity* found = drawing.FindById(entity.record->identifier);
            if (found == nullptr || found->record->identifier != entity.record->identifier) {
                return false;
            }
        }
    }
    return true;
}

// The extents and the entity count. False when the data is damaged.
bool DecodeHead(CCadDrawing& drawing, BinaryReader& in, std::int32_t& count) {
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
    if (!in.ReadInt32(count) || !CountFits(count, in, kMinEntityBytes)) {
        return false;
    }
    const std::size_t expected =
        std::min(static_cast<std::size_t>(count), in.Remaining() / kMinRecordBytes);
    drawing.entities.reserve(drawing.entities.size() + expected);
    drawing.identifierMap.Reserve(drawing.identifierMap.size() + expected);
    drawing.RecordStore().Reserve(expected);
    return true;
}

// One entry of the entity sequence: a type code and its record. has is false for a code
// without a record (skipped). False when the data is damaged.
bool DecodeEntry(BinaryReader& in, CCadRecordStore& store, CCadEntity& entity, bool& has) {
    std::int32_t type = 0;
    if (!in.ReadInt32(type)) {
        return false;
    }
    has = IsStoredType(type);
    return !has || ReadStoredEntity(in, store, type, entity);
}

// Entries next to count of the sequence, appended to the drawing. False when the data is
// damaged: what was read before the damage stays.
bool DecodeEntries(CCadDrawing& drawing, BinaryReader& in, std::int32_t next, std::int32_t count) {
    CCadRecordStore& store = drawing.RecordStore();
    for (; next < count; ++next) {
        CCadEntity entity;
        bool has = false;
        if (!DecodeEntry(in, store, entity, has)) {
            return false;
        }
        if (has) {
            drawing.AddEntity(std::move(entity));
        }
    }
    return true;
}

// The decoding of a whole file, one record after another. False when the data is damaged.
bool DecodeDrawing(CCadDrawing& drawing, BinaryReader& in) {
    if (in.AtEnd()) {
        return true;
    }
    std::int32_t count = 0;
    bool intact = DecodeHead(drawing, in, count) && DecodeEntries(drawing, in, 0, count);
    QUARRANT_ASSERT(IdentifierMapAgrees(drawing));
    return intact;
}

// ---------------------------------------------------------------------------------------
// Two threads for a large file. A helper passes over the records of the first half without
// decoding them (only their lengths), and from the first record past the middle decodes the
// rest into records of its own. Meanwhile this thread decodes from the start, exactly as one
// thread would, and stops at the helper's first record, provided it stands exactly where
// the helper began; the helper's records then follow. In any other case (damage, a record
// the helper misjudged, a helper too late) this thread simply reads on: the result is always
// that of one thread.

// Files below this size are read by one thread: a second would not pay for itself.
constexpr std::size_t kTwoThreadBytes = std::size_t{8} << 20;

bool SkipInts(BinaryReader& in, int n) {
    std::int32_t value = 0;
    for (int i = 0; i < n; ++i) {
        if (!in.ReadInt32(value)) {
            return false;
        }
    }
    return true;
}

bool SkipReals(BinaryReader& in, int n) {
    for (int i = 0; i < n; ++i) {
        if (!in.SkipReal()) {
            return false;
        }
    }
    return true;
}

bool SkipTexts(BinaryReader& in, int n) {
    for (int i = 0; i < n; ++i) {
        if (!in.SkipText()) {
            return false;
        }
    }
    return true;
}

// The record layouts of the readers above, in kinds of fields only.
bool SkipListedRecord(BinaryReader& in, int type) {
    switch (type) {
        case kCadLine:
            return SkipReals(in, 5) && SkipInts(in, 7) && SkipTexts(in, 2);
        case kCadArc:
            return SkipReals(in, 6) && SkipInts(in, 7) && SkipTexts(in, 2);
        case kCadCircle:
            return SkipReals(in, 4) && SkipInts(in, 7) && SkipTexts(in, 2);
        case kCadEllipse:
            return SkipReals(in, 8) && SkipInts(in, 7) && SkipTexts(in, 2);
        case kCadSolid:
            return SkipReals(in, 9) && SkipInts(in, 7) && SkipTexts(in, 2);
        case kCadPolyline: {
            std::int32_t vertices = 0;
            if (!SkipInts(in, 1) || !SkipReals(in, 2) || !SkipInts(in, 4) ||
                !in.ReadInt32(vertices) || !SkipInts(in, 4) ||
                !CountFits(vertices, in, kMinVertexBytes)) {
                return false;
            }
            for (std::int32_t v = 0; v < vertices; ++v) {
                if (!SkipInts(in, 1) || !SkipReals(in, 5)) {
                    return false;
                }
            }
            return SkipTexts(in, 2);
        }
        default:
            return false;
    }
}

bool SkipEntityList(BinaryReader& in) {
    std::int32_t count = 0;
    if (!in.ReadInt32(count) || !CountFits(count, in, kMinListedEntityBytes)) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t type = 0;
        if (!in.ReadInt32(type) || !IsListedType(type) || !SkipListedRecord(in, type)) {
            return false;
        }
    }
    return true;
}

bool SkipStoredRecord(BinaryReader& in, int type) {
    switch (type) {
        case kCadDimension:
            return SkipInts(in, 7) && SkipReals(in, 20) && SkipInts(in, 7) && SkipTexts(in, 3) &&
                   SkipEntityList(in) && SkipInts(in, 3) && SkipTexts(in, 4);
        case kCadText:
            return SkipReals(in, 6) && SkipInts(in, 10) && SkipTexts(in, 3);
        case kCadMText:
            return SkipReals(in, 7) && SkipInts(in, 7) && SkipTexts(in, 3);
        case kCadInsert:
            return SkipTexts(in, 1) && SkipReals(in, 6) && SkipInts(in, 4) && SkipEntityList(in);
        default:
            return SkipListedRecord(in, type);
    }
}

// What the helper hands over: the entries from its first one on, decoded into a store of
// their own.
struct SecondHalf {
    static constexpr std::int64_t kNone = -2;  // no second half: the first thread reads all
    std::atomic<std::int64_t> first{-1};       // index of its first entry, once known
    std::atomic<bool> cancelled{false};        // the first thread no longer stops for it
    std::size_t offset = 0;                    // where its first entry begins
    std::shared_ptr<CCadRecordStore> store;
    CCadEntityList entities;
    bool complete = false;
};

void DecodeSecondHalf(const FileSource& file, SecondHalf& half) {
    try {
        std::unique_ptr<FileSource> source = file.From(0);
        BinaryReader in(*source);
        std::int32_t count = 0;
        if (!SkipReals(in, 4) || !in.ReadInt32(count) || !CountFits(count, in, kMinEntityBytes)) {
            half.first = SecondHalf::kNone;
            return;
        }
        const std::size_t middle = file.Size() / 2;
        std::int32_t next = 0;
        for (; next < count && in.Offset() < middle; ++next) {
            std::int32_t type = 0;
            if (!in.ReadInt32(type) || (IsStoredType(type) && !SkipStoredRecord(in, type))) {
                half.first = SecondHalf::kNone;
                return;
            }
        }
        if (next >= count || half.cancelled) {
            half.first = SecondHalf::kNone;
            return;
        }
        half.offset = in.Offset();
        half.store = std::make_shared<CCadRecordStore>();
        half.store->Reserve(static_cast<std::size_t>(count - next));
        half.entities.reserve(static_cast<std::size_t>(count - next));
        half.first.store(next, std::memory_order_release);
        for (; next < count; ++next) {
            if (half.cancelled.load(std::memory_order_relaxed)) {
                return;
            }
            CCadEntity entity;
            bool has = false;
            if (!DecodeEntry(in, *half.store, entity, has)) {
                return;
            }
            if (has) {
                half.entities.push_back(std::move(entity));
            }
        }
        half.complete = true;
    } catch (const std::bad_alloc&) {
        half.first = SecondHalf::kNone;
    }
}

bool DecodeInTwoHalves(CCadDrawing& drawing, FileSource& file) {
    SecondHalf half;
    std::thread helper(DecodeSecondHalf, std::cref(file), std::ref(half));
    struct Join {
        std::thread& thread;
        SecondHalf& half;
        ~Join() {
            half.cancelled = true;
            if (thread.joinable()) {
                thread.join();
            }
        }
    } join{helper, half};

    BinaryReader in(file);
    std::int32_t count = 0;
    if (!DecodeHead(drawing, in, count)) {
        return false;
    }
    CCadRecordStore& store = drawing.RecordStore();
    std::int32_t next = 0;
    bool stopped = false;
    for (; next < count; ++next) {
        const std::int64_t first = half.first.load(std::memory_order_acquire);
        if (first == next) {
            stopped = true;
            break;
        }
        if (first >= 0 && first < next) {
            half.cancelled = true;  // the helper came too late: this thread reads on alone
        }
        CCadEntity entity;
        bool has = false;
        if (!DecodeEntry(in, store, entity, has)) {
            return false;
        }
        if (has) {
            drawing.AddEntity(std::move(entity));
        }
    }
    if (!stopped) {
        return true;
    }
    helper.join();
    if (half.complete && in.Offset() == half.offset) {
        for (CCadEntity& entity : half.entities) {
            drawing.AddEntity(std::move(entity));
        }
        drawing.KeepRecordStore(std::move(half.store));
        return true;
    }
    return DecodeEntries(drawing, in, next, count);
}

}  // namespace

std::string DamagedDrawingFileMessage(std::string_view gbkPath) {
    // "图纸文件已损坏：" (the drawing file is damaged:) + path
    return "\xCD\xBC\xD6\xBD\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xBA" +
           std::string(gbkPath);
}

Status ReadDrawingFile(CCadDrawing& drawing, std::string_view bytes, std::string_view gbkPath) {
    BinaryReader in(bytes);
    if (!DecodeDrawing(drawing, in)) {
        return Status::Failure(DamagedDrawingFileMessage(gbkPath));
    }
    return Status();
}

Status ReadDrawingFile(CCadDrawing& drawing, BinarySource& source, std::string_view gbkPath) {
    BinaryReader in(source);
    if (!DecodeDrawing(drawing, in)) {
        return Status::Failure(DamagedDrawingFileMessage(gbkPath));
    }
    return Status();
}

Status ReadDrawingFile(CCadDrawing& drawing, FileSource& file, std::string_view gbkPath) {
    bool intact = true;
    if (file.Size() >= kTwoThreadBytes && std::thread::hardware_concurrency() >= 2) {
        intact = DecodeInTwoHalves(drawing, file);
        QUARRANT_ASSERT(IdentifierMapAgrees(drawing));
    } else {
        BinaryReader in(file);
        intact = DecodeDrawing(drawing, in);
    }
    if (!intact) {
        return Status::Failure(DamagedDrawingFileMessage(gbkPath));
    }
    return Status();
}

std::string WriteDrawingFile(const CCadDrawing& drawing) {
    BinaryWriter out;
    WriteHead(drawing, out);
    WriteRange(drawing, 0, drawing.entities.size(), out, nullptr);
    return out.Take();
}

Status WriteDrawingFile(const CCadDrawing& drawing, AtomicFileWriter& file) {
    const std::size_t count = drawing.entities.size();
    std::size_t middle = count;  // this thread writes [0, middle), a helper the rest
    AtomicFileWriter second;
    Status secondStatus;
    std::thread helper;
    if (count >= kTwoThreadEntities && std::thread::hardware_concurrency() >= 2 &&
        second.Open(file.Path() + ".part")) {
        middle = count / 2;
        helper = std::thread([&] {
            try {
                BinaryWriter out;
                out.Reserve(kWriteChunkBytes + kWriteChunkBytes / 4);
                secondStatus = WriteRangeTo(drawing, middle, count, second, out);
            } catch (const std::bad_alloc&) {
                secondStatus = Status::Failure(std::string());
            }
        });
    }
    BinaryWriter out;
    out.Reserve(kWriteChunkBytes + kWriteChunkBytes / 4);
    WriteHead(drawing, out);
    Status status = WriteRangeTo(drawing, 0, middle, file, out);
    if (helper.joinable()) {
        helper.join();
        if (status) {
            // The helper's half follows; should it have failed, this thread writes it itself.
            status = secondStatus ? file.Append(second.Descriptor())
                                  : WriteRangeTo(drawing, middle, count, file, out);
        }
    }
    return status;
}

Status StoreAndReadBack(std::unique_ptr<CCadDrawing>& imported, AtomicFileWriter& file,
                        CCadDrawing& stored, std::string_view gbkPath) {
    QUARRANT_ASSERT(imported != nullptr);
    if (Status written = WriteDrawingFile(*imported, file); !written) {
        return written;
    }
    // Only one copy of the whole drawing at a time: the import goes before the file comes back.
    imported.reset();
    Result<std::unique_ptr<FileSource>> source =
        FileSource::FromDescriptor(file.Descriptor(), gbkPath);
    if (!source) {
        return source.GetStatus();
    }
    return ReadDrawingFile(stored, *source.Value(), gbkPath);
}

}  // namespace quarrant
