#include <vxplan/core/vxEntityWindow.h>

#include <algorithm>
#include <new>
#include <string>

#include <vxplan/core/vxDataEntityPack.h>
#include <vxplan/platform/rtl/Exception.h>

namespace vx {

namespace {

constexpr std::uint32_t kMinCap = 8;
constexpr std::uint32_t kSlotMask = TvxEntityWindow::MaxBlock - 1;
// Ids and slots share the 31 bits below the detached flag.
constexpr std::uint32_t kIdLimit = TvxEntityWindow::Detached >> TvxEntityWindow::SlotBits;
// Neighbours that together hold no more than this are merged.
constexpr std::uint32_t kMergeAt = TvxEntityWindow::MaxBlock / 4;

}  // namespace

TvxEntityWindow::~TvxEntityWindow() { Reset(); }

void TvxEntityWindow::Reset() noexcept {
  for (Block* b : fBlocks) FreeBlock(b);
  std::vector<Block*>().swap(fBlocks);
  std::vector<Block*>().swap(fById);
  std::vector<std::uint32_t>().swap(fFreeIds);
  fSize = 0;
  fValid = 0;
  fFinger = 0;
}

TvxEntityWindow::Block* TvxEntityWindow::AllocBlock(std::uint32_t theCap) {
  void* mem = ::operator new(sizeof(Block) + theCap * sizeof(TvxDataEntity*));
  Block* b = new (mem) Block{};
  b->cap = theCap;
  b->ring = reinterpret_cast<TvxDataEntity**>(static_cast<char*>(mem) + sizeof(Block));
  std::fill(b->ring, b->ring + theCap, nullptr);
  return b;
}

void TvxEntityWindow::FreeBlock(Block* b) noexcept { ::operator delete(b); }

std::uint32_t TvxEntityWindow::CapFor(std::uint32_t theSize) noexcept {
  std::uint32_t cap = kMinCap;
  while (cap < theSize && cap < static_cast<std::uint32_t>(MaxBlock)) cap *= 2;
  return cap;
}

void TvxEntityWindow::Place(Block* b, std::uint32_t thePhys, TvxDataEntity* e) noexcept {
  b->ring[thePhys] = e;
  e->fWindowSlot = (b->id << SlotBits) | thePhys;
}

TvxDataEntity* TvxEntityWindow::AtInBlocks(int p) const {
  const Block* b = fBlocks[static_cast<size_t>(Locate(p))];
  return Get(b, static_cast<std::uint32_t>(p - b->start));
}

TvxDataEntity* TvxEntityWindow::Front() const { return Get(fBlocks.front(), 0); }

TvxDataEntity* TvxEntityWindow::Back() const {
  const Block* b = fBlocks.back();
  return Get(b, b->size - 1);
}

void TvxEntityWindow::ValidateUpTo(int theBlock) const {
  for (; fValid <= theBlock; ++fValid) {
    const Block* b = fBlocks[static_cast<size_t>(fValid)];
    if (fValid == 0) {
      b->start = 0;
    } else {
      const Block* prev = fBlocks[static_cast<size_t>(fValid - 1)];
      b->start = prev->start + static_cast<int>(prev->size);
    }
  }
}

int TvxEntityWindow::Locate(int p) const {
  auto holds = [p](const Block* b) { return p >= b->start && p - b->start < static_cast<int>(b->size); };
  if (fFinger < fValid && holds(fBlocks[static_cast<size_t>(fFinger)])) return fFinger;
  if (fFinger + 1 < fValid && holds(fBlocks[static_cast<size_t>(fFinger + 1)])) return ++fFinger;
  int j = fValid;
  const Block* lastValid = fValid > 0 ? fBlocks[static_cast<size_t>(fValid - 1)] : nullptr;
  if (lastValid && p < lastValid->start + static_cast<int>(lastValid->size)) {
    // Blocks are never empty, so valid starts rise strictly.
    int lo = 0, hi = fValid - 1;
    while (lo < hi) {
      const int mid = (lo + hi + 1) / 2;
      if (fBlocks[static_cast<size_t>(mid)]->start <= p)
        lo = mid;
      else
        hi = mid - 1;
    }
    j = lo;
  } else {
    ValidateUpTo(j);
    while (!holds(fBlocks[static_cast<size_t>(j)])) ValidateUpTo(++j);
  }
  fFinger = j;
  return j;
}

void TvxEntityWindow::Renumber(int theFromOrder) noexcept {
  for (size_t k = static_cast<size_t>(theFromOrder); k < fBlocks.size(); ++k) fBlocks[k]->order = static_cast<int>(k);
}

TvxEntityWindow::Block* TvxEntityWindow::NewBlock(int theOrder, std::uint32_t theCap) {
  std::uint32_t id;
  if (!fFreeIds.empty()) {
    id = fFreeIds.back();
  } else {
    id = static_cast<std::uint32_t>(fById.size());
    if (id >= kIdLimit) throw EListError("List capacity out of bounds (" + std::to_string(fSize) + ")");
  }
  fBlocks.reserve(fBlocks.size() + 1);
  if (fFreeIds.empty()) fById.reserve(fById.size() + 1);
  Block* b = AllocBlock(theCap);
  // Nothing below throws.
  if (!fFreeIds.empty())
    fFreeIds.pop_back();
  else
    fById.push_back(nullptr);
  b->id = id;
  fById[id] = b;
  fBlocks.insert(fBlocks.begin() + theOrder, b);
  Renumber(theOrder);
  fValid = std::min(fValid, theOrder);
  return b;
}

void TvxEntityWindow::RemoveBlock(int theOrder) {
  Block* b = fBlocks[static_cast<size_t>(theOrder)];
  fById[b->id] = nullptr;
  fFreeIds.push_back(b->id);
  fBlocks.erase(fBlocks.begin() + theOrder);
  FreeBlock(b);
  Renumber(theOrder);
  fValid = std::min(fValid, theOrder);
  if (fFinger >= static_cast<int>(fBlocks.size())) fFinger = 0;
}

TvxEntityWindow::Block* TvxEntityWindow::Grow(int theOrder, std::uint32_t theCap) {
  Block* old = fBlocks[static_cast<size_t>(theOrder)];
  Block* b = AllocBlock(theCap);
  b->id = old->id;
  b->order = old->order;
  b->start = old->start;
  for (std::uint32_t k = 0; k < old->size; ++k) Place(b, k, Get(old, k));
  b->size = old->size;
  fById[b->id] = b;
  fBlocks[static_cast<size_t>(theOrder)] = b;
  FreeBlock(old);
  return b;
}

void TvxEntityWindow::Split(int theOrder) {
  Block* b = fBlocks[static_cast<size_t>(theOrder)];
  const std::uint32_t keep = b->size / 2, moved = b->size - keep;
  Block* next = NewBlock(theOrder + 1, CapFor(moved + 1));
  for (std::uint32_t k = 0; k < moved; ++k) Place(next, k, Get(b, keep + k));
  next->size = moved;
  b->size = keep;
}

void TvxEntityWindow::MergeInto(int theFrom, int theTo) {
  // theFrom is the block right after theTo.
  Block* to = fBlocks[static_cast<size_t>(theTo)];
  const Block* from = fBlocks[static_cast<size_t>(theFrom)];
  if (to->size + from->size > to->cap) to = Grow(theTo, CapFor(to->size + from->size));
  for (std::uint32_t k = 0; k < from->size; ++k) Place(to, (to->head + to->size + k) & (to->cap - 1), Get(from, k));
  to->size += from->size;
  RemoveBlock(theFrom);
}

void TvxEntityWindow::AfterErase(int theOrder) {
  Block* b = fBlocks[static_cast<size_t>(theOrder)];
  const int n = static_cast<int>(fBlocks.size());
  // A sole block keeps its room (at most MaxBlock slots): a virtual list's
  // window drains and fills again all the time, and shrinking it would only
  // copy the window again as it grows back.
  if (n == 1) return;
  if (b->size == 0) {
    RemoveBlock(theOrder);
    return;
  }
  if (theOrder > 0 && fBlocks[static_cast<size_t>(theOrder - 1)]->size + b->size <= kMergeAt) {
    MergeInto(theOrder, theOrder - 1);
  } else if (theOrder + 1 < n && fBlocks[static_cast<size_t>(theOrder + 1)]->size + b->size <= kMergeAt) {
    MergeInto(theOrder + 1, theOrder);
  } else if (b->cap > kMinCap && b->size <= b->cap / 8) {
    Grow(theOrder, CapFor(2 * b->size));  // give back what deletions left empty
  }
}

void TvxEntityWindow::RingInsert(Block* b, std::uint32_t q, TvxDataEntity* e) noexcept {
  const std::uint32_t mask = b->cap - 1;
  if (q < b->size - q) {
    // The front part moves one slot back.
    b->head = (b->head - 1) & mask;
    for (std::uint32_t k = 0; k < q; ++k) Place(b, (b->head + k) & mask, b->ring[(b->head + k + 1) & mask]);
  } else {
    for (std::uint32_t k = b->size; k > q; --k) Place(b, (b->head + k) & mask, b->ring[(b->head + k - 1) & mask]);
  }
  Place(b, (b->head + q) & mask, e);
  ++b->size;
}

TvxDataEntity* TvxEntityWindow::RingErase(Block* b, std::uint32_t q) noexcept {
  const std::uint32_t mask = b->cap - 1;
  TvxDataEntity* e = Get(b, q);
  if (q < b->size - 1 - q) {
    for (std::uint32_t k = q; k > 0; --k) Place(b, (b->head + k) & mask, b->ring[(b->head + k - 1) & mask]);
    b->head = (b->head + 1) & mask;
  } else {
    for (std::uint32_t k = q; k + 1 < b->size; ++k) Place(b, (b->head + k) & mask, b->ring[(b->head + k + 1) & mask]);
  }
  --b->size;
  return e;
}

void TvxEntityWindow::Insert(int p, TvxDataEntity* e) {
  if (fBlocks.empty()) NewBlock(0, kMinCap);
  if (p == fSize) {
    // Appends (loading a window downwards) mostly find room in the last block.
    Block* last = fBlocks.back();
    if (last->size < last->cap) {
      Place(last, (last->head + last->size) & (last->cap - 1), e);
      ++last->size;
      ++fSize;
      fValid = std::min(fValid, static_cast<int>(fBlocks.size()));
      return;
    }
  }
  int j;
  std::uint32_t q;
  if (p == fSize) {
    j = static_cast<int>(fBlocks.size()) - 1;
    q = fBlocks.back()->size;
  } else {
    j = Locate(p);
    q = static_cast<std::uint32_t>(p - fBlocks[static_cast<size_t>(j)]->start);
  }
  Block* b = fBlocks[static_cast<size_t>(j)];
  if (b->size == static_cast<std::uint32_t>(MaxBlock)) {
    const int n = static_cast<int>(fBlocks.size());
    if (q == 0 && j > 0 && fBlocks[static_cast<size_t>(j - 1)]->size < static_cast<std::uint32_t>(MaxBlock)) {
      --j;
      q = fBlocks[static_cast<size_t>(j)]->size;
    } else if (q == b->size && j + 1 < n &&
               fBlocks[static_cast<size_t>(j + 1)]->size < static_cast<std::uint32_t>(MaxBlock)) {
      ++j;
      q = 0;
    } else if (q == 0) {
      NewBlock(j, MaxBlock);  // inserts at the front go on filling it
    } else if (q == b->size) {
      NewBlock(++j, MaxBlock);  // so do appends
      q = 0;
    } else {
      Split(j);
      const std::uint32_t left = fBlocks[static_cast<size_t>(j)]->size;
      if (q > left) {
        q -= left;
        ++j;
      }
    }
    b = fBlocks[static_cast<size_t>(j)];
  }
  if (b->size == b->cap) b = Grow(j, b->cap * 2);
  RingInsert(b, q, e);
  ++fSize;
  fValid = std::min(fValid, j + 1);
}

TvxDataEntity* TvxEntityWindow::Erase(int p) {
  const int j = Locate(p);
  Block* b = fBlocks[static_cast<size_t>(j)];
  TvxDataEntity* e = RingErase(b, static_cast<std::uint32_t>(p - b->start));
  --fSize;
  fValid = std::min(fValid, j + 1);
  AfterErase(j);
  return e;
}

void TvxEntityWindow::Assign(const std::vector<TvxDataEntity*>& theOrder) {
  size_t k = 0;
  for (Block* b : fBlocks)
    for (std::uint32_t local = 0; local < b->size && k < theOrder.size(); ++local)
      Place(b, (b->head + local) & (b->cap - 1), theOrder[k++]);
}

int TvxEntityWindow::PosOf(const TvxDataEntity* e) const {
  const std::uint32_t slot = e->fWindowSlot;
  if (IsDetached(slot)) return -1;
  const std::uint32_t id = slot >> SlotBits, phys = slot & kSlotMask;
  if (id >= fById.size()) return -1;
  const Block* b = fById[id];
  if (!b || phys >= b->cap || b->ring[phys] != e) return -1;
  const std::uint32_t local = (phys - b->head) & (b->cap - 1);
  if (local >= b->size) return -1;
  ValidateUpTo(b->order);
  return b->start + static_cast<int>(local);
}

void TvxEntityWindow::StartsOutOfDateFrom(int p) noexcept {
  // The block holding p keeps its start; the ones after it may not.
  int lo = 0, hi = fValid;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (fBlocks[static_cast<size_t>(mid)]->start <= p)
      lo = mid + 1;
    else
      hi = mid;
  }
  fValid = std::min(fValid, std::max(lo, 1));
}

void TvxEntityWindow::UpdateStarts() const {
  if (!fBlocks.empty()) ValidateUpTo(static_cast<int>(fBlocks.size()) - 1);
}

}  // namespace vx
