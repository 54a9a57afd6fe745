#include "ReportForm.h"

#include "Application.h"
#include "Clipboard.h"
#include "EndReportLayout.h"
#include "Handles.h"
#include "WorkArea.h"

#include <algorithm>

namespace qs {

namespace {

TIntSize FrameSize(HWND window) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return TIntSize{(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

void Place(TControl& control, const TIntRect& r) {
  control.SetBounds(r.Left, r.Top, r.Width(), r.Height());
  control.SetVisible(!r.IsEmpty());
}

} // namespace

TReportForm::TReportForm(TComponent* owner) : TForm(owner) {
  SetCaption(Application ? Application->Title() : std::string());
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons(biSystemMenu);

  Summary = new TLabel(this);
  Summary->SetName("Summary");
  Summary->SetAutoSize(false);
  Summary->SetShowAccelChar(false);
  Summary->SetParent(this);

  List = new TMemo(this);
  List->SetName("List");
  List->SetParent(this);

  CopyButton = new TButton(this);
  CopyButton->SetName("CopyButton");
  CopyButton->SetCaption("&Copy");
  CopyButton->SetParent(this);
  CopyButton->OnClick = [this](TComponent*) { CopyReport(); };

  CloseButton = new TButton(this);
  CloseButton->SetName("CloseButton");
  CloseButton->SetParent(this);
  CloseButton->OnClick = [this](TComponent*) { CloseClicked(); };

  OnClose = [this](TComponent*) { CloseClicked(); };
}

TReportForm::~TReportForm() {
  OnClose = nullptr;
  DestroyComponents();
}

void TReportForm::SetReport(const std::vector<TRowProblem>& problems, std::size_t total) {
  FReportText = EndReportText(problems, total);
  Summary->SetCaption(problems.empty() ? std::string() : EndReportSummary(problems.size(), total));
  List->SetText(EndReportLines(problems));
}

bool TReportForm::CopyReport() { return CopyTextToClipboard(Handle(), FReportText); }

void TReportForm::Arrange(HWND nearWindow, TControl* header, int headerLines) {
  HWND window = Handle();
  TEndReportInput input;
  input.WorkArea = WorkAreaNearWindow(nearWindow);
  input.Frame = FrameSize(window);
  input.LineHeight = Font().LineHeight();
  input.HeaderLines = header ? headerLines : 0;
  input.HasReport = HasReport();
  // One line per file to start with; long reasons wrap, so the list at its width says how many lines it needs.
  input.ListLines = std::max(0, static_cast<int>(std::count(FReportText.begin(), FReportText.end(), '\n')) - 1);
  TEndReportLayout layout = LayOutEndReport(input);
  if (input.HasReport) {
    Place(*List, layout.List);
    input.ListLines = static_cast<int>(SendMessageW(List->Handle(), EM_GETLINECOUNT, 0, 0));
    layout = LayOutEndReport(input);
  }

  if (header) Place(*header, layout.Header);
  Place(*Summary, layout.Summary);
  Place(*List, layout.List);
  Place(*CopyButton, layout.CopyButton);
  Place(*CloseButton, layout.CloseButton);
  SetWindowPos(window, nullptr, layout.Window.Left, layout.Window.Top, layout.Window.Width(), layout.Window.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TReportForm::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.WndParent = FOwnerWindow;
}

void TReportForm::WndProc(TMessage& message) {
  // The dialog manager turns Enter and Esc into IDOK and IDCANCEL from no control in particular.
  if (message.Msg == WM_COMMAND && message.LParam == 0 &&
      (LOWORD(message.WParam) == IDOK || LOWORD(message.WParam) == IDCANCEL)) {
    CloseClicked();
    message.Result = 0;
    return;
  }
  TForm::WndProc(message);
}

} // namespace qs
