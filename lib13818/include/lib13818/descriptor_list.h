#pragma once
// The list of one descriptor class inside a DescriptorSet: a contiguous
// array like std::vector, but one pointer wide and null while empty, so a
// set of 69 lists is built, moved and destroyed by touching only its zeros
// when (as almost always) most lists are empty.  The size and capacity live
// in front of the elements in the same heap block.
#include <cstddef>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace lib13818 {

template <class T>
class DescriptorList {
  // Aligned as the elements, so that they start right behind it.
  static constexpr size_t kAlign = alignof(T) > alignof(size_t) ? alignof(T) : alignof(size_t);
  struct alignas(kAlign) Header {
    size_t size;
    size_t capacity;
  };
  static_assert(kAlign <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "over-aligned descriptor class");

 public:
  using value_type = T;
  using size_type = size_t;
  using difference_type = std::ptrdiff_t;
  using reference = T&;
  using const_reference = const T&;
  using pointer = T*;
  using const_pointer = const T*;
  using iterator = T*;
  using const_iterator = const T*;

  DescriptorList() noexcept = default;
  DescriptorList(const DescriptorList& other) {
    if (other.empty()) return;
    reserve(other.size());
    for (const T& v : other) emplace_back(v);
  }
  DescriptorList(DescriptorList&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  DescriptorList& operator=(const DescriptorList& other) {
    if (this != &other) {
      DescriptorList copy(other);
      swap(copy);
    }
    return *this;
  }
  DescriptorList& operator=(DescriptorList&& other) noexcept {
    if (this != &other) {
      Release();
      block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
  }
  ~DescriptorList() { Release(); }

  void swap(DescriptorList& other) noexcept { std::swap(block_, other.block_); }

  size_t size() const noexcept { return block_ ? block_->size : 0; }
  size_t capacity() const noexcept { return block_ ? block_->capacity : 0; }
  bool empty() const noexcept { return size() == 0; }

  T* data() noexcept { return block_ ? Elements(block_) : nullptr; }
  const T* data() const noexcept { return block_ ? Elements(block_) : nullptr; }
  T* begin() noexcept { return data(); }
  T* end() noexcept { return data() + size(); }
  const T* begin() const noexcept { return data(); }
  const T* end() const noexcept { return data() + size(); }
  const T* cbegin() const noexcept { return begin(); }
  const T* cend() const noexcept { return end(); }

  T& operator[](size_t i) noexcept { return data()[i]; }
  const T& operator[](size_t i) const noexcept { return data()[i]; }
  T& at(size_t i) {
    if (i >= size()) throw std::out_of_range("DescriptorList::at");
    return data()[i];
  }
  const T& at(size_t i) const {
    if (i >= size()) throw std::out_of_range("DescriptorList::at");
    return data()[i];
  }
  T& front() noexcept { return data()[0]; }
  const T& front() const noexcept { return data()[0]; }
  T& back() noexcept { return data()[size() - 1]; }
  const T& back() const noexcept { return data()[size() - 1]; }

  void reserve(size_t n) {
    if (n > capacity()) Grow(n);
  }

  // The new element is built before anything moves, so an argument that
  // refers into the list stays valid and a throwing constructor leaves the
  // list as it was.
  template <class... Args>
  T& emplace_back(Args&&... args) {
    const size_t n = size();
    if (n < capacity()) {
      T* slot = Elements(block_) + n;
      ::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
      ++block_->size;
      return *slot;
    }
    const size_t cap = n == 0 ? 1 : 2 * n;
    Header* fresh = Allocate(cap);
    T* slot = Elements(fresh) + n;
    try {
      ::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
    } catch (...) {
      ::operator delete(fresh);
      throw;
    }
    MoveInto(fresh, n);
    fresh->size = n + 1;
    return *slot;
  }
  void push_back(const T& v) { emplace_back(v); }
  void push_back(T&& v) { emplace_back(std::move(v)); }
  void pop_back() noexcept {
    back().~T();
    --block_->size;
  }

  void resize(size_t n) {
    size_t s = size();
    if (n < s) {
      for (size_t i = n; i < s; ++i) Elements(block_)[i].~T();
      block_->size = n;
      return;
    }
    reserve(n);
    for (; s < n; ++s) emplace_back();
  }

  // Keeps the storage, as std::vector does.
  void clear() noexcept {
    if (!block_) return;
    std::destroy_n(Elements(block_), block_->size);
    block_->size = 0;
  }

 private:
  static T* Elements(Header* h) noexcept { return reinterpret_cast<T*>(h + 1); }
  static const T* Elements(const Header* h) noexcept { return reinterpret_cast<const T*>(h + 1); }

  static Header* Allocate(size_t capacity) {
    if (capacity > (size_t(-1) - sizeof(Header)) / sizeof(T)) throw std::bad_alloc();
    Header* h = static_cast<Header*>(::operator new(sizeof(Header) + capacity * sizeof(T)));
    h->size = 0;
    h->capacity = capacity;
    return h;
  }

  // Moves the first n elements into `fresh` and makes it the list's block.
  void MoveInto(Header* fresh, size_t n) noexcept {
    static_assert(std::is_nothrow_move_constructible_v<T>);
    if (block_) {
      T* from = Elements(block_);
      T* to = Elements(fresh);
      for (size_t i = 0; i < n; ++i) {
        ::new (static_cast<void*>(to + i)) T(std::move(from[i]));
        from[i].~T();
      }
      ::operator delete(block_);
    }
    fresh->size = n;
    block_ = fresh;
  }

  void Grow(size_t capacity) { MoveInto(Allocate(capacity), size()); }

  void Release() noexcept {
    if (!block_) return;
    std::destroy_n(Elements(block_), block_->size);
    ::operator delete(block_);
    block_ = nullptr;
  }

  Header* block_ = nullptr;
};

}  // namespace lib13818
