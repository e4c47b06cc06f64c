#include "cad/CadDrawing.h"

namespace quarrant {

const CCadColorTable& CCadDrawing::ColorTable() const {
    static const CCadColorTable kEmpty;
    return m_colorTable ? *m_colorTable : kEmpty;
}

void CCadDrawing::AddEntity(CCadEntity entity) {
    if (entity.record && entity.record->identifier >= 0) {
        identifierMap.SetAt(entity.record->identifier, entity);
    }
    entities.push_back(std::move(entity));
}

void CCadDrawing::RebuildIdentifierMap() {
    identifierMap.RemoveAll();
    for (const CCadEntity& entity : entities) {
        if (entity.record && entity.record->identifier >= 0) {
            identifierMap.SetAt(entity.record->identifier, entity);
        }
    }
}

namespace {

template <typename Record>
CCadEntity CloneAs(const CCadEntity& entity) {
    return CCadEntity{entity.type, std::make_shared<Record>(*entity.As<Record>())};
}

}  // namespace

CCadEntity CloneEntity(const CCadEntity& entity) {
    if (!entity.record) {
        return CCadEntity{entity.type, nullptr};
    }
    switch (entity.type) {
        case kCadLine:
            return CloneAs<CCadLine>(entity);
        case kCadArc:
            return CloneAs<CCadArc>(entity);
        case kCadCircle:
            return CloneAs<CCadCircle>(entity);
        case kCadEllipse:
            return CloneAs<CCadEllipse>(entity);
        case kCadPolyline:
            return CloneAs<CCadPolyline>(entity);
        case kCadDimension: {
            CCadEntity copy = CloneAs<CCadDimension>(entity);
            auto* dimension = copy.As<CCadDimension>();
            if (dimension->block) {
                auto block = std::make_shared<CCadBlock>();
                block->name = dimension->block->name;
                for (const CCadEntity& child : dimension->block->entities) {
                    block->entities.push_back(CloneEntity(child));
                }
                dimension->block = std::move(block);
            }
            return copy;
        }
        case kCadText:
            return CloneAs<CCadText>(entity);
        case kCadMText:
            return CloneAs<CCadMText>(entity);
        case kCadInsert: {
            CCadEntity copy = CloneAs<CCadInsert>(entity);
            for (CCadEntity& child : copy.As<CCadInsert>()->entities) {
                child = CloneEntity(child);
            }
            return copy;
        }
        case kCadSolid:
            return CloneAs<CCadSolid>(entity);
        default:
            return CCadEntity{entity.type, nullptr};
    }
}

}  // namespace quarrant
