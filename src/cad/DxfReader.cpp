#include "cad/DxfReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "base/CNumbers.h"
#include "base/FileIO.h"
#include "cad/DxfNormalize.h"
#include "cad/DxfText.h"

namespace quarrant {
namespace {

// ---------------------------------------------------------------------------------------------
// Lines

// Hands out the lines of a DXF file one at a time. A line ends at LF; one CR before the LF is
// removed; no other byte is special. A line is valid until the next call. A file is read in
// chunks so that its bytes never sit in memory whole beside the drawing they become.
class DxfLineSource {
public:
    explicit DxfLineSource(std::string_view data)
        : m_pos(data.data()), m_end(data.data() + data.size()), m_sourceEnd(true) {}

    explicit DxfLineSource(int fd) : m_padded(true), m_fd(fd), m_capacity(kChunkSize) {
        m_buffer = std::make_unique<char[]>(m_capacity + kPadding);
        m_pos = m_end = m_buffer.get();
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            m_fileSize = static_cast<std::size_t>(info.st_size);
        }
    }

    // The next line, false at the end of the file. The common case, a line end within the
    // bytes at hand, stays inline.
    [[gnu::always_inline]] inline bool Next(std::string_view& line) {
        const char* lf = FindLineFeed();
        if (lf != nullptr) [[likely]] {
            std::size_t length = static_cast<std::size_t>(lf - m_pos);
            if (length > 0 && lf[-1] == '\r') {
                --length;
            }
            line = std::string_view(m_pos, length);
            m_pos = lf + 1;
            return true;
        }
        return NextAfterRefill(line);
    }

    // At most how many bytes are still to come (for sizing arrays the file claims to fill).
    std::size_t RemainingBytes() const {
        std::size_t buffered = static_cast<std::size_t>(m_end - m_pos);
        if (m_fd < 0) {
            return buffered;
        }
        return buffered + (m_fileSize > m_consumed ? m_fileSize - m_consumed : 0);
    }

    bool ReadFailed() const { return m_readFailed; }

private:
    static constexpr std::size_t kChunkSize = std::size_t{1} << 20;
    // The file buffer has this much room after its end, so that a line end can be searched
    // sixteen bytes at a time without a bounds check.
    static constexpr std::size_t kPadding = 16;

    // The next LF in [m_pos, m_end), or nullptr. Most DXF lines are short: one 16-byte compare
    // usually finds the end.
    [[gnu::always_inline]] inline const char* FindLineFeed() const {
        std::size_t left = static_cast<std::size_t>(m_end - m_pos);
        if (left == 0) {
            return nullptr;
        }
#if defined(__SSE2__)
        if (m_padded || left >= 16) {
            __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_pos));
            unsigned mask = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
            if (mask != 0) {
                std::size_t at = static_cast<std::size_t>(__builtin_ctz(mask));
                return at < left ? m_pos + at : nullptr;
            }
            if (left <= 16) {
                return nullptr;
            }
            return static_cast<const char*>(std::memchr(m_pos + 16, '\n', left - 16));
        }
#endif
        return static_cast<const char*>(std::memchr(m_pos, '\n', left));
    }

    [[gnu::noinline]] bool NextAfterRefill(std::string_view& line) {
        for (;;) {
            std::size_t left = static_cast<std::size_t>(m_end - m_pos);
            if (m_sourceEnd) {
                if (left == 0) {
                    return false;
                }
                line = std::string_view(m_pos, left);  // a last line without LF
                m_pos = m_end;
                return true;
            }
            Refill();
            const char* lf = FindLineFeed();
            if (lf != nullptr) {
                std::size_t length = static_cast<std::size_t>(lf - m_pos);
                if (length > 0 && lf[-1] == '\r') {
                    --length;
                }
                line = std::string_view(m_pos, length);
                m_pos = lf + 1;
                return true;
            }
        }
    }

    // Moves the unfinished line to the front of the buffer and reads more after it; a line
    // longer than the buffer makes the buffer grow.
    void Refill() {
        std::size_t left = static_cast<std::size_t>(m_end - m_pos);
        char* base = m_buffer.get();
        if (left == m_capacity) {
            std::size_t capacity = m_capacity * 2;
            auto bigger = std::make_unique<char[]>(capacity + kPadding);
            std::memcpy(bigger.get(), m_pos, left);
            m_buffer = std::move(bigger);
            m_capacity = capacity;
            base = m_buffer.get();
        } else if (left > 0 && m_pos != base) {
            std::memmove(base, m_pos, left);
        }
        m_pos = base;
        m_end = base + left;
        for (;;) {
            ssize_t n = ::read(m_fd, base + left, m_capacity - left);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                m_sourceEnd = true;
                m_readFailed = n < 0;
                return;
            }
            m_end += n;
            m_consumed += static_cast<std::size_t>(n);
            return;
        }
    }

    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    bool m_sourceEnd = false;
    bool m_readFailed = false;
    bool m_padded = false;
    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    std::size_t m_fileSize = 0;
    std::size_t m_consumed = 0;
};

// A group code that no reader asks for (not a plain decimal number of up to four digits).
constexpr int kOtherCode = -1;

// Group codes are compared as trimmed text: "0", "10" ... in their plain decimal form only
// ("010" or "+10" match nothing).
inline int ParseGroupCode(std::string_view line) {
    const char* p = line.data();
    const char* e = p + line.size();
    while (p < e && IsCSpace(*p)) {
        ++p;
    }
    while (e > p && IsCSpace(e[-1])) {
        --e;
    }
    std::size_t n = static_cast<std::size_t>(e - p);
    if (n == 0 || n > 4) {
        return kOtherCode;
    }
    if (*p == '0') {
        return n == 1 ? 0 : kOtherCode;
    }
    int value = 0;
    for (; p < e; ++p) {
        unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (digit > 9) {
            return kOtherCode;
        }
        value = value * 10 + static_cast<int>(digit);
    }
    return value;
}

// The entity names the ENTITIES and BLOCKS scans compare lines with, as read.
enum class EntityKind {
    kNone,
    kLine,
    kArc,
    kCircle,
    kEllipse,
    kPolyline,
    kSolid,
    kText,
    kMText,
    kDimension,
    kInsert,
    kHatch,
};

inline EntityKind KindOf(std::string_view line) {
    switch (line.size()) {
        case 3:
            return line == "ARC" ? EntityKind::kArc : EntityKind::kNone;
        case 4:
            if (line == "LINE")
                return EntityKind::kLine;
            if (line == "TEXT")
                return EntityKind::kText;
            return EntityKind::kNone;
        case 5:
            if (line == "SOLID")
                return EntityKind::kSolid;
            if (line == "MTEXT")
                return EntityKind::kMText;
            if (line == "HATCH")
                return EntityKind::kHatch;
            return EntityKind::kNone;
        case 6:
            if (line == "CIRCLE")
                return EntityKind::kCircle;
            if (line == "INSERT")
                return EntityKind::kInsert;
            return EntityKind::kNone;
        case 7:
            return line == "ELLIPSE" ? EntityKind::kEllipse : EntityKind::kNone;
        case 9:
            return line == "DIMENSION" ? EntityKind::kDimension : EntityKind::kNone;
        case 10:
            return line == "LWPOLYLINE" ? EntityKind::kPolyline : EntityKind::kNone;
        default:
            return EntityKind::kNone;
    }
}

// What the layer named by group 8 allows.
enum class LayerState {
    kUnnamed,  // no group 8 (yet)
    kMissing,  // not in the layer table
    kOff,      // colour < 0
    kFrozen,   // bit 1 of group 70
    kOn,
};

// LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE, TEXT, MTEXT and INSERT need a known layer that is on
// and not frozen.
inline bool KeepsStrictEntity(LayerState state) {
    return state == LayerState::kOn;
}
// SOLID and DIMENSION are dropped only on a frozen layer.
inline bool KeepsLenientEntity(LayerState state) {
    return state != LayerState::kFrozen;
}

// Where an entity reader puts what it read: the top-level array (which also moves the
// extents), a block's list, or nowhere (read and dropped).
struct Destination {
    CCadEntityList* list = nullptr;
    bool topLevel = false;
};

// Truncation of a real to int as the processor does it: values out of range (and NaN) give
// the "integer indefinite" value instead of undefined behaviour.
inline int TruncateToInt(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) {
        return static_cast<int>(value);
    }
    return static_cast<int>(0x80000000u);
}

// ---------------------------------------------------------------------------------------------
// The reader

class DxfParser {
public:
    DxfParser(CCadDrawing& drawing, DxfLineSource& lines, const DxfMessageSink& messages)
        : m_drawing(drawing), m_lines(lines), m_messages(messages) {}

    int Run();

private:
    // Sections; each returns 0 or -1 (end of file where it may not end, or a wrong code).
    int ReadHeader();
    int ReadTables();
    int ReadLayer();
    int ReadBlocks();
    int ReadBlock();
    int ReadEntities();
    void SkipClasses();
    bool SkipSection();  // false: the file ended first

    int ReadEntity(EntityKind kind, Destination destination);
    int ReadLine(Destination destination);
    int ReadArc(Destination destination);
    int ReadCircle(Destination destination);
    int ReadEllipse(Destination destination);
    int ReadPolyline(Destination destination);
    int ReadSolid(Destination destination);
    int ReadText(Destination destination);
    int ReadMText(Destination destination);
    int ReadDimension(Destination destination);
    int ReadInsert(Destination destination);
    int ReadHatch();
    int ReadAttributes();

    void TurnBlocksToScreen();
    void ReserveEntities();

    void Show(std::string_view message) {
        if (m_messages) {
            m_messages(std::string(message));
        }
    }

    [[gnu::always_inline]] inline bool NextLine(std::string_view& line) {
        return m_lines.Next(line);
    }
    [[gnu::always_inline]] inline bool NextCode(int& code) {
        std::string_view line;
        if (!m_lines.Next(line)) {
            return false;
        }
        code = ParseGroupCode(line);
        return true;
    }

    // One group-code / value pair of an object: kNextObject when the code is "0" (which is
    // consumed, its value line not), kEndOfFile when the file ends inside the pair.
    enum class PairRead { kPair, kNextObject, kEndOfFile };
    [[gnu::always_inline]] inline PairRead NextPair(int& code, std::string_view& value) {
        if (!NextCode(code)) {
            return PairRead::kEndOfFile;
        }
        if (code == 0) {
            return PairRead::kNextObject;
        }
        return NextLine(value) ? PairRead::kPair : PairRead::kEndOfFile;
    }

    // The pairs of an object, each handed to onPair(code, value), up to and including the
    // next group code 0. False when the file ends first.
    template <typename OnPair>
    [[gnu::always_inline]] inline bool ReadPairs(OnPair&& onPair) {
        for (;;) {
            int code = 0;
            std::string_view value;
            const PairRead read = NextPair(code, value);
            if (read != PairRead::kPair) {
                return read == PairRead::kNextObject;
            }
            onPair(code, value);
        }
    }

    // A string value as stored: trimmed, then decoded.
    void StoreString(std::string& field, std::string_view value) const {
        std::string_view trimmed = TrimC(value);
        if (DxfStringNeedsDecoding(trimmed, m_utf8)) {
            field = DecodeDxfString(trimmed, m_utf8);
        } else {
            field.assign(trimmed.data(), trimmed.size());
        }
    }
    std::string StoredString(std::string_view value) const {
        std::string field;
        StoreString(field, value);
        return field;
    }

    LayerState SetLayer(CCadRecord& record, std::string_view value) {
        StoreString(record.layer, value);
        return LayerStateOf(record.layer);
    }
    // Entities of a drawing keep returning to a handful of layers: the last few looked up are
    // remembered.
    LayerState LayerStateOf(const std::string& name) {
        for (const LayerCacheEntry& entry : m_layerCache) {
            if (entry.valid && entry.name == name) {
                return entry.state;
            }
        }
        const CCadLayer* layer = m_drawing.layerTable.Lookup(name);
        LayerState state = LayerState::kMissing;
        if (layer != nullptr) {
            if (layer->frozen != 0) {
                state = LayerState::kFrozen;
            } else if (layer->colorNumber < 0) {
                state = LayerState::kOff;
            } else {
                state = LayerState::kOn;
            }
        }
        LayerCacheEntry& entry = m_layerCache[m_layerCacheNext];
        m_layerCacheNext = (m_layerCacheNext + 1) % kLayerCacheSize;
        entry.valid = true;
        entry.name = name;
        entry.state = state;
        return state;
    }
    void ForgetLayerStates() {
        for (LayerCacheEntry& entry : m_layerCache) {
            entry.valid = false;
        }
    }

    // The block a DIMENSION names. Dimension blocks are mostly defined in the order of their
    // dimensions, so the blocks after the last one found are tried first; the answer is always
    // the block table's.
    std::shared_ptr<CCadBlock> DimensionBlock(const std::string& name) {
        if (m_blockOrderUsable) {
            std::size_t end = std::min(m_blockOrder.size(), m_blockCursor + 8);
            for (std::size_t k = m_blockCursor; k < end; ++k) {
                if (m_blockOrder[k]->name == name) {
                    m_blockCursor = k + 1;
                    return m_blockOrder[k];
                }
            }
        }
        const std::shared_ptr<CCadBlock>* block = m_drawing.blockTable.Lookup(name);
        return block != nullptr ? *block : nullptr;
    }

    // The block an INSERT names; a drawing inserts a few blocks over and over.
    const std::shared_ptr<CCadBlock>* InsertedBlock(const std::string& name) {
        for (const RecentBlock& recent : m_recentBlocks) {
            if (recent.valid && recent.name == name) {
                return recent.block;
            }
        }
        const std::shared_ptr<CCadBlock>* block = m_drawing.blockTable.Lookup(name);
        RecentBlock& recent = m_recentBlocks[m_recentBlockNext];
        m_recentBlockNext = (m_recentBlockNext + 1) % kRecentBlocks;
        recent.valid = true;
        recent.name = name;
        recent.block = block;
        return block;
    }
    void ForgetRecentBlocks() {
        for (RecentBlock& recent : m_recentBlocks) {
            recent.valid = false;
        }
    }

    // The fields every record but INSERT reads: layer, line type, colour, line weight.
    bool CommonField(CCadRecord& record, int code, std::string_view value, LayerState& state) {
        switch (code) {
            case 8:
                state = SetLayer(record, value);
                return true;
            case 6:
                StoreString(record.lineType, value);
                return true;
            case 62:
                record.colorNumber = AtoiC(value);
                return true;
            case 370:
                record.lineWeight = AtofC(value);
                return true;
            default:
                return false;
        }
    }

    // Extents move with the coordinates of top-level entities as they are read.
    void ExtendX(double x) { ExtendExtents(x, m_drawing.minX, m_drawing.maxX); }
    void ExtendY(double y) { ExtendExtents(y, m_drawing.minY, m_drawing.maxY); }

    int NextIdentifier() { return m_drawing.identifierCounter++; }

    CCadDrawing& m_drawing;
    DxfLineSource& m_lines;
    const DxfMessageSink& m_messages;
    bool m_utf8 = false;  // $ACADVER AC1021 or later: strings are UTF-8

    struct LayerCacheEntry {
        bool valid = false;
        std::string name;
        LayerState state = LayerState::kMissing;
    };
    static constexpr std::size_t kLayerCacheSize = 8;
    // Blocks in the order they were defined, while no name was defined twice.
    std::vector<std::shared_ptr<CCadBlock>> m_blockOrder;
    bool m_blockOrderUsable = true;
    std::size_t m_blockCursor = 0;
    // The last blocks INSERTs named (pointers into the block table, which only changes in
    // BLOCKS, where this is cleared).
    struct RecentBlock {
        bool valid = false;
        std::string name;
        const std::shared_ptr<CCadBlock>* block = nullptr;
    };
    static constexpr std::size_t kRecentBlocks = 4;
    RecentBlock m_recentBlocks[kRecentBlocks];
    std::size_t m_recentBlockNext = 0;
    LayerCacheEntry m_layerCache[kLayerCacheSize];
    std::size_t m_layerCacheNext = 0;
};

// The section loop. The first line, and the line after each section, must be the group code
// 0; after it "SECTION", "2" and the name select the section reader. Anything else after a 0
// (normally EOF) is passed over.
int DxfParser::Run() {
    std::string_view line;
    bool haveLine = NextLine(line);
    for (;;) {
        if (!haveLine || ParseGroupCode(line) != 0) {
            Show(kDxfFormatErrorMessage);
            return -1;
        }
        if (!NextLine(line)) {
            return 0;
        }
        if (TrimC(line) == "SECTION") {
            if (!NextLine(line)) {
                return 0;
            }
            if (ParseGroupCode(line) == 2) {
                std::string_view name;
                if (!NextLine(name)) {
                    return 0;  // an unnamed section skipped to the end of the file
                }
                name = TrimC(name);
                int result = 0;
                if (name == "HEADER") {
                    result = ReadHeader();
                } else if (name == "CLASSES") {
                    SkipClasses();
                } else if (name == "TABLES") {
                    result = ReadTables();
                } else if (name == "BLOCKS") {
                    result = ReadBlocks();
                } else if (name == "ENTITIES") {
                    result = ReadEntities();
                } else if (!SkipSection()) {
                    return 0;  // the file ended inside an unknown section: keep what was read
                }
                if (result != 0) {
                    return -1;
                }
            }
        }
        haveLine = NextLine(line);
        if (!haveLine) {
            return 0;
        }
    }
}

bool DxfParser::SkipSection() {
    for (;;) {
        int code = 0;
        std::string_view value;
        if (!NextCode(code) || !NextLine(value)) {
            return false;
        }
        if (code == 0 && TrimC(value) == "ENDSEC") {
            return true;
        }
    }
}

void DxfParser::SkipClasses() {
    std::string_view line;
    while (NextLine(line)) {
        if (line == "ENDSEC") {
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// HEADER

int DxfParser::ReadHeader() {
    enum class Variable { kOther, kLimMax, kLimMin, kLineTypeScale, kInsUnits, kDimTxt, kAcadVer };
    for (;;) {
        int code = 0;
        std::string_view value;
        if (!NextCode(code) || !NextLine(value)) {
            return -1;
        }
        if (code == 0) {
            if (TrimC(value) == "ENDSEC") {
                return 0;
            }
            continue;
        }
        if (code != 9) {
            continue;
        }
        std::string_view name = TrimC(value);
        Variable variable = Variable::kOther;
        if (name == "$LIMMAX") {
            variable = Variable::kLimMax;
        } else if (name == "$LIMMIN") {
            variable = Variable::kLimMin;
        } else if (name == "$CELTSCALE") {
            variable = Variable::kLineTypeScale;
        } else if (name == "$INSUNITS") {
            variable = Variable::kInsUnits;
        } else if (name == "$DIMTXT") {
            variable = Variable::kDimTxt;
        } else if (name == "$ACADVER") {
            variable = Variable::kAcadVer;
        }
        switch (variable) {
            case Variable::kOther:
                break;
            case Variable::kLimMax:
            case Variable::kLimMin: {
                double x = 0.0;
                double y = 0.0;
                if (!NextCode(code) || code != 10 || !NextLine(value)) {
                    return -1;
                }
                x = AtofC(value);
                if (!NextCode(code) || code != 20 || !NextLine(value)) {
                    return -1;
                }
                y = AtofC(value);
                if (variable == Variable::kLimMax) {
                    m_drawing.header.limitsMaxX = x;
                    m_drawing.header.limitsMaxY = y;
                } else {
                    m_drawing.header.limitsMinX = x;
                    m_drawing.header.limitsMinY = y;
                }
                break;
            }
            case Variable::kLineTypeScale:
                if (!NextCode(code) || code != 40 || !NextLine(value)) {
                    return -1;
                }
                m_drawing.header.lineTypeScale = AtofC(value);
                break;
            case Variable::kInsUnits:
                if (!NextCode(code) || code != 70 || !NextLine(value)) {
                    return -1;
                }
                m_drawing.header.insertionUnits = AtoiC(value);
                m_drawing.header.insertionUnitsDeclared = true;
                break;
            case Variable::kDimTxt:
                // A pair with another code is consumed and ignored.
                if (!NextCode(code) || !NextLine(value)) {
                    return -1;
                }
                if (code == 40) {
                    StoreString(m_drawing.dimensionTextHeight, value);
                }
                break;
            case Variable::kAcadVer:
                if (!NextCode(code) || !NextLine(value)) {
                    return -1;
                }
                if (code == 1) {
                    m_utf8 = IsUtf8DxfVersion(TrimC(value));
                }
                break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// TABLES

int DxfParser::ReadTables() {
    std::string_view line;
    if (!NextLine(line)) {  // the 0 after the section name, taken unchecked
        return -1;
    }
    for (;;) {
        if (!NextLine(line)) {
            return -1;
        }
        if (line == "ENDSEC") {
            return 0;
        }
        if (line == "LAYER" && ReadLayer() != 0) {
            return -1;
        }
    }
}

// One layer entry, up to and including its closing group code 0. Without group 62 the layer
// is on (colour 0); without group 70 it is not frozen.
int DxfParser::ReadLayer() {
    CCadLayer layer;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 2:
                StoreString(layer.name, value);
                break;
            case 62:
                layer.colorNumber = AtoiC(value);
                break;
            case 6:
                StoreString(layer.lineType, value);
                break;
            case 370:
                layer.lineWeight = AtofC(value);
                break;
            case 70:
                layer.frozen = AtoiC(value) & 1;
                break;
            default:
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    std::string name = layer.name;
    m_drawing.layerTable.SetAt(name, std::move(layer));
    ForgetLayerStates();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// BLOCKS

int DxfParser::ReadBlocks() {
    std::string_view line;
    if (!NextLine(line)) {  // the 0 after the section name, taken unchecked
        return -1;
    }
    for (;;) {
        if (!NextLine(line)) {
            return -1;
        }
        if (line == "ENDSEC") {
            TurnBlocksToScreen();
            return 0;
        }
        if (line == "BLOCK" && ReadBlock() != 0) {
            return -1;
        }
    }
}

// One block definition up to its ENDBLK line. Only LINE, ARC, CIRCLE, ELLIPSE, LWPOLYLINE and
// SOLID are read inside blocks; entities met before the block has a name are dropped.
int DxfParser::ReadBlock() {
    m_drawing.currentBlock.reset();
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        if (code == 2) {
            auto block = std::make_shared<CCadBlock>();
            StoreString(block->name, value);
            m_drawing.currentBlock = block;
            std::shared_ptr<CCadBlock>& entry = m_drawing.blockTable[block->name];
            if (entry) {
                m_blockOrderUsable = false;  // a name defined twice: look every name up
            }
            entry = block;
            m_blockOrder.push_back(std::move(block));
            ForgetRecentBlocks();
        }
    });
    if (!complete) {
        return -1;
    }
    std::string_view line;
    for (;;) {
        if (!NextLine(line)) {
            return -1;
        }
        if (line == "ENDBLK") {
            if (m_drawing.currentBlock) {
                m_drawing.currentBlock->entities.shrink_to_fit();  // complete now
            }
            return 0;
        }
        EntityKind kind = KindOf(line);
        switch (kind) {
            case EntityKind::kLine:
            case EntityKind::kArc:
            case EntityKind::kCircle:
            case EntityKind::kEllipse:
            case EntityKind::kPolyline:
            case EntityKind::kSolid: {
                Destination destination;
                if (m_drawing.currentBlock) {
                    destination.list = &m_drawing.currentBlock->entities;
                }
                if (ReadEntity(kind, destination) != 0) {
                    return -1;
                }
                break;
            }
            default:
                break;
        }
    }
}

// Block geometry is kept in screen orientation: every Y negated, arcs turned accordingly.
// Coordinates stay relative to the block's base point.
void DxfParser::TurnBlocksToScreen() {
    for (auto entry : m_drawing.blockTable) {
        if (!entry.value) {
            continue;
        }
        for (CCadEntity& entity : entry.value->entities) {
            switch (entity.type) {
                case kCadLine: {
                    auto* line = entity.As<CCadLine>();
                    line->startY = -line->startY;
                    line->endY = -line->endY;
                    break;
                }
                case kCadArc: {
                    auto* arc = entity.As<CCadArc>();
                    arc->centerY = -arc->centerY;
                    double start = arc->startAngle;
                    arc->startAngle = 360.0 - arc->endAngle;
                    arc->endAngle = 360.0 - start;
                    break;
                }
                case kCadCircle: {
                    auto* circle = entity.As<CCadCircle>();
                    circle->centerY = -circle->centerY;
                    break;
                }
                case kCadEllipse: {
                    auto* ellipse = entity.As<CCadEllipse>();
                    ellipse->centerY = -ellipse->centerY;
                    ellipse->axisY = -ellipse->axisY;
                    break;
                }
                case kCadPolyline:
                    for (CCadVertex& vertex : entity.As<CCadPolyline>()->vertices) {
                        vertex.y = -vertex.y;
                    }
                    break;
                case kCadSolid: {
                    auto* solid = entity.As<CCadSolid>();
                    solid->y1 = -solid->y1;
                    solid->y2 = -solid->y2;
                    solid->y3 = -solid->y3;
                    solid->y4 = -solid->y4;
                    break;
                }
                default:
                    break;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// ENTITIES

int DxfParser::ReadEntities() {
    std::string_view line;
    if (!NextLine(line)) {  // the 0 after the section name, taken unchecked
        return -1;
    }
    ReserveEntities();
    Destination topLevel{&m_drawing.entities, true};
    for (;;) {
        if (!NextLine(line)) {
            return -1;
        }
        EntityKind kind = KindOf(line);
        if (kind != EntityKind::kNone) {
            if (ReadEntity(kind, topLevel) != 0) {
                return -1;
            }
        } else if (line == "ENDSEC") {
            return 0;
        }
    }
}

// Room for as many entities as the rest of the file could hold at 64 bytes each (a short
// entity takes about that much), so that the array does not grow by copying itself while the
// drawing is at its largest. Pages never filled take no memory.
void DxfParser::ReserveEntities() {
    constexpr std::size_t kBytesPerEntity = 64;
    constexpr std::size_t kMostReserved = std::size_t{1} << 26;
    std::size_t wanted = m_drawing.entities.size() +
                         std::min(m_lines.RemainingBytes() / kBytesPerEntity, kMostReserved);
    if (wanted > m_drawing.entities.capacity()) {
        try {
            m_drawing.entities.reserve(wanted);
        } catch (const std::bad_alloc&) {
            // Not reserving only costs copies.
        }
    }
}

int DxfParser::ReadEntity(EntityKind kind, Destination destination) {
    switch (kind) {
        case EntityKind::kLine:
            return ReadLine(destination);
        case EntityKind::kArc:
            return ReadArc(destination);
        case EntityKind::kCircle:
            return ReadCircle(destination);
        case EntityKind::kEllipse:
            return ReadEllipse(destination);
        case EntityKind::kPolyline:
            return ReadPolyline(destination);
        case EntityKind::kSolid:
            return ReadSolid(destination);
        case EntityKind::kText:
            return ReadText(destination);
        case EntityKind::kMText:
            return ReadMText(destination);
        case EntityKind::kDimension:
            return ReadDimension(destination);
        case EntityKind::kInsert:
            return ReadInsert(destination);
        case EntityKind::kHatch:
            return ReadHatch();
        case EntityKind::kNone:
            break;
    }
    return 0;
}

// Every reader below: the record is created and takes the next identifier before its layer is
// known; then pairs are read up to and including the next group code 0. End of file before
// that gives -1.

int DxfParser::ReadLine(Destination destination) {
    auto line = std::make_shared<CCadLine>();
    line->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        const bool extends = destination.topLevel && state == LayerState::kOn;
        switch (code) {
            case 10:
                line->startX = AtofC(value);
                if (extends)
                    ExtendX(line->startX);
                break;
            case 20:
                line->startY = AtofC(value);
                if (extends)
                    ExtendY(line->startY);
                break;
            case 11:
                line->endX = AtofC(value);
                if (extends)
                    ExtendX(line->endX);
                break;
            case 21:
                line->endY = AtofC(value);
                if (extends)
                    ExtendY(line->endY);
                break;
            case 420:  // true colour, in the same field as 62: the later one wins
                line->colorNumber = AtoiC(value);
                break;
            case 67:
                line->paperSpace = AtoiC(value);
                break;
            default:
                CommonField(*line, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadLine, std::move(line)});
    }
    return 0;
}

int DxfParser::ReadArc(Destination destination) {
    auto arc = std::make_shared<CCadArc>();
    arc->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 10:
                arc->centerX = AtofC(value);
                break;
            case 20:
                arc->centerY = AtofC(value);
                break;
            case 40:
                arc->radius = AtofC(value);
                break;
            case 50:
                arc->startAngle = AtofC(value);
                break;
            case 51:
                arc->endAngle = AtofC(value);
                break;
            default:
                CommonField(*arc, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadArc, std::move(arc)});
    }
    return 0;
}

int DxfParser::ReadCircle(Destination destination) {
    auto circle = std::make_shared<CCadCircle>();
    circle->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 10:
                circle->centerX = AtofC(value);
                break;
            case 20:
                circle->centerY = AtofC(value);
                break;
            case 40:
                circle->radius = AtofC(value);
                break;
            default:
                CommonField(*circle, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadCircle, std::move(circle)});
    }
    return 0;
}

int DxfParser::ReadEllipse(Destination destination) {
    auto ellipse = std::make_shared<CCadEllipse>();
    ellipse->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 10:
                ellipse->centerX = AtofC(value);
                break;
            case 20:
                ellipse->centerY = AtofC(value);
                break;
            case 11:
                ellipse->axisX = AtofC(value);
                break;
            case 21:
                ellipse->axisY = AtofC(value);
                break;
            case 40:
                ellipse->ratio = AtofC(value);
                break;
            case 41:
                ellipse->startParameter = AtofC(value);
                break;
            case 42:
                ellipse->endParameter = AtofC(value);
                break;
            default:
                CommonField(*ellipse, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadEllipse, std::move(ellipse)});
    }
    return 0;
}

// Group 90 gives the vertex count; each group 10 starts the next vertex. Vertices beyond the
// count, and vertex groups before group 90, have no place and are ignored. A polyline that
// gives fewer vertices than its count keeps the vertices it gave (no made-up vertices at 0, 0).
int DxfParser::ReadPolyline(Destination destination) {
    auto polyline = std::make_shared<CCadPolyline>();
    polyline->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    std::vector<CCadVertex>& vertices = polyline->vertices;
    std::size_t declared = 0;
    CCadVertex* vertex = nullptr;  // the vertex the groups 20, 40, 41, 42 belong to
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        const bool extends = destination.topLevel && state == LayerState::kOn;
        switch (code) {
            case 90: {
                int count = AtoiC(value);
                declared = count > 0 ? static_cast<std::size_t>(count) : 0;
                vertices.clear();
                vertex = nullptr;
                // A vertex takes at least four bytes of the file ("10", LF, value, LF).
                vertices.reserve(std::min(declared, m_lines.RemainingBytes() / 4 + 1));
                break;
            }
            case 10:
                if (vertices.size() < declared) {
                    vertex = &vertices.emplace_back();
                    vertex->x = AtofC(value);
                    if (extends)
                        ExtendX(vertex->x);
                } else {
                    vertex = nullptr;
                }
                break;
            case 20:
                if (vertex != nullptr) {
                    vertex->y = AtofC(value);
                    if (extends)
                        ExtendY(vertex->y);
                }
                break;
            case 40:
                if (vertex != nullptr) {
                    vertex->startWidth = AtofC(value);
                }
                break;
            case 41:
                if (vertex != nullptr) {
                    vertex->endWidth = AtofC(value);
                }
                break;
            case 42:
                if (vertex != nullptr) {
                    vertex->bulge = AtofC(value);
                    vertex->hasBulge = 1;
                }
                break;
            case 70:
                polyline->flags = AtoiC(value);
                break;
            case 43:
                polyline->constantWidth = AtofC(value);
                polyline->hasConstantWidth = 1;
                break;
            default:
                CommonField(*polyline, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    polyline->vertexCount = static_cast<int>(vertices.size());
    if (vertices.size() < vertices.capacity() && vertices.size() < declared) {
        vertices.shrink_to_fit();
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadPolyline, std::move(polyline)});
    }
    return 0;
}

int DxfParser::ReadSolid(Destination destination) {
    auto solid = std::make_shared<CCadSolid>();
    solid->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        const bool extends = destination.topLevel && KeepsLenientEntity(state);
        switch (code) {
            case 10:
                solid->x1 = AtofC(value);
                if (extends)
                    ExtendX(solid->x1);
                break;
            case 20:
                solid->y1 = AtofC(value);
                if (extends)
                    ExtendY(solid->y1);
                break;
            case 11:
                solid->x2 = AtofC(value);
                if (extends)
                    ExtendX(solid->x2);
                break;
            case 21:
                solid->y2 = AtofC(value);
                if (extends)
                    ExtendY(solid->y2);
                break;
            case 12:
                solid->x3 = AtofC(value);
                if (extends)
                    ExtendX(solid->x3);
                break;
            case 22:
                solid->y3 = AtofC(value);
                if (extends)
                    ExtendY(solid->y3);
                break;
            case 13:
                solid->x4 = AtofC(value);
                if (extends)
                    ExtendX(solid->x4);
                break;
            case 23:
                solid->y4 = AtofC(value);
                if (extends)
                    ExtendY(solid->y4);
                break;
            case 93:
                solid->group93 = AtoiC(value);
                break;
            default:
                CommonField(*solid, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsLenientEntity(state)) {
        destination.list->push_back(CCadEntity{kCadSolid, std::move(solid)});
    }
    return 0;
}

int DxfParser::ReadText(Destination destination) {
    auto text = std::make_shared<CCadText>();
    text->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 1:
                text->text = CleanTextFormatting(StoredString(value));
                break;
            case 10:
                text->insertX = AtofC(value);
                break;
            case 20:
                text->insertY = AtofC(value);
                break;
            case 11:
                text->secondX = AtofC(value);
                break;
            case 21:
                text->secondY = AtofC(value);
                break;
            case 50:
                text->rotation = AtofC(value);
                break;
            case 40:
                text->height = AtoiC(value);
                break;
            case 72:
                text->justificationKind = 0;
                text->justification = AtoiC(value);
                break;
            case 73:
                text->justificationKind = 1;
                text->justification = AtoiC(value);
                break;
            default:
                CommonField(*text, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadText, std::move(text)});
    }
    return 0;
}

int DxfParser::ReadMText(Destination destination) {
    auto mtext = std::make_shared<CCadMText>();
    mtext->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 1:  // group 3 continuation chunks are not read
                mtext->text = CleanTextFormatting(StoredString(value));
                break;
            case 10:
                mtext->insertX = AtofC(value);
                break;
            case 20:
                mtext->insertY = AtofC(value);
                break;
            case 40:
                mtext->textHeight = AtofC(value);
                break;
            case 41:
                mtext->referenceWidth = AtofC(value);
                break;
            case 43:
                mtext->referenceHeight = AtofC(value);
                break;
            case 50:
                mtext->rotation = AtofC(value);
                break;
            case 72:
                mtext->drawingDirection = AtoiC(value);
                break;
            default:
                CommonField(*mtext, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadMText, std::move(mtext)});
    }
    return 0;
}

int DxfParser::ReadDimension(Destination destination) {
    auto dimension = std::make_shared<CCadDimension>();
    dimension->identifier = NextIdentifier();
    dimension->textHeight = m_drawing.dimensionTextHeight;
    LayerState state = LayerState::kUnnamed;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 2: {
                // The block is linked at once; a DIMENSION whose block is not (yet) known has
                // no geometry of its own.
                StoreString(dimension->blockName, value);
                dimension->block = DimensionBlock(dimension->blockName);
                break;
            }
            case 70:
                dimension->dimensionType = AtoiC(value);
                break;
            case 71:
                dimension->attachment = AtoiC(value);
                break;
            case 72:
                dimension->lineSpacingStyle = AtoiC(value);
                break;
            case 41:
                dimension->lineSpacingFactor = AtofC(value);
                break;
            case 42:
                StoreString(dimension->measurement, value);
                break;
            case 53:
                dimension->textRotation = AtofC(value);
                break;
            case 51:
                dimension->horizontalDirection = AtofC(value);
                break;
            case 50:
                dimension->rotation = AtofC(value);
                break;
            case 52:
                dimension->extensionLineAngle = AtofC(value);
                break;
            case 1:
                StoreString(dimension->textOverride, value);
                break;
            case 10:
            case 11:
            case 12:
            case 13:
            case 14:
            case 15:
            case 16: {
                CCadDimPoint* points[] = {&dimension->point10, &dimension->point11,
                                          &dimension->point12, &dimension->point13,
                                          &dimension->point14, &dimension->point15,
                                          &dimension->point16};
                CCadDimPoint* point = points[code - 10];
                point->present = 1;
                point->x = AtofC(value);
                break;
            }
            case 20:
            case 21:
            case 22:
            case 23:
            case 24:
            case 25:
            case 26: {
                CCadDimPoint* points[] = {&dimension->point10, &dimension->point11,
                                          &dimension->point12, &dimension->point13,
                                          &dimension->point14, &dimension->point15,
                                          &dimension->point16};
                points[code - 20]->y = AtofC(value);
                break;
            }
            default:
                CommonField(*dimension, code, value, state);
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    if (destination.list != nullptr && KeepsLenientEntity(state)) {
        destination.list->push_back(CCadEntity{kCadDimension, std::move(dimension)});
    }
    return 0;
}

// An INSERT shares the records of its block (one level: blocks hold no INSERTs). Its visible
// attributes become TEXT entities placed before it; they carry the identifier -1.
int DxfParser::ReadInsert(Destination destination) {
    auto insert = std::make_shared<CCadInsert>();
    insert->identifier = NextIdentifier();
    LayerState state = LayerState::kUnnamed;
    bool hasBlockName = false;
    bool attributesFollow = false;
    const bool complete = ReadPairs([&](int code, std::string_view value) {
        switch (code) {
            case 2:
                StoreString(insert->blockName, value);
                hasBlockName = true;
                break;
            case 10:
                insert->insertX = AtofC(value);
                break;
            case 20:
                insert->insertY = AtofC(value);
                break;
            case 41:
                insert->scaleX = AtofC(value);
                break;
            case 42:
                insert->scaleY = AtofC(value);
                break;
            case 50:
                insert->rotation = AtofC(value);
                break;
            case 66:
                attributesFollow = TrimC(value) == "1";
                break;
            case 8:
                state = SetLayer(*insert, value);
                break;
            default:
                break;
        }
    });
    if (!complete) {
        return -1;
    }
    bool emptyBlock = false;
    if (hasBlockName) {
        const std::shared_ptr<CCadBlock>* block = InsertedBlock(insert->blockName);
        if (block != nullptr && *block) {
            if ((*block)->entities.empty()) {
                emptyBlock = true;
            } else {
                insert->entities = (*block)->entities;
            }
        }
    }
    if (attributesFollow && ReadAttributes() != 0) {
        return -1;
    }
    if (hasBlockName && !emptyBlock && destination.list != nullptr && KeepsStrictEntity(state)) {
        destination.list->push_back(CCadEntity{kCadInsert, std::move(insert)});
    }
    return 0;
}

// The attributes after an INSERT, up to the SEQEND line. Each visible ATTRIB becomes a TEXT
// entity of the top-level array.
int DxfParser::ReadAttributes() {
    std::string_view line;
    for (;;) {
        if (!NextLine(line)) {
            return -1;
        }
        if (line == "SEQEND") {
            return 0;
        }
        if (line != "ATTRIB") {
            continue;
        }
        auto text = std::make_shared<CCadText>();
        text->identifier = -1;  // not selectable by identifier
        bool visible = true;
        const bool complete = ReadPairs([&](int code, std::string_view value) {
            switch (code) {
                case 10:
                    text->insertX = AtofC(value);
                    break;
                case 20:
                    text->insertY = AtofC(value);
                    break;
                case 40:
                    text->height = TruncateToInt(AtofC(value));
                    break;
                case 50:
                    text->rotation = AtofC(value);
                    break;
                case 1:
                    StoreString(text->text, value);
                    break;
                case 70:
                    visible = TrimC(value) != "1";
                    break;
                default:
                    break;
            }
        });
        if (!complete) {
            return -1;
        }
        if (visible) {
            m_drawing.entities.push_back(CCadEntity{kCadText, std::move(text)});
        }
    }
}

// A HATCH uses up one identifier and leaves no entity.
int DxfParser::ReadHatch() {
    NextIdentifier();
    for (;;) {
        int code = 0;
        std::string_view value;
        if (!NextCode(code)) {
            return -1;
        }
        if (code == 0) {
            return 0;
        }
        if (!NextLine(value)) {
            return -1;
        }
    }
}

int RunParser(CCadDrawing& drawing, DxfLineSource& lines, const DxfMessageSink& messages) {
    int result = -1;
    try {
        DxfParser parser(drawing, lines, messages);
        result = parser.Run();
    } catch (const std::bad_alloc&) {
        return -1;  // a file claiming more than memory holds: refused like a damaged one
    } catch (const std::length_error&) {
        return -1;
    }
    if (lines.ReadFailed()) {
        if (result == 0 && messages) {
            messages(std::string(kDxfOpenErrorMessage));
        }
        return -1;
    }
    return result;
}

}  // namespace

int ReadDxf(CCadDrawing& drawing, DxfBytes bytes, const DxfMessageSink& messages) {
    DxfLineSource lines(bytes.data);
    return RunParser(drawing, lines, messages);
}

int ReadDxf(CCadDrawing& drawing, std::string_view gbkPath, const DxfMessageSink& messages) {
    int fd = ::open(FsPath(gbkPath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (messages) {
            messages(std::string(kDxfOpenErrorMessage));
        }
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        if (messages) {
            messages(std::string(kDxfOpenErrorMessage));
        }
        return -1;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    int result = -1;
    {
        DxfLineSource lines(fd);
        result = RunParser(drawing, lines, messages);
    }
    ::close(fd);
    return result;
}

}  // namespace quarrant
