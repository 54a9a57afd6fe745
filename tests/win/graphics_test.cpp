// The framework's graphics: the live GDI object counter that leak tests rest on, palettes, bitmaps (canvas,
// monochrome conversion, device copies, the dormant form, change listeners) and image lists.
#include "ControlTestKit.h"
#include "Exception.h"
#include "GdiCounter.h"
#include "Handles.h"

#include <utility>

using namespace qs;
using namespace qs::test;

namespace {

// ---------------------------------------------------------------------------------------------------------
// The live GDI object counter

// An object handed over to the system (a window region) or deleted by hand after Release is no longer ours.
TEST(GdiCounter, ReleasedObjectsLeaveTheCount) {
  const long before = TGdiCounter::Live();
  auto* form = new TForm(Application);
  form->SetClientSize(100, 100);
  form->Show();
  const long withForm = TGdiCounter::Live();
  {
    TRegionHandle region(CreateRectRgn(0, 0, 50, 50));
    EXPECT_EQ(TGdiCounter::Live(), withForm + 1);
    ASSERT_NE(SetWindowRgn(form->Handle(), region.Get(), TRUE), 0);
    region.Release(); // the window owns the region now
    EXPECT_EQ(TGdiCounter::Live(), withForm) << "a region owned by the window counted as ours";

    TMemoryDC dc(nullptr);
    DeleteDC(dc.Release());
    TBrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
    DeleteObject(brush.Release());
    EXPECT_EQ(TGdiCounter::Live(), withForm) << "objects deleted by hand after Release";
  }
  delete form;
  PumpMessages();
  EXPECT_EQ(TGdiCounter::Live(), before);
}

// Moving, resetting and releasing an empty wrapper keep the count exact.
TEST(GdiCounter, MovesAndResetsCountEachObjectOnce) {
  const long before = TGdiCounter::Live();
  {
    TPenHandle a(CreatePen(PS_SOLID, 1, 0));
    TPenHandle b(std::move(a));
    TPenHandle c;
    c = std::move(b);
    EXPECT_EQ(TGdiCounter::Live(), before + 1);
    c.Reset(CreatePen(PS_SOLID, 2, 0));
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "the replaced pen was deleted";
    EXPECT_EQ(a.Release(), nullptr);
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "releasing an empty wrapper";
    TPenHandle failed(nullptr);
    EXPECT_EQ(TGdiCounter::Live(), before + 1) << "a failed creation is not counted";
  }
  EXPECT_EQ(TGdiCounter::Live(), before);
}

} // namespace
