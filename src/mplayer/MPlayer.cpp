#include "MPlayer.h"

#include "Unicode.h"

#include <cwchar>
#include <iterator>

namespace qs {

namespace {

// The step buttons move by a tenth of the medium.
constexpr DWORD StepsPerMedium = 10;
constexpr size_t ErrorTextCapacity = 4096;
constexpr const char* NoDeviceOpen = "No MCI device open";
constexpr const char* UnknownErrorCode = "Unknown error code";

// The MCI device type named at open, by TMPDeviceTypes; dtAutoSelect names none.
constexpr const wchar_t* DeviceTypeNames[] = {L"",        L"AVIVideo",  L"CDAudio",  L"DAT",     L"DigitalVideo",
                                              L"MMMovie", L"Other",     L"Overlay",  L"Scanner", L"Sequencer",
                                              L"VCR",     L"Videodisc", L"WaveAudio"};
static_assert(std::size(DeviceTypeNames) == static_cast<size_t>(TMPDeviceTypes::dtWaveAudio) + 1);

} // namespace

void TMediaPlayer::TDeviceTraits::Close(MCIDEVICEID device) {
  MCI_GENERIC_PARMS parms{};
  mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TWinControl(owner) {}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  // A player that is not placed on a form still needs a window for MM_MCINOTIFY to arrive at.
  if (!params.WndParent) params.WndParent = HWND_MESSAGE;
}

void TMediaPlayer::WndProc(TMessage& message) {
  if (message.Msg != MM_MCINOTIFY) {
    TWinControl::WndProc(message);
    return;
  }
  RecordNotification(message.WParam);
  message.Result = 0;
  if (OnNotify) OnNotify(this);
}

void TMediaPlayer::Open() {
  if (Opened()) Close();
  const std::wstring element = Widen(FFileName);
  MCI_OPEN_PARMSW parms{};
  FFlags = TakeWaitNotifyFlags(true, false);
  if (!FFileName.empty()) {
    FFlags |= MCI_OPEN_ELEMENT;
    parms.lpstrElementName = element.c_str();
  }
  if (FDeviceType != TMPDeviceTypes::dtAutoSelect) {
    FFlags |= MCI_OPEN_TYPE;
    parms.lpstrDeviceType = DeviceTypeNames[static_cast<size_t>(FDeviceType)];
  }
  if (FShareable) FFlags |= MCI_OPEN_SHAREABLE;
  parms.dwCallback = CallbackWindow();
  FLastError = mciSendCommandW(0, MCI_OPEN, FFlags, reinterpret_cast<DWORD_PTR>(&parms));
  if (FLastError != 0) throw EMCIDeviceError(ErrorText());
  // A device whose close failed earlier is closed here rather than left open for the rest of the run.
  FDevice.Reset(parms.wDeviceID);
  QueryDeviceDetails();
}

void TMediaPlayer::Play() {
  CheckOpen();
  if (FAutoRewind) RewindIfAtEnd();
  MCI_PLAY_PARMS parms{};
  FFlags = TakeWaitNotifyFlags(false, true);
  if (FFrom.Given) {
    FFlags |= MCI_FROM;
    parms.dwFrom = FFrom.Value;
  }
  if (FTo.Given) {
    FFlags |= MCI_TO;
    parms.dwTo = FTo.Value;
  }
  FFrom = {};
  FTo = {};
  parms.dwCallback = CallbackWindow();
  FLastError = Send(MCI_PLAY, FFlags, &parms);
}

void TMediaPlayer::Stop() {
  CheckOpen();
  MCI_GENERIC_PARMS parms{};
  FFlags = TakeWaitNotifyFlags(true, false);
  parms.dwCallback = CallbackWindow();
  FLastError = Send(MCI_STOP, FFlags, &parms);
}

void TMediaPlayer::Close() {
  if (!Opened()) return;
  MCI_GENERIC_PARMS parms{};
  FFlags = TakeWaitNotifyFlags(true, false);
  parms.dwCallback = CallbackWindow();
  FLastError = Send(MCI_CLOSE, FFlags, &parms);
  if (FLastError == 0) FDevice.Release();
}

DWORD TMediaPlayer::Length() {
  CheckOpen();
  return StatusItem(MCI_STATUS_LENGTH);
}

DWORD TMediaPlayer::Position() {
  CheckOpen();
  return StatusItem(MCI_STATUS_POSITION);
}

TMPModes TMediaPlayer::Mode() {
  CheckOpen();
  const DWORD mode = StatusItem(MCI_STATUS_MODE);
  if (mode < MCI_MODE_NOT_READY || mode > MCI_MODE_OPEN) return TMPModes::mpNotReady;
  return static_cast<TMPModes>(mode - MCI_MODE_NOT_READY);
}

DWORD TMediaPlayer::TakeWaitNotifyFlags(bool defaultWait, bool defaultNotify) {
  const bool wait = FWaitOverride.Given ? FWaitOverride.Value : defaultWait;
  const bool notify = FNotifyOverride.Given ? FNotifyOverride.Value : defaultNotify;
  FWaitOverride = {};
  FNotifyOverride = {};
  return (wait ? MCI_WAIT : 0) | (notify ? MCI_NOTIFY : 0);
}

void TMediaPlayer::CheckOpen() const {
  if (!Opened()) throw EMCIDeviceError(NoDeviceOpen);
}

MCIERROR TMediaPlayer::Send(UINT command, DWORD flags, void* parms) {
  return mciSendCommandW(FDevice.Get(), command, flags, reinterpret_cast<DWORD_PTR>(parms));
}

DWORD_PTR TMediaPlayer::CallbackWindow() { return reinterpret_cast<DWORD_PTR>(Handle()); }

DWORD TMediaPlayer::StatusItem(DWORD item) {
  MCI_STATUS_PARMS parms{};
  parms.dwItem = item;
  FLastError = Send(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &parms);
  return static_cast<DWORD>(parms.dwReturn);
}

// What a button bar would need to know about the device. None of it changes playback; a query the device
// does not support only leaves its error in Error().
void TMediaPlayer::QueryDeviceDetails() {
  FStepSize = Length() / StepsPerMedium;
  auto capability = [this](DWORD item) {
    MCI_GETDEVCAPS_PARMS parms{};
    parms.dwItem = item;
    FLastError = Send(MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &parms);
    return parms.dwReturn;
  };
  FCapabilities.CanPlay = capability(MCI_GETDEVCAPS_CAN_PLAY) != FALSE;
  FCapabilities.CanRecord = capability(MCI_GETDEVCAPS_CAN_RECORD) != FALSE;
  FCapabilities.CanEject = capability(MCI_GETDEVCAPS_CAN_EJECT) != FALSE;
  FCapabilities.HasVideo = capability(MCI_GETDEVCAPS_HAS_VIDEO) != FALSE;
  FCapabilities.DeviceType = capability(MCI_GETDEVCAPS_DEVICE_TYPE);

  MCI_ANIM_RECT_PARMS where{};
  FLastError = Send(MCI_WHERE, MCI_WAIT | MCI_ANIM_WHERE_SOURCE, &where);
  FDisplayRect = where.rc;

  if (FDeviceType == TMPDeviceTypes::dtCDAudio || FDeviceType == TMPDeviceTypes::dtVideodisc) {
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_TMSF;
    FLastError = Send(MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, &format);
  }
}

void TMediaPlayer::RewindIfAtEnd() {
  const DWORD position = Position();
  const DWORD length = Length();
  if (position != length || FFrom.Given || FTo.Given) return;
  MCI_SEEK_PARMS parms{};
  FLastError = Send(MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, &parms);
}

void TMediaPlayer::RecordNotification(WPARAM code) {
  switch (code) {
  case MCI_NOTIFY_SUCCESSFUL: FNotifyValue = TMPNotifyValues::nvSuccessful; break;
  case MCI_NOTIFY_SUPERSEDED: FNotifyValue = TMPNotifyValues::nvSuperseded; break;
  case MCI_NOTIFY_ABORTED: FNotifyValue = TMPNotifyValues::nvAborted; break;
  case MCI_NOTIFY_FAILURE: FNotifyValue = TMPNotifyValues::nvFailure; break;
  default: break;
  }
}

std::string TMediaPlayer::ErrorText() const {
  std::wstring text(ErrorTextCapacity, L'\0');
  if (!mciGetErrorStringW(FLastError, text.data(), static_cast<UINT>(text.size()))) return UnknownErrorCode;
  text.resize(std::wcslen(text.c_str()));
  return Narrow(text);
}

} // namespace qs
