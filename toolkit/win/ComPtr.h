// Holds one COM interface pointer and releases it when it goes out of scope. Not copyable:
// a copy would release the interface twice.
#pragma once

namespace tk {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  // For the functions that hand out an interface through a T** parameter.
  T** operator&() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

}  // namespace tk
