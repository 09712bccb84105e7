// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <unordered_map>
#include <vector>

namespace agw {

// A set that remembers the order in which its entries came and holds at most
// `capacity` of them: adding one more lets the oldest go. Adding, removing
// and looking up take constant time, so an engine that reports without end
// can neither fill the memory nor slow each frame down.
template <typename Key, typename Hash = std::hash<Key>> class RecentSet
{
public:
    explicit RecentSet(std::size_t capacity) : capacity_(capacity) {}

    // Adds `key` unless it is there already; false when it was.
    bool insert(const Key &key)
    {
        if (index_.count(key))
            return false;
        order_.push_back(key);
        index_.emplace(key, std::prev(order_.end()));
        if (order_.size() > capacity_) {
            index_.erase(order_.front());
            order_.pop_front();
        }
        return true;
    }

    void erase(const Key &key)
    {
        const auto it = index_.find(key);
        if (it == index_.end())
            return;
        order_.erase(it->second);
        index_.erase(it);
    }

    bool contains(const Key &key) const { return index_.count(key) != 0; }
    std::size_t size() const { return order_.size(); }
    std::size_t capacity() const { return capacity_; }

    void clear()
    {
        index_.clear();
        order_.clear();
    }

    // Oldest first.
    std::vector<Key> entries() const { return std::vector<Key>(order_.begin(), order_.end()); }

private:
    std::size_t capacity_;
    std::list<Key> order_;
    std::unordered_map<Key, typename std::list<Key>::iterator, Hash> index_;
};

} // namespace agw
