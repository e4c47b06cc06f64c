#pragma once

// The one hash map of the system whose iteration order users see: in row listings, reports,
// catalogue files and identifier texts. It has 17 buckets; a new key goes to the front of its
// bucket; iteration visits buckets 0 to 16, each from front to back. Replacing the value of
// an existing key keeps its place. A side index makes lookups O(1) whatever the size, so
// drawings of a million entities can be looked up by identifier without walking a bucket.
//
// Header-only on purpose: the program and the plug-in share maps across the plug-in
// boundary, and both must agree on one layout compiled from this one source.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "base/Assert.h"

namespace quarrant {

inline constexpr unsigned kHashMapBuckets = 17;

// Bucket of an integer key: (n / 16) mod 17, on the unsigned 32-bit value.
inline unsigned HashBucket(std::int32_t key) {
    return (static_cast<std::uint32_t>(key) >> 4) % kHashMapBuckets;
}

// Bucket of a text key: h = h * 33 + byte, the bytes taken as signed 8-bit values, in
// unsigned 32-bit arithmetic from 0; then h mod 17.
inline unsigned HashBucket(std::string_view key) {
    std::uint32_t h = 0;
    for (char c : key) {
        h = h * 33u +
            static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    }
    return h % kHashMapBuckets;
}

template <typename Key, typename Value>
class HashMap17 {
    struct Node;

public:
    // What iteration yields: the key and a reference to the value.
    template <bool Const>
    struct EntryRef {
        const Key& key;
        std::conditional_t<Const, const Value&, Value&> value;
    };

    template <bool Const>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = EntryRef<Const>;
        using difference_type = std::ptrdiff_t;
        using MapPtr = std::conditional_t<Const, const HashMap17*, HashMap17*>;

        Iterator() = default;
        Iterator(MapPtr map, unsigned bucket, Node* node)
            : m_map(map), m_bucket(bucket), m_node(node) {
            SkipEmpty();
        }
        EntryRef<Const> operator*() const {
            QUARRANT_ASSERT(m_node != nullptr);
            return {*m_node->key, m_node->value};
        }
        Iterator& operator++() {
            m_node = m_node->next;
            SkipEmpty();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_node == other.m_node; }
        bool operator!=(const Iterator& other) const { return m_node != other.m_node; }

    private:
        void SkipEmpty() {
            while (m_node == nullptr && m_map != nullptr && m_bucket + 1 < kHashMapBuckets) {
                ++m_bucket;
                m_node = m_map->m_heads[m_bucket];
            }
        }
        MapPtr m_map = nullptr;
        unsigned m_bucket = 0;
        Node* m_node = nullptr;
    };

    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    HashMap17() = default;
    HashMap17(const HashMap17& other) { CopyFrom(other); }
    HashMap17& operator=(const HashMap17& other) {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    HashMap17(HashMap17&& other) noexcept { MoveFrom(other); }
    HashMap17& operator=(HashMap17&& other) noexcept {
        if (this != &other) {
            RemoveAll();
            MoveFrom(other);
        }
        return *this;
    }

    std::size_t size() const { return m_index.size(); }
    bool empty() const { return m_index.empty(); }

    Value* Lookup(const Key& key) {
        auto found = m_index.find(key);
        return found == m_index.end() ? nullptr : &found->second.value;
    }
    const Value* Lookup(const Key& key) const {
        auto found = m_index.find(key);
        return found == m_index.end() ? nullptr : &found->second.value;
    }
    bool Contains(const Key& key) const { return m_index.find(key) != m_index.end(); }

    // The value of key; a missing key is entered with a default value at the front of its
    // bucket.
    Value& operator[](const Key& key) {
        auto [it, inserted] = m_index.try_emplace(key);
        if (inserted) {
            Link(it);
        }
        return it->second.value;
    }

    // Enters or replaces; a replaced value keeps the key's place in iteration.
    void SetAt(const Key& key, Value value) { (*this)[key] = std::move(value); }

    bool RemoveKey(const Key& key) {
        auto found = m_index.find(key);
        if (found == m_index.end()) {
            return false;
        }
        Unlink(found->second);
        m_index.erase(found);
        return true;
    }

    void RemoveAll() {
        m_index.clear();
        for (Node*& head : m_heads) {
            head = nullptr;
        }
    }

    iterator begin() { return iterator(this, 0, m_heads[0]); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(this, 0, m_heads[0]); }
    const_iterator end() const { return const_iterator(); }

private:
    struct Node {
        Value value{};
        const Key* key = nullptr;
        Node* prev = nullptr;
        Node* next = nullptr;
        unsigned bucket = 0;
    };
    using Index = std::unordered_map<Key, Node>;

    void Link(typename Index::iterator it) {
        Node& node = it->second;
        node.key = &it->first;
        node.bucket = HashBucket(it->first);
        QUARRANT_ASSERT(m_heads[node.bucket] == nullptr || m_heads[node.bucket]->prev == nullptr);
        node.next = m_heads[node.bucket];
        if (node.next != nullptr) {
            node.next->prev = &node;
        }
        m_heads[node.bucket] = &node;
    }

    void Unlink(Node& node) {
        // The node is linked where the index says it is.
        QUARRANT_ASSERT(node.prev != nullptr ? node.prev->next == &node
                                             : m_heads[node.bucket] == &node);
        QUARRANT_ASSERT(node.next == nullptr || node.next->prev == &node);
        if (node.prev != nullptr) {
            node.prev->next = node.next;
        } else {
            m_heads[node.bucket] = node.next;
        }
        if (node.next != nullptr) {
            node.next->prev = node.prev;
        }
    }

    // Copies keep the order: each bucket is rebuilt back to front.
    void CopyFrom(const HashMap17& other) {
        for (unsigned b = 0; b < kHashMapBuckets; ++b) {
            Node* last = other.m_heads[b];
            while (last != nullptr && last->next != nullptr) {
                last = last->next;
            }
            for (Node* n = last; n != nullptr; n = n->prev) {
                (*this)[*n->key] = n->value;
            }
        }
    }

    void MoveFrom(HashMap17& other) {
        // unordered_map nodes keep their addresses when the container is moved.
        m_index = std::move(other.m_index);
        for (unsigned b = 0; b < kHashMapBuckets; ++b) {
            m_heads[b] = other.m_heads[b];
            other.m_heads[b] = nullptr;
            QUARRANT_ASSERT(m_heads[b] == nullptr || IsIndexed(*m_heads[b]));
        }
        other.m_index.clear();
    }

    // The node is the one the index holds for its key.
    bool IsIndexed(const Node& node) const {
        auto found = m_index.find(*node.key);
        return found != m_index.end() && &found->second == &node;
    }

    Index m_index;
    Node* m_heads[kHashMapBuckets] = {};
};

}  // namespace quarrant
