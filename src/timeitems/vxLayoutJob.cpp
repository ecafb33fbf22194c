#include <vxplan/timeitems/vxLayoutJob.h>

#include <string>
#include <vector>

#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/Forms.h>

namespace vx {

// --- a job ----------------------------------------------------------------------------

TLayoutJob::TLayoutJob(TLayoutJobClient* theClient, const TLayoutPolicy& thePolicy, TLayoutJobGroup* theGroup)
    : fClient(theClient), fPolicy(thePolicy), fGroup(theGroup) {
  if (fGroup) fGroup->Join(this);
}

TLayoutJob::~TLayoutJob() {
  TDoLater::NeverMind(DoLaterCall<&TLayoutJob::RunNow>(this));
  // A worker still running is stopped and frees itself; its result never
  // comes back here.
  TTimeDistinctGenericThread::FreeAndCleanUp(fWorker);
  if (fGroup) fGroup->Leave(this);
}

void TLayoutJob::Request() {
  ++fGeneration;
  TDoLater::DoLater(DoLaterCall<&TLayoutJob::RunNow>(this), nullptr);
  // Queued: pending without asking the queue again (a request per booking
  // inserted makes this a hot path).
  NotePending(true);
}

void TLayoutJob::Cancel() {
  ++fGeneration;  // a run taking its items now starts no worker
  TDoLater::NeverMind(DoLaterCall<&TLayoutJob::RunNow>(this));
  DropWorker();
  NotePending();
}

bool TLayoutJob::IsPending() const {
  return fWorker || fBusy ||
         TDoLater::AlreadyInList(DoLaterCall<&TLayoutJob::RunNow>(const_cast<TLayoutJob*>(this)), nullptr);
}

void TLayoutJob::DropWorker() {
  // Only a worker that goes frees room for paused jobs: resuming them on
  // every run would wake every paused row again and again.
  if (!fWorker) return;
  TTimeDistinctGenericThread::FreeAndCleanUp(fWorker);
  fClient->LayoutDropped();
  if (fGroup) fGroup->WorkerGone();
}

void TLayoutJob::Pause() {
  if (fPaused) return;
  Cancel();
  SetPaused(true);
  fClient->LayoutPaused(true);
}

void TLayoutJob::Resume() {
  if (!fPaused) return;
  TvxWatch<TLayoutJob> self(this);
  SetPaused(false);
  fClient->LayoutPaused(false);
  // The client may have asked for its run already.
  if (self && !fNotedPending) Request();
}

void TLayoutJob::SetPaused(bool thePaused) {
  fPaused = thePaused;
  if (fGroup) fGroup->NotePaused(this, thePaused);
}

void TLayoutJob::NotePending() { NotePending(IsPending()); }

void TLayoutJob::NotePending(bool thePending) {
  if (thePending == fNotedPending) return;
  fNotedPending = thePending;
  if (fGroup) fGroup->NotePending(this, thePending);
}

void TLayoutJob::RunNow(TObject*) {
  TvxWatch<TLayoutJob> self(this);  // the client may delete its job
  const std::string takeError = fPolicy.fTakeError;
  fBusy = true;  // pending until the run is over
  try {
    DropWorker();  // a newer run replaces the running one
    int size = 0;
    if (self && fClient->LayoutTake(size) && self) {
      const bool busy = TTimeDistinctGenericThread::ThreadCount() >= TTimeDistinctGenericThread::MaxThreads;
      if ((fPolicy.fInlineLimit && size <= *fPolicy.fInlineLimit) || (busy && fPolicy.fWhenBusy == lwbRunInline))
        RunInline();
      else if (busy)
        Pause();
      else
        RunOnWorker();
    }
  } catch (const std::exception& e) {
    ShowMessage(takeError + e.what());
  }
  if (!self) return;
  fBusy = false;
  NotePending();
}

void TLayoutJob::RunInline() {
  TvxWatch<TLayoutJob> self(this);
  TDistinctTimeHolderList list;
  fClient->LayoutFill(&list);
  if (!self) return;
  TTimeDistinctGeneric engine(&list);
  engine.ResolveConflicts();
  Apply(&list);
}

void TLayoutJob::RunOnWorker() {
  TvxWatch<TLayoutJob> self(this);
  const unsigned generation = fGeneration;
  auto* thread = new TTimeDistinctGenericThread();
  try {
    fClient->LayoutFill(thread->GetList());
  } catch (...) {
    TTimeDistinctGenericThread::FreeAndCleanUp(thread);
    throw;
  }
  // Asked again or cancelled while filling: that run decides.
  if (!self || generation != fGeneration) {
    TTimeDistinctGenericThread::FreeAndCleanUp(thread);
    if (self) fClient->LayoutDropped();
    return;
  }
  fWorker = thread;
  fWorkerGeneration = generation;
  thread->fOnDone = [this](TObject* Sender) { WorkerDone(Sender); };
  thread->Start();
}

void TLayoutJob::WorkerDone(TObject* Sender) {
  if (Sender != fWorker) return;  // an older worker's
  TvxWatch<TLayoutJob> self(this);
  if (fWorkerGeneration != fGeneration || !fClient->LayoutCurrent()) {
    // Out of date: dropped, and laid out afresh (a newer request has queued
    // that run already).
    const bool requested = fWorkerGeneration != fGeneration;
    DropWorker();
    if (self && !requested) Request();
    if (self) NotePending();
    return;
  }
  TTimeDistinctGenericThread* worker = fWorker;
  Apply(worker->GetList());
  if (!self) return;
  // Not DropWorker: the result was used. A run during the hand-back may
  // have replaced the worker already.
  if (fWorker == worker) TTimeDistinctGenericThread::FreeAndCleanUp(fWorker);
  if (fGroup) fGroup->WorkerGone();
  if (self) NotePending();
}

void TLayoutJob::Apply(TDistinctTimeHolderList* theList) {
  TvxWatch<TLayoutJob> self(this);
  const std::string applyError = fPolicy.fApplyError;
  const bool wasBusy = fBusy;
  fBusy = true;
  try {
    fClient->LayoutApply(theList);
  } catch (const std::exception& e) {
    ShowMessage(applyError + e.what());
  }
  if (self) fBusy = wasBusy;
}

// --- a group of jobs ------------------------------------------------------------------

TLayoutJobGroup::TLayoutJobGroup(int theResumeBelowThreads) : fResumeBelowThreads(theResumeBelowThreads) {}

TLayoutJobGroup::~TLayoutJobGroup() {
  for (TLayoutJob* job : fMembers) job->fGroup = nullptr;
}

void TLayoutJobGroup::Leave(TLayoutJob* theJob) {
  fMembers.erase(theJob);
  fPending.erase(theJob);
  fPaused.erase(theJob);
}

void TLayoutJobGroup::NotePending(TLayoutJob* theJob, bool thePending) {
  if (thePending)
    fPending.insert(theJob);
  else
    fPending.erase(theJob);
}

void TLayoutJobGroup::NotePaused(TLayoutJob* theJob, bool thePaused) {
  if (!thePaused) {
    fPaused.erase(theJob);
    return;
  }
  if (fPaused.insert(theJob).second) fPauseOrder.push_back(theJob);
  if (fPauseOrder.size() > 2 * fPaused.size() + 64) {
    // Jobs resumed one by one leave their places behind.
    std::deque<TLayoutJob*> order;
    for (TLayoutJob* job : fPauseOrder)
      if (fPaused.count(job)) order.push_back(job);
    fPauseOrder.swap(order);
  }
  if (!fResumeTimer) {
    // Made at the first pause: groups that never pause need no timer.
    fResumeTimer = std::make_unique<TTimer>(nullptr);
    fResumeTimer->SetEnabled(false);
    fResumeTimer->SetInterval(10);
    fResumeTimer->SetOnTimer([this](TObject* Sender) { Tick(Sender); });
  }
  if (!fResumeTimer->GetEnabled()) fResumeTimer->SetEnabled(true);
}

void TLayoutJobGroup::ResumeAll() {
  std::deque<TLayoutJob*> paused;
  paused.swap(fPauseOrder);
  // A job resumed may end another one's pause (or its life): each is
  // looked up afresh.
  for (TLayoutJob* job : paused)
    if (fPaused.count(job)) job->Resume();
}

void TLayoutJobGroup::ResumeSome() {
  // A resumed job takes its worker only when it runs: the room is counted once.
  int room = TTimeDistinctGenericThread::MaxThreads - TTimeDistinctGenericThread::ThreadCount();
  while (room > 0 && !fPauseOrder.empty()) {
    TLayoutJob* job = fPauseOrder.front();
    fPauseOrder.pop_front();
    if (!fPaused.count(job)) continue;
    job->Resume();
    --room;
  }
}

void TLayoutJobGroup::WorkerGone() {
  if (!fPaused.empty() && TTimeDistinctGenericThread::ThreadCount() < fResumeBelowThreads) ResumeSome();
}

void TLayoutJobGroup::Tick(TObject*) {
  if (fPaused.empty()) {
    fResumeTimer->SetEnabled(false);
    return;
  }
  if (TTimeDistinctGenericThread::ThreadCount() < fResumeBelowThreads) ResumeSome();
}

}  // namespace vx
