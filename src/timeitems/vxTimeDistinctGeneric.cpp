#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <set>

#include <vxplan/platform/rtl/Exception.h>
#include <vxplan/platform/ui/Forms.h>

namespace vx {

// --- holder lists --------------------------------------------------------------------

TDistinctTimeHolder* TDistinctTimeHolderList::Add(TDateTime aStart, TDateTime aStop, const std::string& aQuantityID,
                                                  TObject* aReference) {
  if (aStart == aStop) aStop = aStart + OneSecond;
  // Held in chunks: a row's layout copies every item, and a holder each
  // from the heap cost more than the layout itself.
  TDistinctTimeHolder* holder = &fOwned.emplace_back(aStart, aStop, aQuantityID, aReference);
  fList.push_back(holder);
  fIsOwnerOfTimeHolders = true;
  return holder;
}

TDistinctTimeHolder* TDistinctTimeHolderList::Get(int aIndex) const {
  if (aIndex < 0 || aIndex >= Count()) throw EListError(aIndex);
  return fList[static_cast<size_t>(aIndex)];
}

TDistinctTimeHolder* TDistinctTimeHolderList::FindFromReference(TObject* aReference) {
  // A short list is searched: an index costs more than it saves.
  if (fList.size() <= kSearchedUpTo) {
    for (TDistinctTimeHolder* h : fList)
      if (h->GetReference() == aReference) return h;
    return nullptr;
  }
  // Index lazily, keeping the first holder of each reference.
  for (; fIndexed < fList.size(); ++fIndexed) fByReference.emplace(fList[fIndexed]->GetReference(), fList[fIndexed]);
  auto it = fByReference.find(aReference);
  return it == fByReference.end() ? nullptr : it->second;
}

void TDistinctTimeHolderList::Clear() {
  fList.clear();
  fOwned.clear();
  fByReference.clear();
  fIndexed = 0;
}

// --- the conflict relation ------------------------------------------------------------

bool TTimeDistinctGeneric::InConflict(const TDistinctTimeHolder* A, const TDistinctTimeHolder* B) noexcept {
  if (A == B || A->GetQuantityID() != B->GetQuantityID()) return false;
  const double as = A->GetStart(), ae = A->GetStop(), bs = B->GetStart(), be = B->GetStop();
  return (bs <= as && as < be) || (bs < ae && ae < be) || (as <= bs && bs < ae) || (as < be && be < ae);
}

namespace {

// The conflict relation, reduced: a proper holder (start < stop) covers
// [start, stop); any other holder (a reversed one, or one with a NaN end)
// collides through its two ends only: its start inside [s, e) or its stop
// inside (s, e) of a proper holder; a NaN end collides through nothing. Two
// such holders never collide with each other.
struct Item {
  double s, e;
  int index;  // position in the holder list: the scan order
  bool proper;
};

// The proper holders of a group in classes of similar length (lengths within
// a factor of two), each class sorted by start. A holder with stop after t
// starts after t minus its length, so within a class only the starts in
// (t - longest, limit) need looking at: about as many as actually collide.
class ProperIndex {
public:
  struct Class {
    double longest = 0;
    std::vector<double> starts;
    std::vector<double> stops;
    std::vector<size_t> items;
  };

  void Build(const std::vector<Item>& items) {
    std::map<int, size_t> classOf;  // by binary exponent of the length
    fWhere.assign(items.size(), {SIZE_MAX, 0});
    std::vector<std::vector<size_t>> members;
    for (size_t k = 0; k < items.size(); ++k) {
      if (!items[k].proper) continue;
      const double length = items[k].e - items[k].s;
      int exponent = std::numeric_limits<int>::max();  // infinite lengths: a class of their own
      if (std::isfinite(length)) std::frexp(length, &exponent);
      auto [it, added] = classOf.emplace(exponent, fClasses.size());
      if (added) {
        fClasses.emplace_back();
        members.emplace_back();
      }
      Class& c = fClasses[it->second];
      c.longest = std::max(c.longest, length);
      members[it->second].push_back(k);
    }
    for (size_t c = 0; c < fClasses.size(); ++c) {
      std::vector<size_t>& m = members[c];
      std::sort(m.begin(), m.end(), [&](size_t a, size_t b) { return items[a].s < items[b].s; });
      for (size_t r = 0; r < m.size(); ++r) {
        fClasses[c].starts.push_back(items[m[r]].s);
        fClasses[c].stops.push_back(items[m[r]].e);
        fClasses[c].items.push_back(m[r]);
        fWhere[m[r]] = {c, r};
      }
    }
  }

  // The start bound below which a member of a class cannot reach past
  // threshold, a little low so that rounding never drops one.
  static double From(const Class& c, double threshold) {
    return threshold - c.longest - 1e-9 * (std::fabs(threshold) + c.longest);
  }

  // For every proper item k, the candidate range of each class for its own
  // overlap question (start in [From(s), e)): found by sweeping, not searching.
  void BuildRanges(const std::vector<Item>& items) {
    const size_t nc = fClasses.size();
    fRanges.assign(items.size() * nc, {0, 0});
    std::vector<size_t> byStart, byStop;
    for (size_t k = 0; k < items.size(); ++k)
      if (items[k].proper) byStart.push_back(k);
    byStop = byStart;
    std::sort(byStart.begin(), byStart.end(), [&](size_t a, size_t b) { return items[a].s < items[b].s; });
    std::sort(byStop.begin(), byStop.end(), [&](size_t a, size_t b) { return items[a].e < items[b].e; });
    for (size_t c = 0; c < nc; ++c) {
      const Class& cls = fClasses[c];
      size_t p = 0;
      for (size_t k : byStart) {  // From(s) grows with s
        const double from = From(cls, items[k].s);
        while (p < cls.starts.size() && cls.starts[p] < from) ++p;
        fRanges[k * nc + c].first = static_cast<std::uint32_t>(p);
      }
      p = 0;
      for (size_t k : byStop) {
        while (p < cls.starts.size() && cls.starts[p] < items[k].e) ++p;
        fRanges[k * nc + c].second = static_cast<std::uint32_t>(p);
      }
    }
  }

  const std::vector<Class>& Classes() const { return fClasses; }
  std::pair<size_t, size_t> Where(size_t k) const { return fWhere[k]; }
  std::pair<std::uint32_t, std::uint32_t> Range(size_t k, size_t c) const { return fRanges[k * fClasses.size() + c]; }

private:
  std::vector<Class> fClasses;
  std::vector<std::pair<size_t, size_t>> fWhere;  // item -> (class, rank)
  std::vector<std::pair<std::uint32_t, std::uint32_t>> fRanges;
};

// The holders of one key, with the structures that answer "which holders of
// a given set collide with this one".
class KeyGroup {
public:
  explicit KeyGroup(std::vector<Item> items) : fItems(std::move(items)) {
    fIndex.Build(fItems);
    fIndex.BuildRanges(fItems);
  }

  size_t Size() const { return fItems.size(); }
  const Item& At(size_t k) const { return fItems[k]; }

  // A set of holders of this group, with their conflicts answerable.
  class Set {
  public:
    Set(const KeyGroup& g, bool full) : fGroup(g) {
      for (const ProperIndex::Class& c : g.fIndex.Classes()) fActive.emplace_back(c.items.size(), full ? 1 : 0);
      fIn.assign(g.Size(), full);
      if (full)
        for (size_t k = 0; k < g.Size(); ++k)
          if (!g.fItems[k].proper) InsertOther(k);
    }
    void Insert(size_t k) {
      fIn[k] = true;
      if (fGroup.fItems[k].proper) {
        const auto [c, r] = fGroup.fIndex.Where(k);
        fActive[c][r] = 1;
      } else {
        InsertOther(k);
      }
    }
    void Erase(size_t k) {
      fIn[k] = false;
      const Item& it = fGroup.fItems[k];
      if (it.proper) {
        const auto [c, r] = fGroup.fIndex.Where(k);
        fActive[c][r] = 0;
      } else {
        if (!std::isnan(it.s)) fOtherByStart.erase({it.s, k});
        if (!std::isnan(it.e)) fOtherByStop.erase({it.e, k});
      }
    }
    bool Contains(size_t k) const { return fIn[k]; }

    // Calls f(j) for every member j != k that collides with k, until f
    // answers false (a member may come twice when it collides through both
    // of its ends).
    template <class F>
    void Conflicts(size_t k, F&& f) const {
      const Item& h = fGroup.fItems[k];
      if (h.proper) {
        // Proper members overlapping [s, e): start < e and stop > s.
        if (!Proper(k, h.e, false, h.s, f)) return;
        // Reversed members with their start in [s, e) or their stop in (s, e).
        for (auto it = fOtherByStart.lower_bound({h.s, 0}); it != fOtherByStart.end() && it->first < h.e; ++it)
          if (!f(it->second)) return;
        for (auto it = fOtherByStop.upper_bound({h.s, SIZE_MAX}); it != fOtherByStop.end() && it->first < h.e; ++it)
          if (!f(it->second)) return;
      } else {
        // Proper members holding the start (start <= s < stop) or strictly
        // holding the stop (start < e < stop); a NaN end holds nothing.
        if (!std::isnan(h.s) && !Proper(k, h.s, true, h.s, f)) return;
        if (!std::isnan(h.e)) Proper(k, h.e, false, h.e, f);
      }
    }

    bool HasConflict(size_t k) const {
      bool found = false;
      Conflicts(k, [&](size_t) {
        found = true;
        return false;
      });
      return found;
    }

  private:
    // Active proper members other than k with start before limit (or at it,
    // when inclusive) and stop after threshold. The overlap question of a
    // proper k itself uses its precomputed ranges.
    template <class F>
    bool Proper(size_t k, double limit, bool inclusive, double threshold, F& f) const {
      const auto& classes = fGroup.fIndex.Classes();
      const bool own = fGroup.fItems[k].proper && !inclusive;
      for (size_t c = 0; c < classes.size(); ++c) {
        const ProperIndex::Class& cls = classes[c];
        size_t lo, hi;
        if (own) {
          const auto range = fGroup.fIndex.Range(k, c);
          lo = range.first;
          hi = range.second;
        } else {
          const auto& starts = cls.starts;
          lo = std::lower_bound(starts.begin(), starts.end(), ProperIndex::From(cls, threshold)) - starts.begin();
          hi = (inclusive ? std::upper_bound(starts.begin(), starts.end(), limit)
                          : std::lower_bound(starts.begin(), starts.end(), limit)) -
               starts.begin();
        }
        const char* active = fActive[c].data();
        const double* stops = cls.stops.data();
        for (size_t r = lo; r < hi; ++r)
          if (active[r] && stops[r] > threshold && cls.items[r] != k && !f(cls.items[r])) return false;
      }
      return true;
    }

    void InsertOther(size_t k) {
      const Item& it = fGroup.fItems[k];
      if (!std::isnan(it.s)) fOtherByStart.insert({it.s, k});
      if (!std::isnan(it.e)) fOtherByStop.insert({it.e, k});
    }

    const KeyGroup& fGroup;
    std::vector<std::vector<char>> fActive;  // per class, per rank
    std::vector<bool> fIn;
    std::set<std::pair<double, size_t>> fOtherByStart;
    std::set<std::pair<double, size_t>> fOtherByStop;
  };

private:
  std::vector<Item> fItems;  // in scan order (ascending list index)
  ProperIndex fIndex;
};

// Groups the holders by key, in list order.
std::vector<std::vector<Item>> GroupByKey(TDistinctTimeHolderList* theList) {
  std::unordered_map<std::string, size_t> groupOf;
  std::vector<std::vector<Item>> groups;
  for (int i = 0; i < theList->Count(); ++i) {
    const TDistinctTimeHolder* h = theList->Get(i);
    const double s = h->GetStart(), e = h->GetStop();
    auto [it, added] = groupOf.emplace(h->GetQuantityID(), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(Item{s, e, i, s < e});
  }
  return groups;
}

// The same placement for a small group, straight from the pairwise
// relation: below a few dozen holders the indexes cost more than they save.
// Answers (list index, sub-column) in the order of placement.
constexpr size_t kSmallGroup = 48;

std::vector<std::pair<int, int>> PlaceSmallGroup(const std::vector<Item>& items, TDistinctTimeHolderList* theList) {
  const size_t n = items.size();
  std::vector<const TDistinctTimeHolder*> h(n);
  for (size_t k = 0; k < n; ++k) h[k] = theList->Get(items[k].index);
  std::vector<char> adj(n * n, 0);
  std::vector<char> collides(n, 0);
  for (size_t a = 0; a < n; ++a)
    for (size_t b = a + 1; b < n; ++b)
      if (TTimeDistinctGeneric::InConflict(h[a], h[b])) {
        adj[a * n + b] = adj[b * n + a] = 1;
        collides[a] = collides[b] = 1;
      }
  // As the indexed scan: from the last holder backwards, a waiting colliding
  // holder first, then its waiting partners in descending order.
  std::vector<size_t> order;
  std::vector<char> waiting(n, 1);
  for (size_t k = n; k-- > 0;) {
    bool partners = false;
    for (size_t j = 0; j < n && !partners; ++j) partners = j != k && waiting[j] && adj[k * n + j];
    if (waiting[k]) {
      if (!partners && !collides[k]) continue;
      order.push_back(k);
      waiting[k] = 0;
    }
    for (size_t j = n; j-- > 0;)
      if (waiting[j] && adj[k * n + j]) {
        order.push_back(j);
        waiting[j] = 0;
      }
  }
  std::vector<int> column(n, 0);
  std::vector<char> taken;
  std::vector<std::pair<int, int>> placed;
  placed.reserve(order.size());
  for (size_t k : order) {
    taken.assign(n + 2, 0);
    for (size_t j = 0; j < n; ++j)
      if (column[j] > 0 && adj[k * n + j]) taken[static_cast<size_t>(column[j])] = 1;
    int c = 1;
    while (taken[static_cast<size_t>(c)]) ++c;
    column[k] = c;
    placed.emplace_back(items[k].index, c);
  }
  return placed;
}

}  // namespace

bool TTimeDistinctGeneric::StopRequested() const noexcept { return fCallerThread && fCallerThread->IsTerminated(); }

bool TTimeDistinctGeneric::HasConflicts() {
  try {
    for (const std::vector<Item>& items : GroupByKey(fDistinctTimeHolderList)) {
      KeyGroup group(items);
      KeyGroup::Set all(group, true);
      for (size_t k = 0; k < group.Size(); ++k) {
        if (StopRequested()) return false;
        if (all.HasConflict(k)) return true;
      }
    }
    return false;
  } catch (const std::exception& e) {
    throw Exception(std::string("ConflictLoop:") + e.what());
  }
}

void TTimeDistinctGeneric::Place(TDistinctTimeHolder* H, int thePosition) {
  H->SetDistinctPosition(thePosition);
  while (static_cast<int>(fListOfLists.size()) < thePosition)
    fListOfLists.push_back(std::make_unique<TDistinctTimeHolderList>());
  fListOfLists[static_cast<size_t>(thePosition - 1)]->AddExisting(H);
}

void TTimeDistinctGeneric::ResolveConflicts() {
  try {
    for (const std::vector<Item>& items : GroupByKey(fDistinctTimeHolderList)) {
      if (StopRequested()) return;
      if (items.size() <= kSmallGroup) {
        for (const auto& [index, c] : PlaceSmallGroup(items, fDistinctTimeHolderList))
          Place(fDistinctTimeHolderList->Get(index), c);
        continue;
      }
      KeyGroup group(items);
      const size_t n = group.Size();

      // The order of placement. A holder collides with someone iff it is
      // placed; scanning from the last holder backwards, a holder is placed
      // at its own row (before its partners) unless an earlier row placed
      // it, and its partners follow in descending list order. When row i
      // runs, every holder after i that collides with anything is placed
      // already, so the partners still waiting all lie before i.
      std::vector<size_t> order;
      order.reserve(n);
      {
        const KeyGroup::Set all(group, true);
        KeyGroup::Set waiting(group, true);
        std::vector<size_t> partners;
        for (size_t step = 0, k = n; k-- > 0; ++step) {
          if ((step & 255) == 0 && StopRequested()) return;
          partners.clear();
          waiting.Conflicts(k, [&](size_t j) {
            partners.push_back(j);
            return true;
          });
          if (waiting.Contains(k)) {
            // Placed now when it collides with anyone: a waiting partner, or
            // one placed before (then it is placed alone).
            if (partners.empty() && !all.HasConflict(k)) continue;
            order.push_back(k);
            waiting.Erase(k);
          }
          std::sort(partners.begin(), partners.end(), [&](size_t a, size_t b) { return a > b; });
          partners.erase(std::unique(partners.begin(), partners.end()), partners.end());
          for (size_t j : partners) {
            order.push_back(j);
            waiting.Erase(j);
          }
        }
      }

      // First fit: the lowest sub-column none of whose placed holders of
      // this key collides (other keys never block one).
      KeyGroup::Set placed(group, false);
      std::vector<int> column(n, 0);
      std::vector<size_t> seenAt(2, 0);  // per sub-column: stamp of the last holder that found it taken
      size_t stamp = 0;
      for (size_t step = 0; step < order.size(); ++step) {
        if ((step & 255) == 0 && StopRequested()) return;
        const size_t k = order[step];
        ++stamp;
        placed.Conflicts(k, [&](size_t j) {
          const size_t c = static_cast<size_t>(column[j]);
          if (c >= seenAt.size()) seenAt.resize(2 * c + 2, 0);
          seenAt[c] = stamp;
          return true;
        });
        size_t c = 1;
        while (c < seenAt.size() && seenAt[c] == stamp) ++c;
        column[k] = static_cast<int>(c);
        placed.Insert(k);
        Place(fDistinctTimeHolderList->Get(group.At(k).index), static_cast<int>(c));
      }
    }
  } catch (const std::exception& e) {
    throw Exception(std::string("ConflictLoop:") + e.what());
  }
}

void TTimeDistinctGeneric::MoveToConflictFreePosition(TDistinctTimeHolder* H) {
  for (size_t c = 0; c < fListOfLists.size(); ++c) {
    TDistinctTimeHolderList* list = fListOfLists[c].get();
    bool free = true;
    for (int k = 0; k < list->Count() && free; ++k) free = !InConflict(H, list->Get(k));
    if (free) {
      list->AddExisting(H);
      H->SetDistinctPosition(static_cast<int>(c) + 1);
      return;
    }
  }
  Place(H, static_cast<int>(fListOfLists.size()) + 1);
}

TDistinctTimeHolderList* TTimeDistinctGeneric::GetSubColumn(int c) const {
  if (c < 0 || c >= SubColumnCount()) throw EListError(c);
  return fListOfLists[static_cast<size_t>(c)].get();
}

// --- the worker thread ------------------------------------------------------------------

std::atomic<int> TTimeDistinctGenericThread::sThreadCount{0};

TTimeDistinctGenericThread::TTimeDistinctGenericThread()
    : TThread(TThreadHost::SharedPool),
      fDistinctTimeHolderList(std::make_unique<TDistinctTimeHolderList>()),
      fThreadSyncInfo(std::make_unique<TThreadSyncInfo>()) {
  sThreadCount.fetch_add(1);
}

TTimeDistinctGenericThread::~TTimeDistinctGenericThread() {
  // Stop a running layout before this object's parts go (never the case
  // through FreeAndCleanUp, which frees only threads that are not running).
  if (Started() && !Finished() && !IsTerminated()) Terminate();
  if (Started() && !Finished()) WaitFor();
  sThreadCount.fetch_sub(1);
}

void TTimeDistinctGenericThread::Execute() {
  try {
    TTimeDistinctGeneric engine(fDistinctTimeHolderList.get());
    engine.SetCallerThread(this);
    engine.ResolveConflicts();
  } catch (const std::exception& e) {
    ShowMessage(std::string("TTimeDistinctGenericThread.Execute ") + e.what());
  }
}

void TTimeDistinctGenericThread::HandBack() {
  // A stop that came meanwhile drops the result. The handler may free this
  // thread object, so it runs from a copy.
  if (IsTerminated() || !fOnDone) return;
  const TNotifyEvent onDone = fOnDone;
  onDone(this);
}

void TTimeDistinctGenericThread::DoTerminate() {
  TThread::DoTerminate();
  fFinished.store(true);
}

void TTimeDistinctGenericThread::FreeAndCleanUp(TTimeDistinctGenericThread*& aThread) {
  if (!aThread) return;
  TTimeDistinctGenericThread* thread = aThread;
  aThread = nullptr;
  thread->Terminate();
  thread->fOnDone = nullptr;
  TThread::FreeWhenDone(thread);
}

}  // namespace vx
