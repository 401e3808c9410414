// TImageList: pictures of one size in one list (the wizard's 16 x 16 component pictures,
// the list box's item pictures), drawn transparently by index. Move-only; the list is
// destroyed with the object unless it was borrowed (the system's image lists).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace kvb {

class TImageList {
 public:
  TImageList() = default;
  // A new, empty list of `width` x `height` pictures with masks. Valid() is false when
  // the common-controls library is missing.
  TImageList(int width, int height);
  // Wraps a list the object does not own (such as the shell's system image list).
  static TImageList Borrow(HIMAGELIST list);
  ~TImageList();
  TImageList(TImageList&& other) noexcept
      : list_(std::exchange(other.list_, nullptr)), owned_(other.owned_) {}
  TImageList& operator=(TImageList&& other) noexcept;
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  bool Valid() const { return list_ != nullptr; }
  HIMAGELIST Handle() const { return list_; }
  int Count() const;
  SIZE ImageSize() const;

  // Appends `bitmap` (copied; one picture, or several side by side), the pixels of
  // `transparent` becoming transparent. Returns the index of its first picture, -1 on
  // failure.
  int AddMasked(HBITMAP bitmap, COLORREF transparent);
  // Draws picture `index` transparently with its top-left corner at (x, y); nothing for
  // an index outside the list.
  void Draw(HDC dc, int index, int x, int y) const;
  // A copy of picture `index` as an icon the caller destroys; null when there is none.
  HICON ExtractIcon(int index) const;

 private:
  HIMAGELIST list_ = nullptr;
  bool owned_ = true;
};

}  // namespace kvb
