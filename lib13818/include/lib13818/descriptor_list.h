#pragma once
// The list of one descriptor class inside a DescriptorSet, and of the
// entries inside a descriptor: a contiguous array like std::vector, but one
// pointer wide and null while empty, so a set of 69 lists is built, moved and
// destroyed by touching only its zeros when (as almost always) most lists
// are empty.  The size and capacity live in front of the elements in the same
// block.
//
// While a descriptor loop is parsed, new blocks come from the arena of the
// set being filled (ListArena::Scope), which the sets of one section share,
// so that a whole section costs one allocation instead of one per list.
// Such a block belongs to the arena: it is never freed on its own, and a
// list holding one copies its elements out when it is moved anywhere but
// within the loop being parsed, so no list outlives the memory it points
// into.  An arena also knows whether any of its lists has been open to
// change since it was built: while none has, what was parsed into it holds
// no memory but the arena's, and a set may leave it to the arena (see
// DescriptorSet's destructor).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace lib13818 {

class Descriptor;
class DescriptorSet;

namespace detail {

// Counts the times a list of descriptors took a block of its own, or a
// block it did not have, outside the parse of a section.  A set remembers
// the count as it was when the set was made: while the count is still that,
// each of its lists holds nothing but what its loops put there (see
// DescriptorSet).  While a section is parsed, the lists of the sets it fills
// take their blocks from the arena only: what takes blocks of its own then
// is the section's, outside any set, and need not count.
class OwnBlocks {
 public:
  static std::uint64_t Count() noexcept { return count_.load(std::memory_order_relaxed); }
  static void Add() noexcept { count_.fetch_add(1, std::memory_order_relaxed); }

 private:
  static inline std::atomic<std::uint64_t> count_{0};
};

// A chain of chunks handing out blocks by bumping a pointer; everything is
// freed at once with the arena.  Blocks are aligned to 16 bytes.  An arena
// is shared, with a count of its owners: the descriptor sets of one section
// take their lists from one arena, and it lives as long as the last of them.
class alignas(16) ListArena {
 public:
  ListArena(const ListArena&) = delete;
  ListArena& operator=(const ListArena&) = delete;

  // A new arena with one owner and a first chunk of `bytes`, both in one
  // allocation.
  static ListArena* Create(size_t bytes) {
    bytes = (bytes + 15) & ~size_t(15);
    if (bytes > size_t(-1) / 2) throw std::bad_alloc();
    void* memory = ::operator new(sizeof(ListArena) + sizeof(Chunk) + bytes);
    ListArena* a = ::new (memory) ListArena;
    Chunk* first = reinterpret_cast<Chunk*>(a + 1);
    first->next = nullptr;
    first->capacity = bytes;
    first->used = 0;
    a->head_ = first;
    return a;
  }
  void AddOwner() noexcept { owners_.fetch_add(1, std::memory_order_relaxed); }
  void DropOwner() noexcept {
    if (owners_.fetch_sub(1, std::memory_order_acq_rel) == 1) Destroy(this);
  }

  // The arena that new list blocks come from on this thread while a loop is
  // parsed into it; the previous one is restored on leaving.
  class Scope {
   public:
    explicit Scope(ListArena* arena) noexcept : previous_(current_) { current_ = arena; }
    ~Scope() { current_ = previous_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ListArena* previous_;
  };
  static ListArena* Current() noexcept { return current_; }

  // Whether this thread is filling the arena: parsing a loop into it, or
  // the section whose sets share it (see SharedArenaScope).
  bool BeingFilledHere() const noexcept { return this == current_ || this == section_; }

  // A list of this arena's blocks is open to change (its elements reachable
  // for writing, or the list itself changing).  While this thread fills the
  // arena that is how it is filled; otherwise an element may take memory of
  // its own from then on, so the arena no longer vouches for them.
  void NoteChange() noexcept {
    if (!BeingFilledHere()) MarkChanged();
  }
  // Elements that may hold memory of their own come into the arena.
  void MarkChanged() noexcept { changed_.store(true, std::memory_order_relaxed); }
  // Whether everything parsed into the arena still lives in its chunks only.
  bool Unchanged() const noexcept { return !changed_.load(std::memory_order_relaxed); }

  void* Allocate(size_t bytes) {
    bytes = (bytes + 15) & ~size_t(15);
    if (head_->capacity - head_->used < bytes) NewChunk(bytes);
    void* p = Data(head_) + head_->used;
    head_->used += bytes;
    return p;
  }

 private:
  struct alignas(16) Chunk {
    Chunk* next;
    size_t capacity;
    size_t used;
  };
  static char* Data(Chunk* c) noexcept { return reinterpret_cast<char*>(c + 1); }

  ListArena() noexcept = default;
  ~ListArena() = default;
  // Frees the chunks added after the first, then the arena with its first.
  static void Destroy(ListArena* a) noexcept {
    Chunk* first = reinterpret_cast<Chunk*>(a + 1);
    for (Chunk* c = a->head_; c && c != first;) {
      Chunk* next = c->next;
      ::operator delete(c);
      c = next;
    }
    a->~ListArena();
    ::operator delete(a);
  }

  void NewChunk(size_t bytes) {
    bytes = (bytes + 15) & ~size_t(15);
    // An arena that outgrows its estimate takes as much again, so it rarely
    // needs a third chunk.
    if (bytes < head_->capacity) bytes = head_->capacity;
    if (bytes > size_t(-1) / 2) throw std::bad_alloc();
    Chunk* c = static_cast<Chunk*>(::operator new(sizeof(Chunk) + bytes));
    c->next = head_;
    c->capacity = bytes;
    c->used = 0;
    head_ = c;
  }

  friend class SharedArenaScope;

  Chunk* head_ = nullptr;
  std::atomic<size_t> owners_{1};
  std::atomic<bool> changed_{false};
  static inline thread_local ListArena* current_ = nullptr;
  // The arena of the section being parsed on this thread, if any.
  static inline thread_local ListArena* section_ = nullptr;
};

static_assert(sizeof(ListArena) % 16 == 0, "the first chunk follows the arena, aligned");

// Descriptors decode into objects several times their size: an arena for a
// loop or a section starts with about this many bytes per byte it holds.
// An EIT's events take more (their texts are kept decoded and as sent): at
// the second figure almost every EIT section fits in its first chunk.
constexpr size_t kArenaBytesPerInputByte = 6;
constexpr size_t kEventArenaBytesPerInputByte = 10;

// One owner's hold on an arena (null: none).
class ArenaRef {
 public:
  ArenaRef() noexcept = default;
  explicit ArenaRef(ListArena* adopted) noexcept : arena_(adopted) {}
  ArenaRef(const ArenaRef&) = delete;
  ArenaRef& operator=(const ArenaRef&) = delete;
  ~ArenaRef() { Reset(); }

  static ArenaRef Share(ListArena* a) noexcept {
    a->AddOwner();
    return ArenaRef(a);
  }
  ArenaRef(ArenaRef&& other) noexcept : arena_(std::exchange(other.arena_, nullptr)) {}
  ArenaRef& operator=(ArenaRef&& other) noexcept {
    if (this != &other) {
      Reset();
      arena_ = std::exchange(other.arena_, nullptr);
    }
    return *this;
  }
  void Reset() noexcept {
    if (arena_) std::exchange(arena_, nullptr)->DropOwner();
  }
  void Swap(ArenaRef& other) noexcept { std::swap(arena_, other.arena_); }
  ListArena* get() const noexcept { return arena_; }
  explicit operator bool() const noexcept { return arena_ != nullptr; }

 private:
  ListArena* arena_ = nullptr;
};

// While a section is parsed, the descriptor sets filled on this thread share
// one arena, made when the first of them needs it with a first chunk of
// `bytes`.
class SharedArenaScope {
 public:
  explicit SharedArenaScope(size_t bytes) noexcept : bytes_(bytes), previous_(current_) { current_ = this; }
  ~SharedArenaScope() {
    if (ref_) ListArena::section_ = previousSection_;
    current_ = previous_;
  }
  SharedArenaScope(const SharedArenaScope&) = delete;
  SharedArenaScope& operator=(const SharedArenaScope&) = delete;

  // Whether a section is being parsed on this thread.
  static bool Active() noexcept { return current_ != nullptr; }

  // A hold on the shared arena of the section being parsed, or none.
  static ArenaRef Share() {
    SharedArenaScope* s = current_;
    if (!s) return ArenaRef();
    if (!s->ref_) {
      s->ref_ = ArenaRef(ListArena::Create(s->bytes_));
      s->previousSection_ = ListArena::section_;
      ListArena::section_ = s->ref_.get();
    }
    return ArenaRef::Share(s->ref_.get());
  }

 private:
  size_t bytes_;
  ArenaRef ref_;
  SharedArenaScope* previous_;
  ListArena* previousSection_ = nullptr;
  static inline thread_local SharedArenaScope* current_ = nullptr;
};

}  // namespace detail

template <class T>
class DescriptorList {
  // Aligned as the elements, so that they start right behind it.
  static constexpr size_t kAlign = alignof(T) > alignof(size_t) ? alignof(T) : alignof(size_t);
  struct alignas(kAlign) Header {
    size_t size;
    size_t capacity;
    detail::ListArena* arena;  // null: a block of the list's own
  };
  static_assert(kAlign <= __STDCPP_DEFAULT_NEW_ALIGNMENT__ && kAlign <= 16, "over-aligned descriptor class");

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
  // A copy is a list of its own, outside any arena.
  DescriptorList(const DescriptorList& other) {
    const size_t n = other.size();
    if (n == 0) return;
    Header* fresh = AllocateOwn(n);
    size_t i = 0;
    try {
      for (; i < n; ++i) ::new (static_cast<void*>(Elements(fresh) + i)) T(other[i]);
    } catch (...) {
      std::destroy_n(Elements(fresh), i);
      Free(fresh);
      throw;
    }
    fresh->size = n;
    block_ = Word(fresh);
  }
  // A block of an arena stays with the arena: its elements are moved into a
  // block of our own (an allocation failure here ends the program, as moves
  // do not fail).
  DescriptorList(DescriptorList&& other) noexcept { TakeFrom(other); }
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
      TakeFrom(other);
    }
    return *this;
  }
  ~DescriptorList() { Release(); }

  friend bool operator==(const DescriptorList& a, const DescriptorList& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (!(a[i] == b[i])) return false;
    return true;
  }

  // Lists holding arena blocks trade their elements.
  void swap(DescriptorList& other) noexcept {
    NoteChange();
    other.NoteChange();
    if (InArena() || other.InArena()) {
      DescriptorList t(std::move(other));
      other = std::move(*this);
      *this = std::move(t);
      return;
    }
    if (block_ || other.block_) NoteOwnBlock();
    std::swap(block_, other.block_);
  }

  size_t size() const noexcept { return block_ ? Block()->size : 0; }
  size_t capacity() const noexcept { return block_ ? Block()->capacity : 0; }
  bool empty() const noexcept { return size() == 0; }

  T* data() noexcept {
    NoteChange();
    return block_ ? Elements(Block()) : nullptr;
  }
  const T* data() const noexcept { return block_ ? Elements(Block()) : nullptr; }
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
    NoteChange();
    if (n > capacity()) Grow(n);
  }

  // The new element is built before anything moves, so an argument that
  // refers into the list stays valid and a throwing constructor leaves the
  // list as it was.
  template <class... Args>
  T& emplace_back(Args&&... args) {
    NoteChange();
    // A copy holds blocks of its own.  (An element moved in while the arena
    // is filled was built in it too: nothing else runs meanwhile.)
    if constexpr (!std::is_trivially_destructible_v<T> &&
                  ((std::is_lvalue_reference_v<Args> && std::is_same_v<std::remove_cvref_t<Args>, T>) || ...))
      if (detail::ListArena* arena = detail::ListArena::Current()) arena->MarkChanged();
    const size_t n = size();
    if (n < capacity()) {
      T* slot = Elements(Block()) + n;
      ::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
      ++Block()->size;
      return *slot;
    }
    const size_t cap = n == 0 ? 1 : 2 * n;
    Header* fresh = Allocate(cap);
    T* slot = Elements(fresh) + n;
    try {
      ::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
    } catch (...) {
      Free(fresh);
      throw;
    }
    MoveInto(fresh, n);
    fresh->size = n + 1;
    return *slot;
  }
  // Appends `n` elements copied from `p` (which must not point into the
  // list), growing once.
  void append(const T* p, size_t n) {
    if (n == 0) return;
    reserve(size() + n);
    if constexpr (std::is_trivially_copyable_v<T>) {
      // memmove: the library call, quicker on short runs than what the
      // compiler inlines for a memcpy of unknown length.
      Header* h = Block();
      std::memmove(static_cast<void*>(Elements(h) + h->size), p, n * sizeof(T));
      h->size += n;
    } else {
      for (size_t i = 0; i < n; ++i) emplace_back(p[i]);
    }
  }

  void push_back(const T& v) { emplace_back(v); }
  void push_back(T&& v) { emplace_back(std::move(v)); }
  void pop_back() noexcept {
    NoteChange();
    back().~T();
    --Block()->size;
  }

  void resize(size_t n) {
    NoteChange();
    size_t s = size();
    if (n < s) {
      for (size_t i = n; i < s; ++i) Elements(Block())[i].~T();
      Block()->size = n;
      return;
    }
    reserve(n);
    for (; s < n; ++s) emplace_back();
  }

  // Keeps the storage, as std::vector does.
  void clear() noexcept {
    NoteChange();
    if (!block_) return;
    Header* h = Block();
    std::destroy_n(Elements(h), h->size);
    h->size = 0;
  }

 private:
  friend class DescriptorSet;

  bool InArena() const noexcept { return (block_ & kArenaBlock) != 0; }

  // Every way to write to the elements or change the list passes here (see
  // ListArena::NoteChange).  Elements that are trivially destructible can
  // hold nothing of their own, so their lists need not tell.
  void NoteChange() noexcept {
    if constexpr (!std::is_trivially_destructible_v<T>)
      if (InArena()) Block()->arena->NoteChange();
  }

  // A list of descriptors took a block of its own, or one it was not given
  // by a loop (see detail::OwnBlocks).  Entry lists and texts need not
  // tell: they are reached for writing through a list of descriptors only,
  // which tells its arena.
  static void NoteOwnBlock() noexcept {
    if constexpr (std::is_base_of_v<Descriptor, T>)
      if (!detail::SharedArenaScope::Active()) detail::OwnBlocks::Add();
  }

  // Moves what `other` holds here (this list holds nothing).  An arena's
  // block moves along only while that arena is being filled (the list grows
  // or is built within the loop or section that owns it).
  void TakeFrom(DescriptorList& other) noexcept {
    if (!other.InArena() || other.Block()->arena == detail::ListArena::Current()) {
      block_ = std::exchange(other.block_, 0);
      if (block_ && !InArena()) NoteOwnBlock();
      return;
    }
    Header* from = other.Block();
    const size_t n = from->size;
    if (n == 0) return;
    Header* fresh;
    try {
      fresh = AllocateOwn(n);
    } catch (...) {
      std::terminate();
    }
    Relocate(Elements(from), Elements(fresh), n);
    from->size = 0;
    fresh->size = n;
    block_ = Word(fresh);
  }

  static T* Elements(Header* h) noexcept { return reinterpret_cast<T*>(h + 1); }
  static const T* Elements(const Header* h) noexcept { return reinterpret_cast<const T*>(h + 1); }

  // From the arena of the loop being parsed, if any.
  static Header* Allocate(size_t capacity) {
    detail::ListArena* arena = detail::ListArena::Current();
    if (!arena) return AllocateOwn(capacity);
    Header* h = static_cast<Header*>(arena->Allocate(Bytes(capacity)));
    h->size = 0;
    h->capacity = capacity;
    h->arena = arena;
    return h;
  }
  static Header* AllocateOwn(size_t capacity) {
    Header* h = static_cast<Header*>(::operator new(Bytes(capacity)));
    NoteOwnBlock();
    h->size = 0;
    h->capacity = capacity;
    h->arena = nullptr;
    return h;
  }
  static size_t Bytes(size_t capacity) {
    if (capacity > (size_t(-1) / 2 - sizeof(Header)) / sizeof(T)) throw std::bad_alloc();
    return sizeof(Header) + capacity * sizeof(T);
  }
  static void Free(Header* h) noexcept {
    if (!h->arena) ::operator delete(h);
  }

  // Moves n elements from `from` to the raw memory at `to`, leaving `from`
  // raw.
  static void Relocate(T* from, T* to, size_t n) noexcept {
    static_assert(std::is_nothrow_move_constructible_v<T>);
    for (size_t i = 0; i < n; ++i) {
      ::new (static_cast<void*>(to + i)) T(std::move(from[i]));
      from[i].~T();
    }
  }

  // Moves the first n elements into `fresh` and makes it the list's block.
  void MoveInto(Header* fresh, size_t n) noexcept {
    if (block_) {
      // Elements from a block of the list's own, or of another arena, may
      // hold blocks of their own: an arena taking them in no longer vouches
      // for its elements.
      if constexpr (!std::is_trivially_destructible_v<T>)
        if (fresh->arena && n != 0 && (!InArena() || Block()->arena != fresh->arena)) fresh->arena->MarkChanged();
      Relocate(Elements(Block()), Elements(fresh), n);
      Free(Block());
    }
    fresh->size = n;
    block_ = Word(fresh);
  }

  void Grow(size_t capacity) { MoveInto(Allocate(capacity), size()); }

  void Release() noexcept {
    if (!block_) return;
    Header* h = Block();
    if constexpr (!std::is_trivially_destructible_v<T>) std::destroy_n(Elements(h), h->size);
    // Whether the block is the arena's shows in the word itself: a list of
    // plain elements is released without a look at its block.
    if (!InArena()) ::operator delete(h);
    block_ = 0;
  }

  // The block's address, with kArenaBlock set for a block of an arena.
  static constexpr std::uintptr_t kArenaBlock = 1;
  static_assert(alignof(Header) > kArenaBlock, "the low bit of a block's address is free");
  Header* Block() const noexcept { return reinterpret_cast<Header*>(block_ & ~kArenaBlock); }
  static std::uintptr_t Word(Header* h) noexcept {
    return reinterpret_cast<std::uintptr_t>(h) | (h->arena ? kArenaBlock : 0);
  }

  std::uintptr_t block_ = 0;
};

// The entries inside a descriptor (ratings, names, items...) are kept in the
// same kind of list.
template <class T>
using EntryList = DescriptorList<T>;

}  // namespace lib13818
