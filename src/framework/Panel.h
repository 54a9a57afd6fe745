#pragma once
// A plain container: a window of its own filled with its colour, with an optional raised or lowered edge.
#include "CustomControl.h"

namespace qs {

enum class TPanelBevel { bvNone, bvRaised, bvLowered };

class TPanel : public TCustomControl {
public:
  explicit TPanel(TComponent* owner);

  TPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TPanelBevel bevel);

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

private:
  TPanelBevel FBevel = TPanelBevel::bvNone;
};

} // namespace qs
