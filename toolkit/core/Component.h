// Ownership of objects by a component: an owner destroys, last first, what it owns, and a
// component destroyed by other means leaves its owner's list.
#pragma once

#include <string>
#include <vector>

namespace tk {

// The persistent-object base: nothing of it is used but the virtual destructor.
class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;
};

class Component : public TPersistent {
 public:
  explicit Component(Component* owner);
  ~Component() override;

  Component* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  Component* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // The owned component with that name, or none.
  Component* FindComponent(const std::string& name) const;

  // Destroys every owned component, the most recently added first.
  void DestroyComponents();

 private:
  void Insert(Component* child);
  void Remove(Component* child);

  Component* owner_;
  std::string name_;
  std::vector<Component*> components_;
};

}  // namespace tk
