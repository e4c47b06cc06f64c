#include "cad/CadDrawing.h"

#include <algorithm>
#include <bit>

#include "base/Assert.h"

namespace quarrant {

CCadRecordStore::~CCadRecordStore() {
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
        (*it)->~CCadRecord();
    }
}

void CCadRecordStore::NewBlock(std::size_t bytes) {
    std::size_t size = std::max(bytes, kBlockBytes);
    // Not value-initialised: pages of a block are only touched as records fill it.
    m_blocks.push_back(std::unique_ptr<std::byte[]>(new std::byte[size]));
    m_next = m_blocks.back().get();
    m_left = size;
}

std::uint32_t CCadIdentifierMap::Find(std::int32_t identifier) const {
    if (m_index.empty()) {
        return kNone;
    }
    for (std::size_t slot = SlotOf(identifier);; slot = (slot + 1) & m_mask) {
        std::uint32_t at = m_index[slot];
        if (at == kNone || m_entries[at].identifier == identifier) {
            return at;
        }
    }
}

const CCadEntity* CCadIdentifierMap::Lookup(std::int32_t identifier) const {
    std::uint32_t at = Find(identifier);
    return at == kNone ? nullptr : &m_entries[at].entity;
}

CCadEntity* CCadIdentifierMap::Lookup(std::int32_t identifier) {
    std::uint32_t at = Find(identifier);
    return at == kNone ? nullptr : &m_entries[at].entity;
}

void CCadIdentifierMap::SetAt(std::int32_t identifier, CCadEntity entity) {
    // The index stays at most half full, so that a probe ends soon.
    if ((m_entries.size() + 1) * 2 > m_index.size()) {
        Rehash(std::max<std::size_t>(64, m_index.size() * 2));
    }
    std::size_t slot = SlotOf(identifier);
    for (;; slot = (slot + 1) & m_mask) {
        std::uint32_t at = m_index[slot];
        if (at == kNone) {
            break;
        }
        if (m_entries[at].identifier == identifier) {
            m_entries[at].entity = std::move(entity);
            return;
        }
    }
    QUARRANT_ASSERT(m_entries.size() < kNone);
    m_index[slot] = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back(Entry{identifier, std::move(entity)});
}

void CCadIdentifierMap::RemoveAll() {
    m_entries.clear();
    m_index.clear();
    m_mask = 0;
    m_shift = 0;
}

void CCadIdentifierMap::Reserve(std::size_t entries) {
    m_entries.reserve(entries);
    std::size_t slots = 64;
    while (slots < entries * 2) {
        slots *= 2;
    }
    if (slots > m_index.size()) {
        Rehash(slots);
    }
}

void CCadIdentifierMap::Rehash(std::size_t slots) {
    m_index.assign(slots, kNone);
    m_mask = slots - 1;
    m_shift = static_cast<unsigned>(std::countr_zero(slots));
    for (std::size_t at = 0; at < m_entries.size(); ++at) {
        std::size_t slot = SlotOf(m_entries[at].identifier);
        while (m_index[slot] != kNone) {
            slot = (slot + 1) & m_mask;
        }
        m_index[slot] = static_cast<std::uint32_t>(at);
    }
}

CCadRecordStore& CCadDrawing::RecordStore() {
    if (!m_recordStore) {
        m_recordStore = std::make_shared<CCadRecordStore>();
    }
    return *m_recordStore;
}

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
    identifierMap.Reserve(entities.size());
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
