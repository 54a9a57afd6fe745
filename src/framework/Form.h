#pragma once
// A top-level window: border, title-bar buttons, position, client size, icon, and the creation and close
// events. Forms are built by their constructors from a layout description while in the loading state.
#include "CustomControl.h"

namespace qs {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2 };
enum class TPosition { poDesigned, poScreenCenter };

class TForm : public TCustomControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  unsigned BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(unsigned icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  // The client size the form is made with (and keeps, for fixed borders).
  void SetClientSize(int width, int height);
  // The group icon resource shown in the title bar and the taskbar.
  void SetIconResource(const wchar_t* name);

  void Show();
  void Close();
  // Runs after construction (TApplication::CreateForm): fires OnCreate; an error there is reported and the
  // form is still made.
  virtual void AfterConstruction();

  // What a modal run of the form ends with; a button of the form sets it when clicked (0: none).
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }

  TNotifyEvent OnCreate;
  // Asked before closing; false keeps the form open.
  std::function<bool(TComponent*)> OnCloseQuery;
  TNotifyEvent OnClose;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  virtual void DoCreate();

private:
  void ApplyIcon();

  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = TPosition::poDesigned;
  int FClientWidth = -1, FClientHeight = -1;
  const wchar_t* FIconName = nullptr;
  int FModalResult = 0;
};

// The form a control sits on: the nearest form up its parent chain (the control itself when it is one).
TForm* GetParentForm(const TControl* control);

} // namespace qs
