#include "Component.h"

#include "Application.h"

#include <algorithm>

namespace qs {

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  FAlive.reset();
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
  if (!component || component == this || HasFreeNotification(component)) return;
  FFreeNotifies.push_back(component);
  component->FFreeNotifies.push_back(this);
}

bool TComponent::HasFreeNotification(const TComponent* component) const {
  return std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) != FFreeNotifies.end();
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
  // Loaded() of one component may create others; they join the end of the list and are loaded in turn.
  for (size_t i = 0; i < FComponents.size(); ++i)
    if (FComponents[i]->IsLoading()) FComponents[i]->Loaded();
  if (IsLoading()) Loaded();
}

void TComponent::Release() {
  if (Application) Application->ReleaseComponent(this);
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
  if (IsLoading()) component->FState |= csLoading;
  FComponents.push_back(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  std::erase(FComponents, component);
  component->FOwner = nullptr;
  if (!IsDestroying()) Notification(component, TOperation::opRemove);
}

} // namespace qs
