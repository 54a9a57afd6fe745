#include "KeepAwake.h"

#include <windows.h>

namespace qs {

TKeepAwake::TKeepAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }

TKeepAwake::~TKeepAwake() { SetThreadExecutionState(ES_CONTINUOUS); }

} // namespace qs
