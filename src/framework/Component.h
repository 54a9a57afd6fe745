#pragma once
// The root of everything with an owner: an owner frees what it owns, and a component can ask to be told
// when another one goes away (FreeNotification) so that it never keeps a dangling reference.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned { csLoading = 1u << 0, csDestroying = 1u << 1 };

class TComponentWatch;

class TComponent {
public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(std::string_view name) { FName = name; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
  TComponent* FindComponent(std::string_view name) const;

  unsigned ComponentState() const { return FState; }
  bool IsLoading() const { return (FState & csLoading) != 0; }
  bool IsDestroying() const { return (FState & csDestroying) != 0; }

  // Asks to receive Notification(component, opRemove) when `component` is destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Whether this component and `component` are linked by a free notification (in either direction: the link
  // is mutual).
  bool HasFreeNotification(const TComponent* component) const;

  // The loading pass: an owner is put in the loading state while its layout is applied; whatever it comes to
  // own meanwhile is loading too. EndLoading runs Loaded() once for every owned component still loading, then
  // for the owner.
  void BeginLoading();
  void EndLoading();

  // Frees this component from the message loop, once the message being handled (its own click, say) is over.
  void Release();

protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void Loaded() { FState &= ~csLoading; }
  // Frees the owned components, newest first. Derived destructors that own controls call it before their
  // own members go away, so that no owned component outlives what its events refer to.
  void DestroyComponents();
  void Destroying() { FState |= csDestroying; }

private:
  friend class TComponentWatch;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void NotifyRemoval();

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  unsigned FState = 0;
  // Shared with watches; gone when the component is.
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};

// Tells whether a component still exists: code that runs a component's event or handler checks it before
// touching the component again, as the event may have freed it.
class TComponentWatch {
public:
  explicit TComponentWatch(const TComponent* component) {
    if (component) FAlive = component->FAlive;
  }
  bool Alive() const { return !FAlive.expired(); }

private:
  std::weak_ptr<int> FAlive;
};

} // namespace qs
