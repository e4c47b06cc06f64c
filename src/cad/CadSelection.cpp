#include "cad/CadSelection.h"

#include <algorithm>

namespace quarrant {
namespace {

bool IsFlaggedWithCompound(int type) {
    return type == kCadLine || type == kCadArc || type == kCadCircle || type == kCadPolyline ||
           type == kCadSolid;
}

void SetListFlags(const CCadEntityList& list, int selected) {
    for (const CCadEntity& child : list) {
        if (child.record && IsFlaggedWithCompound(child.type)) {
            child.record->selected = selected;
        }
    }
}

}  // namespace

void SetSelectedFlag(const CCadEntity& entity, int selected) {
    if (!entity.record) {
        return;
    }
    entity.record->selected = selected;
    if (entity.type == kCadInsert) {
        SetListFlags(entity.As<CCadInsert>()->entities, selected);
    } else if (entity.type == kCadDimension) {
        const auto& block = entity.As<CCadDimension>()->block;
        if (block) {
            SetListFlags(block->entities, selected);
        }
    }
}

bool CCadSelection::SelectById(const CCadDrawing& drawing, std::int32_t identifier) {
    const CCadEntity* entity = drawing.FindById(identifier);
    if (entity == nullptr) {
        return false;
    }
    Select(*entity);
    return true;
}

void CCadSelection::Select(const CCadEntity& entity) {
    SetSelectedFlag(entity, 1);
    m_entities.push_back(entity);
}

void CCadSelection::Deselect(const CCadEntity& entity) {
    SetSelectedFlag(entity, 0);
    std::erase_if(m_entities,
                  [&](const CCadEntity& selected) { return selected.record == entity.record; });
}

void CCadSelection::ClearSelection() {
    for (const CCadEntity& entity : m_entities) {
        SetSelectedFlag(entity, 0);
    }
    m_entities.clear();
}

bool CCadSelection::ConfirmCurrentPath() {
    if (m_currentPath.points.size() < 2) {
        return false;
    }
    m_confirmedPaths.push_back(std::move(m_currentPath));
    m_currentPath = CMeasurePath{};
    return true;
}

void CCadSelection::ClearMeasurements() {
    m_currentPath.points.clear();
    m_confirmedPaths.clear();
}

}  // namespace quarrant
