#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/SyncObjs.h>
#include <vxplan/platform/ui/Threads.h>

namespace vx {

class TTimeDistinctGenericThread;

// One item to lay out: its half-open time, a grouping key (only equal keys
// collide), the caller's reference, and the result: 0 when it collides with
// nothing, otherwise its sub-column from 1.
class VX_API TDistinctTimeHolder : public TObject {
public:
  TDistinctTimeHolder(TDateTime aStart, TDateTime aStop, std::string aQuantityID, TObject* aReference)
      : fStart(aStart), fStop(aStop), fQuantityID(std::move(aQuantityID)), fReference(aReference) {}

  TDateTime GetStart() const noexcept { return fStart; }
  TDateTime GetStop() const noexcept { return fStop; }
  const std::string& GetQuantityID() const noexcept { return fQuantityID; }
  int GetDistinctPosition() const noexcept { return fDistinctPosition; }
  void SetDistinctPosition(int thePosition) noexcept { fDistinctPosition = thePosition; }
  TObject* GetReference() const noexcept { return fReference; }

private:
  TDateTime fStart;
  TDateTime fStop;
  std::string fQuantityID;
  int fDistinctPosition = 0;
  TObject* fReference;
};

class VX_API TDistinctTimeHolderList : public TObject {
public:
  TDistinctTimeHolderList() = default;
  ~TDistinctTimeHolderList() override { Clear(); }

  // A new holder (owned by the list from now on); a zero-length one lasts
  // one second.
  TDistinctTimeHolder* Add(TDateTime aStart, TDateTime aStop, const std::string& aQuantityID, TObject* aReference);
  // Appends a holder the list does not own (sub-column lists).
  void AddExisting(TDistinctTimeHolder* aHolder) { fList.push_back(aHolder); }
  int Count() const noexcept { return static_cast<int>(fList.size()); }
  // EListError outside 0 .. Count-1.
  TDistinctTimeHolder* Get(int aIndex) const;
  // The first holder of aReference; nil when none. Constant time after the
  // first call.
  TDistinctTimeHolder* FindFromReference(TObject* aReference);
  void Clear();
  bool IsOwnerOfTimeHolders() const noexcept { return fIsOwnerOfTimeHolders; }

private:
  static constexpr size_t kSearchedUpTo = 32;
  std::vector<TDistinctTimeHolder*> fList;
  std::deque<TDistinctTimeHolder> fOwned;  // what Add made; AddExisting's are not owned
  bool fIsOwnerOfTimeHolders = false;
  std::unordered_map<TObject*, TDistinctTimeHolder*> fByReference;
  size_t fIndexed = 0;  // holders already in fByReference
};

// Finds the collisions among the holders of a list and gives each colliding
// holder a sub-column: first fit, in the order in which a pairwise scan from
// the last holder backwards meets them. The scan is not run pair by pair:
// the same placement is computed in about n log n.
class VX_API TTimeDistinctGeneric : public TObject {
public:
  explicit TTimeDistinctGeneric(TDistinctTimeHolderList* aList) : fDistinctTimeHolderList(aList) {}

  // Same key, different holders, and overlapping half-open times (a reversed
  // interval collides through its ends only).
  static bool InConflict(const TDistinctTimeHolder* A, const TDistinctTimeHolder* B) noexcept;
  bool HasConflicts();
  // Errors are raised as "ConflictLoop:" plus their message.
  void ResolveConflicts();
  // Puts H into the first sub-column that takes it (a new one when none does).
  void MoveToConflictFreePosition(TDistinctTimeHolder* H);

  int SubColumnCount() const noexcept { return static_cast<int>(fListOfLists.size()); }
  TDistinctTimeHolderList* GetSubColumn(int c) const;
  void SetCallerThread(TTimeDistinctGenericThread* aThread) noexcept { fCallerThread = aThread; }

private:
  bool StopRequested() const noexcept;
  void Place(TDistinctTimeHolder* H, int thePosition);

  TDistinctTimeHolderList* fDistinctTimeHolderList;
  std::vector<std::unique_ptr<TDistinctTimeHolderList>> fListOfLists;
  TTimeDistinctGenericThread* fCallerThread = nullptr;
};

// Lays out a holder list on a worker of the shared pool and hands the result
// back on the user-interface thread (OnDone), in batches with the results of
// other layouts. Made suspended: fill GetList(), set OnDone, Start. Dispose
// of it with FreeAndCleanUp, never with delete.
class VX_API TTimeDistinctGenericThread : public TThread {
public:
  // Layouts in flight at once (waiting for a worker or running).
  static constexpr int MaxThreads = 50;

  TTimeDistinctGenericThread();
  ~TTimeDistinctGenericThread() override;

  TDistinctTimeHolderList* GetList() noexcept { return fDistinctTimeHolderList.get(); }
  // Raised on the user-interface thread once the layout is done, unless the
  // thread was told to stop. Set and cleared on the user-interface thread.
  TNotifyEvent fOnDone;

  // Live layout objects.
  static int ThreadCount() noexcept { return sThreadCount.load(); }
  bool IsTerminated() const noexcept { return Terminated(); }
  // Stops the thread, drops its result and disposes of it: at once when it is
  // not running, else when it ends. aThread becomes nil.
  static void FreeAndCleanUp(TTimeDistinctGenericThread*& aThread);

protected:
  void Execute() override;
  void DoTerminate() override;
  void HandBack() override;

private:
  std::unique_ptr<TDistinctTimeHolderList> fDistinctTimeHolderList;
  std::unique_ptr<TThreadSyncInfo> fThreadSyncInfo;
  std::atomic<bool> fFinished{false};
  static std::atomic<int> sThreadCount;
};

}  // namespace vx
