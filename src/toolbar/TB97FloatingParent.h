#pragma once
// The hidden form a floating tool window sits in: created for the form the tool window floats over, borderless,
// 0 x 0 at (0, 0) and shown, with the tool window as its only child. The floating list holds every tool window
// whose parent is one of these; the message hooks keep them in step with their forms.
#include "Form.h"

#include <vector>

namespace qs {

class TCustomToolWindow97;

class TFloatingWindowParent : public TForm {
public:
  explicit TFloatingWindowParent(TForm* parentForm);

  TForm* ParentForm() const { return FParentForm; }
  bool ShowWanted() const { return FShowWanted; }
  void SetShowWanted(bool wanted) { FShowWanted = wanted; }

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  TForm* FParentForm;
  bool FShowWanted = true;
};

// The tool windows floating at present, in the order they started floating.
const std::vector<TCustomToolWindow97*>& FloatingToolWindows();
void JoinFloatingList(TCustomToolWindow97* window);
void LeaveFloatingList(TCustomToolWindow97* window);

} // namespace qs
