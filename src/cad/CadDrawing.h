#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/HashMap17.h"
#include "cad/CadEntities.h"

namespace quarrant {

struct CCadHeader {
    double limitsMaxX = 0.0, limitsMaxY = 0.0;
    double limitsMinX = 0.0, limitsMinY = 0.0;
    double lineTypeScale = 0.0;           // $CELTSCALE
    int insertionUnits = 0;               // $INSUNITS
    bool insertionUnitsDeclared = false;  // the file gave $INSUNITS (import only, not saved)
};

struct CCadLayer {
    std::string name;
    int colorNumber = 0;  // negative: the layer is off
    std::string lineType;
    double lineWeight = 0.0;
    int frozen = 0;
};

using CCadColorTable = HashMap17<std::int32_t, CCadColor>;

// Initial extents before any entity moved them: minima 1.7e308, maxima 1.7e-308.
inline constexpr double kInitialMinExtent = 1.7e308;
inline constexpr double kInitialMaxExtent = 1.7e-308;

// The records of a drawing read from its file, allocated together in large blocks rather than
// one by one, and destroyed together with the store. Top-level entities share ownership of the
// whole store, so a record stays valid for as long as anyone holds its entity. The entities of
// INSERT lists and dimension blocks hold their records without owning them: they are valid for
// as long as the drawing or any of its top-level entities lives (a deep copy made with
// CloneEntity owns its records as usual).
class CCadRecordStore : public std::enable_shared_from_this<CCadRecordStore> {
public:
    CCadRecordStore() = default;
    ~CCadRecordStore();
    CCadRecordStore(const CCadRecordStore&) = delete;
    CCadRecordStore& operator=(const CCadRecordStore&) = delete;

    // A new default record, destroyed with the store.
    template <typename Record>
    Record* New() {
        static_assert(alignof(Record) <= kAlignment);
        void* place = Allocate(sizeof(Record));
        Record* record = new (place) Record();
        m_records.push_back(record);
        return record;
    }

    // The entity of a top-level record: it keeps the whole store alive.
    CCadEntity TopLevel(int type, CCadRecord* record) {
        return CCadEntity{type, std::shared_ptr<CCadRecord>(shared_from_this(), record)};
    }
    // The entity of a record listed inside another record of this store.
    static CCadEntity Listed(int type, CCadRecord* record) {
        return CCadEntity{type, std::shared_ptr<CCadRecord>(std::shared_ptr<CCadRecord>(), record)};
    }

    // Room for this many more records in the destruction list.
    void Reserve(std::size_t records) { m_records.reserve(m_records.size() + records); }

private:
    static constexpr std::size_t kAlignment = alignof(std::max_align_t);
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

    void* Allocate(std::size_t bytes) {
        bytes = (bytes + kAlignment - 1) / kAlignment * kAlignment;
        if (bytes > m_left) [[unlikely]] {
            NewBlock(bytes);
        }
        void* place = m_next;
        m_next += bytes;
        m_left -= bytes;
        return place;
    }
    void NewBlock(std::size_t bytes);

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
    std::vector<CCadRecord*> m_records;  // in allocation order, destroyed in reverse
};

// The identifier map of a drawing: top-level entities by identifier. Only looked up, never
// listed, so it needs no bucket order: entries lie in one array, found through an open-address
// index, a few bytes per entity instead of a node each.
class CCadIdentifierMap {
public:
    const CCadEntity* Lookup(std::int32_t identifier) const;
    CCadEntity* Lookup(std::int32_t identifier);
    bool Contains(std::int32_t identifier) const { return Find(identifier) != kNone; }
    // Enters the entity, or replaces the one entered under the identifier before.
    void SetAt(std::int32_t identifier, CCadEntity entity);
    void RemoveAll();
    // Room for this many entries without growing.
    void Reserve(std::size_t entries);

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Entry {
        std::int32_t identifier = 0;
        CCadEntity entity;
    };

    std::size_t SlotOf(std::int32_t identifier) const {
        // Identifiers come mostly in rising runs: neighbours go to neighbouring slots, so that
        // entering and finding them stays within the cache; the high bits are folded in so
        // that identifiers a power of two apart do not all meet in one slot.
        const std::uint64_t key = static_cast<std::uint32_t>(identifier);
        return static_cast<std::size_t>(key ^ (key >> m_shift) ^ (key >> (2 * m_shift))) & m_mask;
    }
    // The entry index of the identifier, or kNone.
    std::uint32_t Find(std::int32_t identifier) const;
    void Rehash(std::size_t slots);

    std::vector<Entry> m_entries;        // in the order identifiers were first entered
    std::vector<std::uint32_t> m_index;  // entry index per slot, kNone when free
    std::size_t m_mask = 0;
    unsigned m_shift = 0;  // log2 of the slots
};

// A drawing: a flat ordered array of entities with identifiers, and the tables that go with
// it. Only the entity array, the extents and the identifier map survive a save.
class CCadDrawing {
public:
    // The colour table comes from COLOR.ini of the program folder, read by whoever constructs
    // the drawing (see ColorTable.h); it is shared, never changed after loading.
    explicit CCadDrawing(std::shared_ptr<const CCadColorTable> colorTable = nullptr)
        : m_colorTable(std::move(colorTable)) {}

    int identifierCounter = 0;
    CCadEntityList entities;
    CCadIdentifierMap identifierMap;  // top-level entities, identifiers >= 0
    CCadHeader header;
    HashMap17<std::string, std::shared_ptr<CCadBlock>> blockTable;
    std::shared_ptr<CCadBlock> currentBlock;
    HashMap17<std::string, CCadLayer> layerTable;
    double minX = kInitialMinExtent, minY = kInitialMinExtent;
    double maxX = kInitialMaxExtent, maxY = kInitialMaxExtent;
    std::string dimensionTextHeight;  // $DIMTXT value text

    const CCadColorTable& ColorTable() const;
    const std::shared_ptr<const CCadColorTable>& SharedColorTable() const { return m_colorTable; }

    // The top-level entity with this identifier, or nullptr.
    const CCadEntity* FindById(std::int32_t identifier) const {
        return identifierMap.Lookup(identifier);
    }

    // Appends a top-level entity and enters it in the identifier map (identifiers >= 0 only,
    // so records without a real identifier never collide with one).
    void AddEntity(CCadEntity entity);

    // Rebuilds the identifier map from the entity array.
    void RebuildIdentifierMap();

    // The store that records read from a drawing file are allocated in (made on first use).
    CCadRecordStore& RecordStore();
    // Keeps another store alive with the drawing (records that another thread read for it).
    void KeepRecordStore(std::shared_ptr<CCadRecordStore> store) {
        m_moreRecordStores.push_back(std::move(store));
    }
    // How many stores hold records of the drawing.
    std::size_t RecordStoreCount() const {
        return (m_recordStore ? 1 : 0) + m_moreRecordStores.size();
    }

private:
    std::shared_ptr<const CCadColorTable> m_colorTable;
    std::shared_ptr<CCadRecordStore> m_recordStore;
    std::vector<std::shared_ptr<CCadRecordStore>> m_moreRecordStores;
};

// What a CCadCtrl shows: the drawing it owns (may be none) and the current scale in pixels
// per drawing unit.
struct CCadFile {
    std::unique_ptr<CCadDrawing> drawing;
    double scale = 1.0;
};

}  // namespace quarrant
