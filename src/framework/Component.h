#pragma once
// The root of everything with an owner: an owner frees what it owns, and a component can ask to be told
// when another one goes away (FreeNotification) so that it never keeps a dangling reference.
#include <string>
#include <string_view>
#include <vector>

namespace qs {

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned { csLoading = 1u << 0, csDestroying = 1u << 1, csReading = 1u << 2 };

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

  // The loading pass: owners are put in the loading state while their layout is applied, then Loaded()
  // runs once for the owner and every owned component.
  void BeginLoading();
  void EndLoading();

protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void Loaded() { FState &= ~csLoading; }
  // Frees the owned components, newest first. Derived destructors that own controls call it before their
  // own members go away, so that no owned component outlives what its events refer to.
  void DestroyComponents();
  void Destroying() { FState |= csDestroying; }

private:
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void NotifyRemoval();

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  unsigned FState = 0;
};

} // namespace qs
