// Work that recurses once per level of a tree the user made, which may be
// nested tens of thousands deep: more than a thread's usual stack (a
// megabyte on Windows, eight on Linux) holds.
#pragma once

#include <cstddef>
#include <functional>

namespace kestro::platform {

// Room for about 250,000 levels of the reconciliation's walk; only the part
// used is ever backed by memory.
constexpr std::size_t kDeepStackBytes = std::size_t{256} << 20;

// Runs work to its end on a thread of its own with a stack of
// kDeepStackBytes, the caller waiting; what it throws is thrown here. If no
// such thread can be made, runs it on the caller's own stack.
void RunOnDeepStack(const std::function<void()>& work);

}  // namespace kestro::platform
