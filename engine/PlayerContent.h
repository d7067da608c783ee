#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "PlayerParameters.h"

namespace rova {

// One column of a packed picture: a 32-bit word per colour plane (plane p holds bit p of the
// lamp colour index). Bit 31 is the picture's top row.
using ContentColumn = std::array<std::uint32_t, 3>;

// A player's picture packed into columns of bit-plane words. Owns its array; copies are explicit
// (copyFrom) so that no two owners ever share one.
class PlayerContent {
  public:
    PlayerContent() = default;
    PlayerContent(PlayerContent&&) noexcept = default;
    PlayerContent& operator=(PlayerContent&&) noexcept = default;
    PlayerContent(const PlayerContent&) = delete;
    PlayerContent& operator=(const PlayerContent&) = delete;

    // Replaces the array with one of `columns` zeroed columns. On success sets both counts and
    // returns the array; when it cannot be allocated returns an empty span and keeps the counts.
    std::span<ContentColumn> allocate(std::uint32_t columns, std::uint32_t rows);
    // Frees the array; both counts become 0.
    void release();
    // Releases this content, then copies `source` into a fresh array. Returns false (and stays
    // empty) when the array cannot be allocated.
    bool copyFrom(const PlayerContent& source);

    std::uint32_t columnCount() const { return columnCount_; }
    std::uint32_t rowCount() const { return rowCount_; }
    bool empty() const { return columnCount_ == 0; }
    std::span<const ContentColumn> columns() const { return {data_.get(), columnCount_}; }
    std::span<ContentColumn> columns() { return {data_.get(), columnCount_}; }

  private:
    std::unique_ptr<ContentColumn[]> data_;
    std::uint32_t columnCount_ = 0;
    std::uint32_t rowCount_ = 0;
};

// Keep bits of a ParameterSet, each consumed by the next content build.
struct KeepFlags {
    static constexpr std::uint32_t Width = 0x1;   // skip the AutoWidth step once
    static constexpr std::uint32_t Height = 0x2;  // skip the Fit search once
};

// The parameters and packed content being edited or carried by a command.
struct ParameterSet {
    PlayerParameters parameters;
    PlayerContent content;
    std::uint32_t keep = 0;
};

}  // namespace rova
