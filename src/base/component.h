// A named object that another component may own. Owners hold what they own
// (as members or unique_ptrs) and destroy it with themselves.
#pragma once

#include <string>

namespace kestro {

class Component {
 public:
  explicit Component(Component* owner = nullptr) : owner_(owner) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Component* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // True inside a form designer; this system never runs in one, tests may pretend.
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing) { designing_ = designing; }

 private:
  Component* owner_;
  std::string name_;
  bool designing_ = false;
};

}  // namespace kestro
