#pragma once
// Change notification with any number of listeners. A listener holds a TChangeLink; destroying the link (or
// the notifier) ends the subscription, so neither side can call into an object that is gone.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qs {

class TChangeNotifier {
  struct TListeners;

public:
  class TChangeLink {
  public:
    TChangeLink() = default;
    ~TChangeLink() { Reset(); }
    TChangeLink(TChangeLink&& other) noexcept
        : FListeners(std::move(other.FListeners)), FId(std::exchange(other.FId, 0)) {}
    TChangeLink& operator=(TChangeLink&& other) noexcept;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    // Ends the subscription (nothing when there is none).
    void Reset();
    bool Linked() const { return FId != 0 && !FListeners.expired(); }

  private:
    friend class TChangeNotifier;
    TChangeLink(std::weak_ptr<TListeners> listeners, int id) : FListeners(std::move(listeners)), FId(id) {}

    std::weak_ptr<TListeners> FListeners;
    int FId = 0;
  };

  TChangeNotifier() : FListeners(std::make_shared<TListeners>()) {}
  // Listeners belong to the object they listen to: a copy or a move of that object starts without any.
  TChangeNotifier(const TChangeNotifier&) : TChangeNotifier() {}
  TChangeNotifier& operator=(const TChangeNotifier&) { return *this; }

  [[nodiscard]] TChangeLink Subscribe(std::function<void()> handler);
  // Calls the listeners in the order they subscribed. A listener may subscribe or unsubscribe others (or
  // itself) meanwhile: one that is gone is skipped, one that joined is called from the next change on.
  void Notify() const;

private:
  struct TListeners {
    int NextId = 1;
    std::vector<std::pair<int, std::shared_ptr<std::function<void()>>>> Handlers;
  };

  std::shared_ptr<TListeners> FListeners;
};

using TChangeLink = TChangeNotifier::TChangeLink;

} // namespace qs
