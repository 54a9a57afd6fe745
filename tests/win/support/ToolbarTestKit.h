#pragma once
// Shared by the tests of the docking toolbar: a shown form with docks on three edges and a toolbar of plain
// blocks and separators, real input (the pointer put at a screen point and moved, buttons and keys pressed), and
// a script of input steps run from a timer, so that the steps arrive while a capture loop of the toolbar runs.
#include "ControlTestKit.h"
#include "GraphicControl.h"
#include "InputKit.h"
#include "Panel.h"
#include "TB97Dock.h"
#include "TB97FloatingParent.h"
#include "TB97Toolbar.h"
#include "TB97ToolbarSep.h"
#include "Timer.h"

#include <functional>
#include <optional>
#include <vector>

namespace qs::test {

// A windowless control of a fixed size that counts its clicks: what a toolbar button is to the layout.
class TBlock : public TGraphicControl {
public:
  explicit TBlock(TComponent* owner) : TGraphicControl(owner) {}
  int Clicks = 0;
  void Click() override {
    ++Clicks;
    TGraphicControl::Click();
  }

protected:
  void Paint() override { Canvas().FillRect(ClientRect(), clBtnFace); }
};

// Steps run one per timer tick; the ticks come through whatever message loop runs, a capture loop included.
class TInputScript {
public:
  explicit TInputScript(std::vector<std::function<void()>> steps, unsigned stepMs = DefaultStepMs)
      : FSteps(std::move(steps)), FTimer(nullptr) {
    FTimer.SetInterval(stepMs);
    FTimer.SetOnTimer([this](TComponent*) {
      if (FNext < FSteps.size()) FSteps[FNext++]();
      if (FNext >= FSteps.size()) FTimer.SetEnabled(false);
    });
  }
  bool Done() const { return FNext >= FSteps.size(); }
  // Runs the script from the message loop until it is through and nothing holds the mouse.
  bool Run(int timeoutMs = 10000) {
    return PumpUntil([this] { return Done() && GetCapture() == nullptr; }, timeoutMs);
  }

private:
  static constexpr unsigned DefaultStepMs = 40;
  std::vector<std::function<void()>> FSteps;
  size_t FNext = 0;
  TTimer FTimer;
};

// A window's frame (its whole non-client area) as the control paints it, read back from a memory bitmap the size of
// the window.
class TFrameRendering {
public:
  explicit TFrameRendering(TWinControl& control) {
    RECT r{};
    GetWindowRect(control.HandleIfAllocated(), &r);
    Width = r.right - r.left;
    Height = r.bottom - r.top;
    TWindowDC screen(nullptr);
    FBitmap.Reset(CreateCompatibleBitmap(screen.Get(), Width, Height));
    FSelect.emplace(FDC.Get(), FBitmap.Get());
    control.PaintNonClient(FDC.Get());
  }
  COLORREF At(int x, int y) const { return GetPixel(FDC.Get(), x, y); }
  int Width = 0;
  int Height = 0;

private:
  TMemoryDC FDC{nullptr};
  TBitmapHandle FBitmap;
  std::optional<TSelectGuard> FSelect;
};

// A form with docks at the top, left and right and a client panel, and a toolbar in the top dock.
class DockedFormTest : public ::testing::Test {
protected:
  static constexpr int FormClientWidth = 480;
  static constexpr int FormClientHeight = 320;

  void SetUp() override {
    Form = new TForm(Application);
    Form->SetBorderStyle(TFormBorderStyle::bsSingle);
    Form->SetBounds(120, 100, FormClientWidth, FormClientHeight);
    Form->SetClientSize(FormClientWidth, FormClientHeight);
    Top = MakeDock("Top", dpTop);
    Left = MakeDock("Left", dpLeft);
    Right = MakeDock("Right", dpRight);
    Client = new TPanel(Form);
    Client->SetName("Client");
    Client->SetParent(Form);
    Client->SetAlign(TAlign::alClient);
    Toolbar = new TToolbar97(Form);
    Toolbar->SetName("Toolbar");
    Toolbar->SetCaption("Toolbar");
    Toolbar->SetParent(Top);
  }
  void TearDown() override {
    delete Form;
    PumpMessages();
  }

  TDock97* MakeDock(const char* name, TDockPosition position) {
    auto* dock = new TDock97(Form);
    dock->SetName(name);
    dock->SetPosition(position);
    dock->SetParent(Form);
    return dock;
  }
  TBlock* AddBlock(int width = 23, int height = 22, TToolbar97* toolbar = nullptr) {
    auto* block = new TBlock(Form);
    block->SetBounds(0, 0, width, height);
    block->SetParent(toolbar ? toolbar : Toolbar);
    return block;
  }
  // A second toolbar holding one block, docked in `dock`.
  TToolbar97* AddToolbar(const char* name, TDock97* dock) {
    auto* toolbar = new TToolbar97(Form);
    toolbar->SetName(name);
    AddBlock(23, 22, toolbar);
    toolbar->SetParent(dock);
    return toolbar;
  }
  TToolbarSep97* AddSeparator() {
    auto* sep = new TToolbarSep97(Form);
    sep->SetParent(Toolbar);
    return sep;
  }
  void ShowForm() {
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpMessages();
  }
  // A point of the toolbar's window (window coordinates), on screen.
  POINT ToolbarWindowPoint(int x, int y) const {
    RECT r{};
    GetWindowRect(Toolbar->HandleIfAllocated(), &r);
    return POINT{r.left + x, r.top + y};
  }
  static RECT WindowRectOf(const TWinControl* control) {
    RECT r{};
    GetWindowRect(control->HandleIfAllocated(), &r);
    return r;
  }
  static RECT ClientRectOnScreen(TWinControl* control) {
    RECT r = control->ClientRect();
    const POINT origin = control->ClientOrigin();
    OffsetRect(&r, origin.x, origin.y);
    return r;
  }

  TForm* Form = nullptr;
  TDock97* Top = nullptr;
  TDock97* Left = nullptr;
  TDock97* Right = nullptr;
  TPanel* Client = nullptr;
  TToolbar97* Toolbar = nullptr;
};

} // namespace qs::test
