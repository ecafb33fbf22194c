#include <vxplan/core/vxEventHandling.h>

#include <algorithm>

namespace vx {

// One running TriggerEvent. Frames form a stack through `outer`, so that a
// listener removed (or the event destroyed) during nested triggers is struck
// from every snapshot still being walked.
struct TEvent::TriggerFrame {
  std::vector<TSingleEventListener*> snapshot;
  TriggerFrame* outer = nullptr;
  bool eventGone = false;
};

TEvent::TEvent(TObject* theOwner) : itsOwner(theOwner) {}

TEvent::~TEvent() {
  for (TriggerFrame* f = itsActiveTriggers; f; f = f->outer) f->eventGone = true;
  // Detach everyone first: an auto-free listener's destructor must not reach
  // back into this half-destroyed event.
  std::vector<TSingleEventListener*> listeners;
  listeners.swap(itsListOfListeners);
  for (TSingleEventListener* l : listeners) {
    l->itsEvent = nullptr;
    if (l->itsAutoFree) delete l;
  }
}

TSingleEventListener* TEvent::GetListener(int i) const {
  if (i < 0 || i >= ListenerCount()) return nullptr;
  return itsListOfListeners[static_cast<size_t>(i)];
}

void TEvent::AddListener(TSingleEventListener* l) {
  if (!l) return;
  if (std::find(itsListOfListeners.begin(), itsListOfListeners.end(), l) != itsListOfListeners.end())
    return;
  // A listener belongs to one event at a time.
  if (l->itsEvent && l->itsEvent != this) l->itsEvent->RemoveListener(l);
  itsListOfListeners.push_back(l);
  l->itsEvent = this;
}

void TEvent::RemoveListener(TSingleEventListener* l) {
  if (!l) return;
  auto it = std::find(itsListOfListeners.begin(), itsListOfListeners.end(), l);
  if (it != itsListOfListeners.end()) {
    itsListOfListeners.erase(it);
    for (TriggerFrame* f = itsActiveTriggers; f; f = f->outer)
      std::replace(f->snapshot.begin(), f->snapshot.end(), l, static_cast<TSingleEventListener*>(nullptr));
  }
  if (l->itsEvent == this) l->itsEvent = nullptr;
}

void TEvent::TriggerEvent(TObject* theMessage) {
  if (itsListOfListeners.empty()) return;
  TriggerFrame frame;
  frame.snapshot = itsListOfListeners;
  frame.outer = itsActiveTriggers;
  itsActiveTriggers = &frame;

  // Pops the frame however the loop ends, unless the event is gone with it.
  struct Pop {
    TEvent* event;
    TriggerFrame* frame;
    ~Pop() {
      if (!frame->eventGone) event->itsActiveTriggers = frame->outer;
    }
  } pop{this, &frame};

  TObject* owner = itsOwner;
  for (size_t k = 0; k < frame.snapshot.size(); ++k) {
    TSingleEventListener* l = frame.snapshot[k];
    if (!l) continue;
    l->Trigger(owner, this, theMessage);
    if (frame.eventGone) return;
  }
}

TSingleEventListener::TSingleEventListener(TEvent* theEvent, TOnEvent theOnEvent, bool theAutoFree)
    : itsOnEvent(std::move(theOnEvent)), itsAutoFree(theAutoFree) {
  if (theEvent) theEvent->AddListener(this);
}

TSingleEventListener::~TSingleEventListener() {
  if (itsEvent) itsEvent->RemoveListener(this);
}

void TSingleEventListener::Trigger(TObject* theCallingEventOwner, TEvent* theCallingEvent,
                                   TObject* theCallingMessage) {
  itsCallingEventOwner = theCallingEventOwner;
  itsCallingEvent = theCallingEvent;
  itsCallingMessage = theCallingMessage;
  if (itsOnEvent) {
    // A copy: the handler may free this listener, and with it itsOnEvent.
    TOnEvent handler = itsOnEvent;
    handler(this);
  }
}

}  // namespace vx
