#pragma once
// A component that fires OnTimer every Interval milliseconds on the user-interface thread. It runs only while
// it is enabled, has a positive interval and has a handler; every change of those restarts the count.
#include "Control.h"

#include <windows.h>

namespace qs {

class TTimer : public TComponent {
public:
  static constexpr unsigned DefaultInterval = 1000;

  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  void SetOnTimer(TNotifyEvent onTimer);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  bool Running() const { return FRunning; }

protected:
  virtual void Timer();

private:
  friend LRESULT CALLBACK TimerWindowProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateTimer();

  unsigned FInterval = DefaultInterval;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  UINT_PTR FId;
  bool FRunning = false;
};

} // namespace qs
