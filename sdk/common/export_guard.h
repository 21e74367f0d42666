// Every export of the SDK components runs its body through Guarded: no C++
// exception may cross into a caller that is not C++ (or not ours).
#pragma once

#include <utility>

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return onFailure;
  }
}

template <typename Body>
void GuardedVoid(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}
