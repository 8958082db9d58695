#pragma once
// A list that owns its entries: deleting an entry, clearing or destroying the
// list frees them. Entries are handed out as plain pointers that stay valid
// until the entry is deleted, because only the pointers move on insertion.
#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

template <typename T>
class TOwningObjectList {
  using Storage = std::vector<std::unique_ptr<T>>;

  // Iterates the entries themselves rather than their owning pointers.
  template <typename Inner, typename Item>
  class EntryIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = Item*;
    using reference = Item&;

    EntryIterator() = default;
    explicit EntryIterator(Inner inner) : inner_(inner) {}
    reference operator*() const { return **inner_; }
    pointer operator->() const { return inner_->get(); }
    EntryIterator& operator++() {
      ++inner_;
      return *this;
    }
    EntryIterator operator++(int) { return EntryIterator(inner_++); }
    bool operator==(const EntryIterator& other) const = default;

   private:
    Inner inner_{};
  };

 public:
  using iterator = EntryIterator<typename Storage::iterator, T>;
  using const_iterator = EntryIterator<typename Storage::const_iterator, const T>;

  TOwningObjectList() = default;
  TOwningObjectList(const TOwningObjectList&) = delete;
  TOwningObjectList& operator=(const TOwningObjectList&) = delete;
  TOwningObjectList(TOwningObjectList&&) noexcept = default;
  TOwningObjectList& operator=(TOwningObjectList&&) noexcept = default;
  ~TOwningObjectList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }

  // Out-of-range indexes throw std::out_of_range.
  T* Items(int index) { return items_[CheckedIndex(index, Count() - 1)].get(); }
  const T* Items(int index) const { return items_[CheckedIndex(index, Count() - 1)].get(); }
  T* operator[](int index) { return Items(index); }
  const T* operator[](int index) const { return Items(index); }

  // The list takes ownership; a null entry is refused, since every typed
  // operation reads its entries.
  T* Add(std::unique_ptr<T> item) { return Insert(Count(), std::move(item)); }
  T* Add(T* item) { return Add(std::unique_ptr<T>(item)); }
  T* Insert(int index, std::unique_ptr<T> item) {
    if (!item) throw std::invalid_argument("TOwningObjectList: null entry");
    const std::size_t position = CheckedIndex(index, Count());
    return items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), std::move(item))->get();
  }
  T* Insert(int index, T* item) { return Insert(index, std::unique_ptr<T>(item)); }

  void Delete(int index) { Extract(index); }
  // Removes the entry without freeing it; the caller owns it then.
  std::unique_ptr<T> Extract(int index) {
    const auto position = items_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index, Count() - 1));
    std::unique_ptr<T> item = std::move(*position);
    items_.erase(position);
    return item;
  }
  void Clear() { items_.clear(); }

  // Index of the first entry the predicate accepts, or -1.
  template <typename Predicate>
  int FindIndex(Predicate accepts) const {
    for (int i = 0; i < Count(); ++i)
      if (accepts(std::as_const(*items_[static_cast<std::size_t>(i)]))) return i;
    return -1;
  }
  int IndexOf(const T* item) const {
    return FindIndex([item](const T& entry) { return &entry == item; });
  }

  iterator begin() { return iterator(items_.begin()); }
  iterator end() { return iterator(items_.end()); }
  const_iterator begin() const { return const_iterator(items_.cbegin()); }
  const_iterator end() const { return const_iterator(items_.cend()); }

 private:
  static std::size_t CheckedIndex(int index, int highest) {
    if (index < 0 || index > highest) throw std::out_of_range("TOwningObjectList: index out of range");
    return static_cast<std::size_t>(index);
  }

  Storage items_;
};
