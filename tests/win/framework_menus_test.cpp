// Popup menus: the activation handed back to the form, command ids that stay 16 bits wide and are reused, the
// links a control and a menu keep, and the notifications the owner window passes on (hints, sub-menus, help).
#include "ControlTestKit.h"
#include "InputKit.h"
#include "Menu.h"
#include "Timer.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace qs;
using namespace qs::test;

namespace {

// Runs `steps` one after another from a timer while the menu's own loop runs, then closes the menu.
class TMenuScript {
public:
  explicit TMenuScript(std::vector<std::function<void()>> steps) : FSteps(std::move(steps)), FTimer(nullptr) {
    FTimer.SetInterval(StepMs);
    FTimer.SetOnTimer([this](TComponent*) {
      if (FNext < FSteps.size()) FSteps[FNext++]();
      else {
        FTimer.SetEnabled(false);
        EndMenu();
      }
    });
  }

private:
  static constexpr unsigned StepMs = 60;
  std::vector<std::function<void()>> FSteps;
  size_t FNext = 0;
  TTimer FTimer;
};

class Menus : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    ShowForm();
    SetForegroundWindow(FForm->Handle());
    PumpMessages();
  }
  POINT MenuPoint() const { return FForm->ClientToScreen(POINT{100, 100}); }
};

TEST_F(Menus, TheFormIsActiveAgainOnceTheMenuHasClosed) {
  ASSERT_EQ(GetActiveWindow(), FForm->Handle());
  TPopupMenu menu(nullptr);
  menu.AddItem("One", "One");
  TMenuScript script({[] {}});
  menu.Popup(MenuPoint().x, MenuPoint().y, FForm);
  PumpMessages();
  EXPECT_EQ(GetForegroundWindow(), FForm->Handle());
  EXPECT_EQ(GetActiveWindow(), FForm->Handle());
}

TEST_F(Menus, ThePopupComponentIsKnownWhileTheMenuRunsAndForgottenAfterwards) {
  TPopupMenu menu(nullptr);
  TComponent* seenByItem = nullptr;
  TMenuItem* item = menu.AddItem("One", "One");
  item->OnClick = [&](TComponent*) { seenByItem = menu.PopupComponent(); };
  TMenuScript script({[] { PressKey(VK_DOWN); }, [] { PressKey(VK_RETURN); }});
  menu.Popup(MenuPoint().x, MenuPoint().y, FForm);
  EXPECT_EQ(seenByItem, FForm) << "the chosen item runs while the menu still knows what it was shown for";
  EXPECT_EQ(menu.PopupComponent(), nullptr);
  EXPECT_FALSE(FForm->HasFreeNotification(&menu));
}

TEST(MenuIds, CommandIdsStaySixteenBitsWideAndAreReused) {
  std::set<UINT> live;
  TComponent owner(nullptr);
  // More items over time than 16 bits can number, never more than a few at once.
  for (int round = 0; round < 700; ++round) {
    std::vector<TMenuItem*> items;
    for (int i = 0; i < 100; ++i) {
      auto* item = new TMenuItem(&owner);
      ASSERT_LE(item->Command(), 0xFFFFu);
      ASSERT_TRUE(live.insert(item->Command()).second) << "two live items share command " << item->Command();
      items.push_back(item);
    }
    for (TMenuItem* item : items) {
      live.erase(item->Command());
      delete item;
    }
  }
}

TEST(MenuLinks, AControlGivenAnotherMenuForgetsTheOldOne) {
  TComponent owner(nullptr);
  auto* control = new TControl(&owner);
  auto* first = new TPopupMenu(&owner);
  auto* second = new TPopupMenu(&owner);
  control->SetPopupMenu(first);
  control->SetPopupMenu(second);
  EXPECT_FALSE(control->HasFreeNotification(first));
  EXPECT_TRUE(control->HasFreeNotification(second));
  delete second;
  EXPECT_EQ(control->PopupMenu(), nullptr);
}

TEST_F(Menus, HighlightingAnItemMakesItsHintTheApplicationsHint) {
  TPopupMenu menu(nullptr);
  menu.AddItem("Add1", "Add")->SetHint("Adds files");
  menu.AddItem("Play1", "Play")->SetHint("Plays the file");
  std::vector<std::string> hints;
  Application->OnHint = [&](TComponent*) { hints.push_back(Application->Hint()); };
  TMenuScript script({[] { PressKey(VK_DOWN); }, [] { PressKey(VK_DOWN); }});
  menu.Popup(MenuPoint().x, MenuPoint().y, FForm);
  PumpMessages();
  Application->OnHint = nullptr;
  ASSERT_GE(hints.size(), 2u);
  EXPECT_EQ(hints[0], "Adds files");
  EXPECT_EQ(hints[1], "Plays the file");
  EXPECT_EQ(Application->Hint(), "") << "the hint goes with the menu";
}

TEST_F(Menus, ASubMenuAboutToOpenAsksItsItemAndFindsItsItemsByHandleOrCommand) {
  TPopupMenu menu(nullptr);
  TMenuItem* more = menu.AddItem("More", "More");
  auto* inner = new TMenuItem(&menu);
  inner->SetCaption("Inner");
  more->Add(inner);
  int opened = 0;
  more->OnClick = [&](TComponent*) { ++opened; };
  TMenuScript script({[] { PressKey(VK_DOWN); }, [] { PressKey(VK_RIGHT); }});
  menu.Popup(MenuPoint().x, MenuPoint().y, FForm);
  EXPECT_EQ(opened, 1);
  ASSERT_NE(more->Handle(), nullptr);
  EXPECT_EQ(menu.FindItem(reinterpret_cast<UINT_PTR>(more->Handle()), TFindItemKind::fkHandle), more);
  EXPECT_EQ(menu.FindItem(inner->Command(), TFindItemKind::fkCommand), inner);
  EXPECT_EQ(menu.FindItem(more->Command(), TFindItemKind::fkCommand), nullptr) << "an item with children is no command";
}

TEST(MenuHelp, HelpOnAMenuItemGoesToTheApplicationsHelp) {
  TPopupMenu menu(nullptr);
  TMenuItem* item = menu.AddItem("Play1", "Play");
  item->SetHelpContext(42);
  menu.Handle();
  int asked = 0;
  Application->OnHelp = [&](int context) { asked = context; };
  HELPINFO info{
      sizeof(info), HELPINFO_MENUITEM, static_cast<int>(item->Command()), reinterpret_cast<HANDLE>(menu.Handle()), 0,
      POINT{}};
  SendMessageW(TPopupMenu::PopupListWindow(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  Application->OnHelp = nullptr;
  EXPECT_EQ(asked, 42);
}

} // namespace
