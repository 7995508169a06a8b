// Growable arrays: room for 16 elements at first, doubling when full; a
// failed growth leaves the array unchanged and reports false.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

constexpr size_t GROW_ARRAY_FIRST_ROOM = 16;

template <typename T, typename U>
bool grow_push(std::vector<T>& array, U&& element) {
  if (array.size() == array.capacity()) {
    size_t room = array.capacity() ? array.capacity() * 2 : GROW_ARRAY_FIRST_ROOM;
    try {
      array.reserve(room);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  array.push_back(std::forward<U>(element));
  return true;
}
