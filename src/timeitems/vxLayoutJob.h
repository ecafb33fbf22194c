#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <deque>
#include <memory>
#include <unordered_set>

#include <vxplan/core/vxHolding.h>
#include <vxplan/timeitems/vxTimeDistinctGeneric.h>

namespace vx {

class TLayoutJob;
class TLayoutJobGroup;
class TTimer;

// What the owner of a layout job supplies. All calls come on the
// user-interface thread; any of them may call out to the application, which
// may delete the owner and with it the job.
class VX_API TLayoutJobClient {
public:
  // Takes what is to be laid out now; false when there is nothing.
  // theSize: how many items it holds (decides inline or worker).
  virtual bool LayoutTake(int& theSize) = 0;
  // Fills theList with what was taken (for a worker: a copy it may read).
  virtual void LayoutFill(TDistinctTimeHolderList* theList) = 0;
  // Hands the result over: here the application hears of collisions.
  virtual void LayoutApply(TDistinctTimeHolderList* theList) = 0;
  // Whether a worker's result still describes what was taken.
  virtual bool LayoutCurrent() { return true; }
  // A worker's result will never be applied: what it was taken from is to be
  // taken again by the next run.
  virtual void LayoutDropped() {}
  // The job paused (workers busy) or resumed.
  virtual void LayoutPaused(bool thePaused) { (void)thePaused; }

protected:
  ~TLayoutJobClient() = default;
};

// What a job does when every worker is taken.
enum TLayoutWhenBusy {
  lwbRunInline,  // lays out on the user-interface thread at once
  lwbPause       // pauses until its group resumes it
};

struct VX_API TLayoutPolicy {
  // Layouts of at most this many items run inline. Read at every run, so
  // that changing the owner's limit takes effect at once.
  const int* fInlineLimit = nullptr;
  TLayoutWhenBusy fWhenBusy = lwbRunInline;
  // Message prefixes of the owner's failures while taking and applying.
  const char* fTakeError = "UpdateSubColumns exception:";
  const char* fApplyError = "TimeDistinctThreadDone:";
};

// The lifecycle of one owner's sub-column layout: a request is deferred, so
// that a burst runs once; the run lays out inline when small, else on a
// worker whose result is applied on the user-interface thread unless a newer
// request came meanwhile. Destroying the job drops whatever waits or runs.
class VX_API TLayoutJob : public TvxWatchable {
public:
  TLayoutJob(TLayoutJobClient* theClient, const TLayoutPolicy& thePolicy, TLayoutJobGroup* theGroup = nullptr);
  ~TLayoutJob();
  TLayoutJob(const TLayoutJob&) = delete;
  TLayoutJob& operator=(const TLayoutJob&) = delete;

  // Asks for a run after the current call; older results become stale.
  void Request();
  // Drops a waiting run and a running worker.
  void Cancel();
  // A run waits, a worker runs, or a result is being handed back.
  bool IsPending() const;
  bool GetPaused() const noexcept { return fPaused; }
  // Cancels, pauses and tells the client (nothing when paused already).
  void Pause();
  // Unpauses, tells the client and requests a run.
  void Resume();
  // The run itself (what the deferred call does).
  void RunNow(TObject* theData = nullptr);
  // Stops a running worker; its result is never applied.
  void DropWorker();

private:
  friend class TLayoutJobGroup;
  void RunOnWorker();
  void RunInline();
  void WorkerDone(TObject* Sender);
  void Apply(TDistinctTimeHolderList* theList);
  void SetPaused(bool thePaused);
  void NotePending();
  void NotePending(bool thePending);

  TLayoutJobClient* fClient;
  TLayoutPolicy fPolicy;
  TLayoutJobGroup* fGroup;
  TTimeDistinctGenericThread* fWorker = nullptr;
  unsigned fGeneration = 0;        // bumped by every request
  unsigned fWorkerGeneration = 0;  // the request the worker serves
  bool fBusy = false;  // a run or a hand-back is under way
  bool fPaused = false;
  bool fNotedPending = false;
};

// The jobs of one control: how many are pending or paused, and the resuming
// of paused ones once fewer workers than a threshold run (when a worker of
// the group goes, or on a timer when the last one went too late for that).
// Jobs resume in the order they paused, as many as there are free workers:
// waking them all would have most of them pause again at once.
class VX_API TLayoutJobGroup {
public:
  explicit TLayoutJobGroup(int theResumeBelowThreads);
  ~TLayoutJobGroup();
  TLayoutJobGroup(const TLayoutJobGroup&) = delete;
  TLayoutJobGroup& operator=(const TLayoutJobGroup&) = delete;

  int PendingCount() const noexcept { return static_cast<int>(fPending.size()); }
  int PausedCount() const noexcept { return static_cast<int>(fPaused.size()); }
  // Resumes every paused job.
  void ResumeAll();

private:
  friend class TLayoutJob;
  void Join(TLayoutJob* theJob) { fMembers.insert(theJob); }
  void Leave(TLayoutJob* theJob);
  void NotePending(TLayoutJob* theJob, bool thePending);
  void NotePaused(TLayoutJob* theJob, bool thePaused);
  void WorkerGone();
  void Tick(TObject* Sender);
  void ResumeSome();

  int fResumeBelowThreads;
  std::unordered_set<TLayoutJob*> fMembers;
  std::unordered_set<TLayoutJob*> fPending;
  std::unordered_set<TLayoutJob*> fPaused;
  // May hold jobs no longer paused, or gone: only those in fPaused are touched.
  std::deque<TLayoutJob*> fPauseOrder;
  std::unique_ptr<TTimer> fResumeTimer;
};

}  // namespace vx
