#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <vector>

namespace vx {

class TvxDataEntity;

// The loaded entities of a data list, in list order.
//
// A plain array makes every scattered insert or delete shift the whole rest of
// the list, and a cached index per entity makes every index read after such an
// edit renumber the rest of the list again. Here the entities are kept in
// blocks of at most MaxBlock, each a small ring, and every entity knows its
// block and ring slot. An edit shifts at most half a block and marks the
// starts of the blocks after it out of date; a position read renumbers the
// block starts lazily up to the block it needs. Both cost O(sqrt n) for the
// list sizes a window holds, and an entity pays no more memory than the index
// it used to cache.
//
// Adjacent blocks together always hold more than MaxBlock / 4 entities, so the
// number of blocks stays below 8 n / MaxBlock + 1. Blocks are never empty,
// but for a sole block kept when the window empties (a virtual list's window
// often does). A sole block keeps its room as it drains: at most MaxBlock
// slots, so a list holds on to no more than 8 KB it does not use.
class VX_API TvxEntityWindow {
public:
  static constexpr int SlotBits = 10;
  static constexpr int MaxBlock = 1 << SlotBits;

  TvxEntityWindow() = default;
  ~TvxEntityWindow();
  TvxEntityWindow(const TvxEntityWindow&) = delete;
  TvxEntityWindow& operator=(const TvxEntityWindow&) = delete;

  int Size() const noexcept { return fSize; }
  bool Empty() const noexcept { return fSize == 0; }
  // 0 <= p < Size.
  TvxDataEntity* At(int p) const {
    if (fBlocks.size() == 1) return Get(fBlocks.front(), static_cast<std::uint32_t>(p));  // most windows
    return AtInBlocks(p);
  }
  TvxDataEntity* Front() const;
  TvxDataEntity* Back() const;

  // 0 <= p <= Size. Gives e its slot.
  void Insert(int p, TvxDataEntity* e);
  // 0 <= p < Size. Answers the entity taken out; its slot is left to the caller.
  TvxDataEntity* Erase(int p);
  // Writes theOrder (Size entities) over the window, in that order.
  void Assign(const std::vector<TvxDataEntity*>& theOrder);
  // Forgets every entity (frees nothing but the blocks).
  void Reset() noexcept;

  // Position of e; -1 when e is not in this window.
  int PosOf(const TvxDataEntity* e) const;

  // Lazy block starts. Starts of blocks holding positions at or after p may be
  // out of date from now on.
  void StartsOutOfDateFrom(int p) noexcept;
  // Every block start brought up to date now.
  void UpdateStarts() const;
  int BlockCount() const noexcept { return static_cast<int>(fBlocks.size()); }

  template <class F>
  void ForEach(F&& f) const {
    for (const Block* b : fBlocks)
      for (std::uint32_t k = 0; k < b->size; ++k) f(b->ring[(b->head + k) & (b->cap - 1)]);
  }

  // What an entity's slot word holds: its block id and ring slot while it is
  // in a window, or, with the top bit set, the list index it had when it left.
  static constexpr std::uint32_t Detached = 0x80000000u;
  static constexpr std::uint32_t DetachedSlot(int theIndex) noexcept {
    return Detached | (static_cast<std::uint32_t>(theIndex) & ~Detached);
  }
  static constexpr bool IsDetached(std::uint32_t theSlot) noexcept { return (theSlot & Detached) != 0; }
  static constexpr int DetachedIndex(std::uint32_t theSlot) noexcept { return static_cast<int>(theSlot & ~Detached); }

private:
  struct Block {
    std::uint32_t id;
    std::uint32_t cap;  // a power of two, at most MaxBlock
    std::uint32_t head;
    std::uint32_t size;
    int order;          // index in fBlocks
    mutable int start;  // window position of the first entity, when valid
    TvxDataEntity** ring;  // cap slots, in the same allocation
  };

  static Block* AllocBlock(std::uint32_t theCap);
  static void FreeBlock(Block* b) noexcept;
  static std::uint32_t CapFor(std::uint32_t theSize) noexcept;
  static void Place(Block* b, std::uint32_t thePhys, TvxDataEntity* e) noexcept;
  static TvxDataEntity* Get(const Block* b, std::uint32_t theLocal) noexcept {
    return b->ring[(b->head + theLocal) & (b->cap - 1)];
  }

  TvxDataEntity* AtInBlocks(int p) const;
  // Index of the block holding position p (p < Size), starts valid up to it.
  int Locate(int p) const;
  void ValidateUpTo(int theBlock) const;
  Block* NewBlock(int theOrder, std::uint32_t theCap);
  void RemoveBlock(int theOrder);
  void Renumber(int theFromOrder) noexcept;
  Block* Grow(int theOrder, std::uint32_t theCap);
  void Split(int theOrder);
  void MergeInto(int theFrom, int theTo);
  void AfterErase(int theOrder);
  static void RingInsert(Block* b, std::uint32_t q, TvxDataEntity* e) noexcept;
  static TvxDataEntity* RingErase(Block* b, std::uint32_t q) noexcept;

  std::vector<Block*> fBlocks;
  std::vector<Block*> fById;
  std::vector<std::uint32_t> fFreeIds;
  int fSize = 0;
  mutable int fValid = 0;   // blocks 0 .. fValid-1 have valid starts
  mutable int fFinger = 0;  // the block the last position read found
};

}  // namespace vx
