#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <functional>
#include <vector>

#include <vxplan/platform/rtl/Object.h>

namespace vx {

class TEvent;
class TSingleEventListener;

using TOnEvent = std::function<void(TSingleEventListener* theEventListener)>;

// A multicast notification: the owner triggers it, every attached listener's
// handler runs, in order of attachment.
//
// Triggering works on a snapshot of the listeners taken when it starts:
// listeners attached by a handler are first called on the next trigger, and a
// listener that is detached or freed while the trigger runs is not called any
// more. A handler may also free the event itself; the trigger then stops.
class VX_API TEvent : public TObject {
public:
  explicit TEvent(TObject* theOwner);
  ~TEvent() override;

  void AddListener(TSingleEventListener* l);
  void RemoveListener(TSingleEventListener* l);
  void TriggerEvent(TObject* theMessage);

  TObject* GetOwner() const noexcept { return itsOwner; }
  int ListenerCount() const noexcept { return static_cast<int>(itsListOfListeners.size()); }
  TSingleEventListener* GetListener(int i) const;

private:
  struct TriggerFrame;

  std::vector<TSingleEventListener*> itsListOfListeners;
  TObject* itsOwner;
  TriggerFrame* itsActiveTriggers = nullptr;  // innermost running trigger
};

class VX_API TSingleEventListener : public TObject {
public:
  TSingleEventListener(TEvent* theEvent, TOnEvent theOnEvent, bool theAutoFree);
  ~TSingleEventListener() override;

  void Trigger(TObject* theCallingEventOwner, TEvent* theCallingEvent, TObject* theCallingMessage);

  TEvent* GetEvent() const noexcept { return itsEvent; }
  bool GetAutoFree() const noexcept { return itsAutoFree; }
  void SetOnEvent(TOnEvent theOnEvent) { itsOnEvent = std::move(theOnEvent); }
  TObject* GetCallingEventOwner() const noexcept { return itsCallingEventOwner; }
  TEvent* GetCallingEvent() const noexcept { return itsCallingEvent; }
  TObject* GetCallingMessage() const noexcept { return itsCallingMessage; }

private:
  friend class TEvent;

  TEvent* itsEvent = nullptr;
  TOnEvent itsOnEvent;
  bool itsAutoFree = false;
  TObject* itsCallingEventOwner = nullptr;
  TEvent* itsCallingEvent = nullptr;
  TObject* itsCallingMessage = nullptr;
};

}  // namespace vx
