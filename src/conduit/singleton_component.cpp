#include "conduit/singleton_component.h"

#include <utility>
#include <vector>

#include "base/text.h"

namespace kestro {
namespace {

using Registry = std::vector<std::pair<std::string, ThcdSingletonComponent*>>;

// Created with the first instance; released at unload. A plain pointer, so
// that the runtime's exit-time destructors never free it before the unload.
Registry* registry = nullptr;

}  // namespace

ThcdSingletonComponent::ThcdSingletonComponent(std::string class_name, Component* owner)
    : Component(owner), class_name_(std::move(class_name)) {
  if (!registry) registry = new Registry();
  for (auto& [name, instance] : *registry) {
    if (name == class_name_) {
      throw EhcdSingletonError(
          Format("The class \"%s\" has already been instantiated", class_name_.c_str()));
    }
  }
  registry->emplace_back(class_name_, this);
}

ThcdSingletonComponent::~ThcdSingletonComponent() {
  if (!registry) return;
  for (auto it = registry->begin(); it != registry->end(); ++it) {
    if (it->second == this) {
      registry->erase(it);
      return;
    }
  }
}

ThcdSingletonComponent* FindSingleton(const std::string& class_name) {
  if (!registry) return nullptr;
  for (auto& [name, instance] : *registry) {
    if (name == class_name) return instance;
  }
  return nullptr;
}

void ReleaseSingletonRegistry() { delete std::exchange(registry, nullptr); }

}  // namespace kestro
