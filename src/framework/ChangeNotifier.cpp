#include "ChangeNotifier.h"

#include <algorithm>

namespace qs {

TChangeLink& TChangeLink::operator=(TChangeLink&& other) noexcept {
  if (this != &other) {
    Reset();
    FListeners = std::move(other.FListeners);
    FId = std::exchange(other.FId, 0);
  }
  return *this;
}

void TChangeLink::Reset() {
  if (auto listeners = FListeners.lock())
    std::erase_if(listeners->Handlers, [this](const auto& entry) { return entry.first == FId; });
  FListeners.reset();
  FId = 0;
}

TChangeLink TChangeNotifier::Subscribe(std::function<void()> handler) {
  const int id = FListeners->NextId++;
  FListeners->Handlers.emplace_back(id, std::make_shared<std::function<void()>>(std::move(handler)));
  return TChangeLink(FListeners, id);
}

void TChangeNotifier::Notify() const {
  // The notifier itself may go away inside a handler (its owner freed); keep the list alive until done.
  const std::shared_ptr<TListeners> listeners = FListeners;
  const auto snapshot = listeners->Handlers;
  for (const auto& entry : snapshot) {
    const int id = entry.first;
    const bool stillListening = std::any_of(listeners->Handlers.begin(), listeners->Handlers.end(),
                                            [id](const auto& entry) { return entry.first == id; });
    if (stillListening && *entry.second) (*entry.second)();
  }
}

} // namespace qs
