#pragma once
// Counts the GDI objects the framework has created and not yet deleted. Wine's GetGuiResources always answers
// 0, so this counter is what tests use to prove that opening and closing a window leaks nothing.
#include <atomic>

namespace qs {

class TGdiCounter {
public:
  static void Created() { ++FLive; }
  static void Deleted() { --FLive; }
  static long Live() { return FLive.load(); }

private:
  static inline std::atomic<long> FLive{0};
};

} // namespace qs
