#include "QuillStackApp.h"

namespace qs {

void InitializeApplication(TApplication& application) {
  application.Initialize();
  application.SetTitle(ApplicationTitle);
}

} // namespace qs
