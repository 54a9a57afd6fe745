#pragma once
// Showing a toolbar button's dropdown menu next to the button.
namespace qs {

class TToolbarButton97;

// Opens the button's DropdownMenu below it (beside it when its toolbar sits in a side dock) and returns once
// the menu has closed. The button's click operation calls it after giving up the mouse.
void ShowButtonMenu(TToolbarButton97& button);

} // namespace qs
