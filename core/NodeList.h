#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <iterator>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace rova {

// An ordered list that owns its nodes: the players of the engine, the commands of a sequence,
// the presets. Nodes enter as unique_ptr and leave as unique_ptr or as a detached NodeList (a
// "chain"), so every node has exactly one owner at any time and destroying the list destroys
// its nodes.
//
// The nodes are held by pointer in one array rather than linked through a field of their own:
// a node needs no link member, its address never changes while it is in a list, and the node
// at an index is found without walking the list (the sequence editor asks for rows by index).
//
// Indexes given to insert are clamped to the end; runs and moves outside the list do nothing.
template <typename T>
class NodeList {
  public:
    NodeList() = default;
    NodeList(NodeList&&) noexcept = default;
    NodeList& operator=(NodeList&&) noexcept = default;
    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;

    std::size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }

    // The node at `index`, or nullptr when there is none.
    T* at(std::size_t index) const { return index < nodes_.size() ? nodes_[index].get() : nullptr; }

    std::optional<std::size_t> indexOf(const T& node) const {
        const auto found = std::find_if(nodes_.begin(), nodes_.end(),
                                        [&node](const auto& held) { return held.get() == &node; });
        if (found == nodes_.end()) {
            return std::nullopt;
        }
        return static_cast<std::size_t>(found - nodes_.begin());
    }

    // Takes ownership of `node` (not null) and puts it at `index`; returns the node.
    T& insert(std::size_t index, std::unique_ptr<T> node) {
        assert(node);
        T& inserted = *node;
        nodes_.insert(position(index), std::move(node));
        return inserted;
    }
    T& append(std::unique_ptr<T> node) { return insert(size(), std::move(node)); }

    // Moves every node of `chain`, in its order, to `index`; `chain` is left empty.
    void insert(std::size_t index, NodeList&& chain) {
        nodes_.insert(position(index), std::make_move_iterator(chain.nodes_.begin()),
                      std::make_move_iterator(chain.nodes_.end()));
        chain.nodes_.clear();
    }

    // Takes up to `count` nodes from `index` on out of the list, in order.
    NodeList detachRun(std::size_t index, std::size_t count) {
        NodeList run;
        if (index >= nodes_.size()) {
            return run;
        }
        const auto first = nodes_.begin() + static_cast<std::ptrdiff_t>(index);
        const auto last =
            first + static_cast<std::ptrdiff_t>(std::min(count, nodes_.size() - index));
        run.nodes_.assign(std::make_move_iterator(first), std::make_move_iterator(last));
        nodes_.erase(first, last);
        return run;
    }

    // Takes `node` out of the list; nullptr when it is not in this list.
    std::unique_ptr<T> detach(const T& node) {
        const auto index = indexOf(node);
        if (!index) {
            return nullptr;
        }
        const auto found = nodes_.begin() + static_cast<std::ptrdiff_t>(*index);
        std::unique_ptr<T> detached = std::move(*found);
        nodes_.erase(found);
        return detached;
    }

    // Destroys every node.
    void clear() { nodes_.clear(); }

    // Moves the node at `from` so that it ends up at index `to`. False when either index is
    // outside the list.
    bool move(std::size_t from, std::size_t to) {
        if (from >= nodes_.size() || to >= nodes_.size()) {
            return false;
        }
        const auto begin = nodes_.begin();
        if (from < to) {
            std::rotate(begin + from, begin + from + 1, begin + to + 1);
        } else {
            std::rotate(begin + to, begin + from, begin + from + 1);
        }
        return true;
    }

    // Range-for over the nodes themselves, in order.
    template <typename Node, typename Base>
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Node>;
        using difference_type = std::ptrdiff_t;
        using pointer = Node*;
        using reference = Node&;

        Iterator() = default;
        explicit Iterator(Base base) : base_(base) {}
        Node& operator*() const { return **base_; }
        Node* operator->() const { return base_->get(); }
        Iterator& operator++() {
            ++base_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++base_;
            return before;
        }
        friend bool operator==(const Iterator&, const Iterator&) = default;

      private:
        Base base_{};
    };
    using iterator = Iterator<T, typename std::vector<std::unique_ptr<T>>::const_iterator>;
    using const_iterator =
        Iterator<const T, typename std::vector<std::unique_ptr<T>>::const_iterator>;

    iterator begin() { return iterator(nodes_.cbegin()); }
    iterator end() { return iterator(nodes_.cend()); }
    const_iterator begin() const { return const_iterator(nodes_.cbegin()); }
    const_iterator end() const { return const_iterator(nodes_.cend()); }

  private:
    auto position(std::size_t index) {
        return nodes_.begin() + static_cast<std::ptrdiff_t>(std::min(index, nodes_.size()));
    }

    std::vector<std::unique_ptr<T>> nodes_;
};

}  // namespace rova
