#pragma once
// A player for one media file at a time through the media control interface (MCI). The player owns at most
// one open device and a window of its own, which it hands to MCI as the callback window of every command so
// that the end of a play arrives as MM_MCINOTIFY. In this program the player is never shown; its button bar
// is not built, but the device bookkeeping that drives such a bar (capabilities, step size, mode) is kept.
#include "Exception.h"
#include "Handles.h"
#include "WinControl.h"

#include <windows.h>

#include <mmsystem.h>

#include <functional>
#include <string>

namespace qs {

// A device failure, carrying MCI's own text for it.
class EMCIDeviceError : public Exception {
  using Exception::Exception;
};

enum class TMPDeviceTypes {
  dtAutoSelect,
  dtAVIVideo,
  dtCDAudio,
  dtDAT,
  dtDigitalVideo,
  dtMMMovie,
  dtOther,
  dtOverlay,
  dtScanner,
  dtSequencer,
  dtVCR,
  dtVideodisc,
  dtWaveAudio
};

enum class TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

// In the order of MCI's MCI_MODE_NOT_READY .. MCI_MODE_OPEN.
enum class TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// What the open device can do, as MCI_GETDEVCAPS answered at Open.
struct TMPCapabilities {
  bool CanPlay = false;
  bool CanRecord = false;
  bool CanEject = false;
  bool HasVideo = false;
  DWORD DeviceType = 0; // MCI_DEVTYPE_...
};

class TMediaPlayer : public TWinControl {
public:
  explicit TMediaPlayer(TComponent* owner);
  ~TMediaPlayer() override;

  // The MCI element name. Writing it has no effect until the next Open.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& fileName) { FFileName = fileName; }

  bool AutoRewind() const { return FAutoRewind; }
  void SetAutoRewind(bool autoRewind) { FAutoRewind = autoRewind; }
  bool Shareable() const { return FShareable; }
  void SetShareable(bool shareable) { FShareable = shareable; }
  TMPDeviceTypes DeviceType() const { return FDeviceType; }
  void SetDeviceType(TMPDeviceTypes type) { FDeviceType = type; }

  // One-shot overrides for the next command that uses them.
  void SetWait(bool wait) { FWaitOverride = {true, wait}; }
  void SetNotify(bool notify) { FNotifyOverride = {true, notify}; }
  void SetFrom(DWORD position) { FFrom = {true, position}; }
  void SetTo(DWORD position) { FTo = {true, position}; }

  // Opens the element named by FileName, closing any device opened before. Raises EMCIDeviceError with MCI's
  // text when the element cannot be opened.
  void Open();
  // Starts playing without waiting for the end. A failure is only recorded in Error().
  void Play();
  // Stops, waiting for the device. Raises EMCIDeviceError when no device is open.
  void Stop();
  // Closes the device, waiting for it. A failure is only recorded; the device then still counts as open.
  void Close();

  // True between a successful Open and a successful Close.
  bool Opened() const { return static_cast<bool>(FDevice); }
  MCIDEVICEID DeviceID() const { return FDevice.Get(); }
  // The result of the most recent MCI command; 0 is success.
  MCIERROR Error() const { return FLastError; }
  DWORD Flags() const { return FFlags; }
  DWORD Length();
  DWORD Position();
  TMPModes Mode();
  DWORD StepSize() const { return FStepSize; }
  const TMPCapabilities& Capabilities() const { return FCapabilities; }
  const RECT& DisplayRect() const { return FDisplayRect; }
  TMPNotifyValues NotifyValue() const { return FNotifyValue; }

  // Raised when MCI reports the end of a command sent with notification (the end of a play).
  TNotifyEvent OnNotify;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  struct TOverride {
    bool Given = false;
    bool Value = false;
  };
  struct TPlayPosition {
    bool Given = false;
    DWORD Value = 0;
  };
  // Closing waits and names no callback window: it runs when the player goes, when its window may be gone.
  struct TDeviceTraits {
    static MCIDEVICEID Invalid() { return 0; }
    static void Close(MCIDEVICEID device);
  };
  using TDevice = TUniqueHandle<MCIDEVICEID, TDeviceTraits>;

  DWORD TakeWaitNotifyFlags(bool defaultWait, bool defaultNotify);
  void CheckOpen() const;
  MCIERROR Send(UINT command, DWORD flags, void* parms);
  DWORD_PTR CallbackWindow();
  DWORD StatusItem(DWORD item);
  void QueryDeviceDetails();
  void RewindIfAtEnd();
  void RecordNotification(WPARAM code);
  std::string ErrorText() const;

  std::string FFileName;
  TDevice FDevice;
  MCIERROR FLastError = 0;
  DWORD FFlags = 0;
  TOverride FWaitOverride;
  TOverride FNotifyOverride;
  TPlayPosition FFrom;
  TPlayPosition FTo;
  DWORD FStepSize = 0;
  TMPCapabilities FCapabilities;
  RECT FDisplayRect{};
  bool FAutoRewind = true;
  bool FShareable = false;
  TMPDeviceTypes FDeviceType = TMPDeviceTypes::dtAutoSelect;
  TMPNotifyValues FNotifyValue = TMPNotifyValues::nvSuccessful;
};

} // namespace qs
