#include "Main.h"

#include "Application.h"
#include "Seams.h"

namespace qs {

TMain::TMain(TComponent* owner) : TForm(owner) {
  SetName("Main");
  BeginLoading();
  SetCaption(WindowCaption);
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(TPosition::poScreenCenter);
  SetClientSize(DesignClientWidth, DesignClientHeight);
  SetIconResource(L"MAINICON");
  SetShowHint(true);
  BuildEncodePage();
  BuildPlayerAndDropTarget();
  BuildSettingsPage();
  BuildAboutPage();
  BuildPopupMenu();
  BuildDialogs();
  WireEvents();
  PageControl1->SetActivePage(Encodetab);
  EndLoading();

  if (Application) {
    Application->SetShowHint(true);
    Application->SetHintColor(HintBackground);
    Application->SetHintPause(HintDelayMs);
  }
  OnCreate = [this](TComponent* sender) { Loadsettings(sender); };
}

TMain::~TMain() {
  Destroying();
  // The controls go while this object is whole: their events point at its handlers.
  DestroyComponents();
}

void TMain::WireEvents() {
  auto bind = [this](void (TMain::*handler)(TComponent*)) {
    return [this, handler](TComponent* sender) { (this->*handler)(sender); };
  };
  Newbutton->OnClick = bind(&TMain::Clear1Click);
  ToolbarButton972->OnClick = bind(&TMain::Add1Click);
  Deletebutton->OnClick = bind(&TMain::Delete1Click);
  ToolbarButton973->OnClick = bind(&TMain::Play1Click);
  ToolbarButton974->OnClick = bind(&TMain::Stop1Click);
  Encode->OnClick = bind(&TMain::EncodeClick);

  Add1->OnClick = bind(&TMain::Add1Click);
  Delete1->OnClick = bind(&TMain::Delete1Click);
  Play1->OnClick = bind(&TMain::Play1Click);
  Stop1->OnClick = bind(&TMain::Stop1Click);
  Clear1->OnClick = bind(&TMain::Clear1Click);

  ListView1->OnDblClick = bind(&TMain::Play1Click);
  ListView1->OnColumnClick = [this](TComponent* sender, int) { Sortlist(sender); };

  ChangeEnc->OnClick = bind(&TMain::ChangeEncClick);
  ChangeSave->OnClick = bind(&TMain::ChangeSaveClick);
  Resetbutton->OnClick = bind(&TMain::ResetbuttonClick);
  Email->OnClick = bind(&TMain::EmailClick);
  Label10->OnClick = bind(&TMain::Label10Click);
  OnCloseQuery = [this](TComponent* sender) { return FormCloseQuery(sender); };
  Toolbar971->OnClose = bind(&TMain::ToolbarClosed);
}

void TMain::ToolbarClosed(TComponent*) {
  Toolbar971->SetDockRow(0);
  Toolbar971->SetDockedTo(Dock971);
  Toolbar971->Show();
}

void TMain::EmailClick(TComponent*) {
  TSeams::ShellOpen(HandleIfAllocated(), "open", std::string("mailto:") + EmailAddress + "?subject=" + EmailSubject);
}

void TMain::Label10Click(TComponent*) { TSeams::ShellOpen(HandleIfAllocated(), "open", WebPage); }

} // namespace qs
