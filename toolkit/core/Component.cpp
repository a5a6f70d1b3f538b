#include "toolkit/core/Component.h"

#include <algorithm>

namespace tk {

Component::Component(Component* owner) : owner_(owner) {
  if (owner_) owner_->Insert(this);
}

Component::~Component() {
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

Component* Component::FindComponent(const std::string& name) const {
  for (Component* c : components_)
    if (c->name_ == name) return c;
  return nullptr;
}

void Component::DestroyComponents() {
  // Each destructor removes itself from the list.
  while (!components_.empty()) delete components_.back();
}

void Component::Insert(Component* child) { components_.push_back(child); }

void Component::Remove(Component* child) {
  auto it = std::find(components_.begin(), components_.end(), child);
  if (it != components_.end()) components_.erase(it);
  child->owner_ = nullptr;
}

}  // namespace tk
