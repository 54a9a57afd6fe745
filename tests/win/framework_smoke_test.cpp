#include "Form.h"
#include "QsTest.h"

using namespace qs;

TEST(FrameworkSmoke, FormOpensWithItsClientSize) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(TFormBorderStyle::bsSingle);
  form->SetClientSize(482, 313);
  form->Show();
  RECT r{};
  GetClientRect(form->Handle(), &r);
  EXPECT_EQ(r.right, 482);
  EXPECT_EQ(r.bottom, 313);
  delete form;
}
