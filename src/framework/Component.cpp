#include "Component.h"

#include <algorithm>

namespace qs {

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  DestroyComponents();
  NotifyRemoval();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::NotifyRemoval() {
  // A component being told may remove itself from our list, so walk a copy.
  const auto notifies = FFreeNotifies;
  FFreeNotifies.clear();
  for (TComponent* c : notifies) {
    c->RemoveFreeNotification(this);
    c->Notification(this, TOperation::opRemove);
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : FComponents)
    if (c->FName == name) return c;
  return nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
      component->FFreeNotifies.end())
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(FFreeNotifies, component);
  std::erase(component->FFreeNotifies, this);
}

void TComponent::BeginLoading() {
  FState |= csLoading;
  for (TComponent* c : FComponents) c->FState |= csLoading;
}

void TComponent::EndLoading() {
  for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->Loaded();
  Loaded();
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) std::erase(FFreeNotifies, component);
  // Owned components hear about each other, as siblings may refer to one another.
  for (size_t i = 0; i < FComponents.size(); ++i)
    if (FComponents[i] != component) FComponents[i]->Notification(component, operation);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    c->FState |= csDestroying;
    delete c; // removes itself from FComponents
  }
}

void TComponent::InsertComponent(TComponent* component) {
  component->FOwner = this;
  FComponents.push_back(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  std::erase(FComponents, component);
  component->FOwner = nullptr;
  if (!IsDestroying()) Notification(component, TOperation::opRemove);
}

} // namespace qs
