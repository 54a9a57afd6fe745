#pragma once
// An editable combo box: an edit field with a drop-down list of suggestions. Items and text live in fields
// until the window exists, so a layout can fill the box before its form is shown.
#include "WinControl.h"

#include <string>
#include <vector>

namespace qs {

class TComboBox : public TWinControl {
public:
  // How many items the open list shows before it scrolls.
  static constexpr int DropDownCount = 8;

  explicit TComboBox(TComponent* owner);

  const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(const std::vector<std::string>& items);

  void SetBounds(int left, int top, int width, int height) override;
  void WndProc(TMessage& message) override;

  // Fired after the user typed in the edit field or chose an item from the list; Text() is already the new
  // text. Setting the text from code does not fire it.
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void DestroyWindowHandleStart() override;
  virtual void Change();

private:
  // The height of the open list below the edit field.
  int DropDownHeight() const;
  void FillList();
  void HandleCommand(WORD code);

  std::vector<std::string> FItems;
};

} // namespace qs
