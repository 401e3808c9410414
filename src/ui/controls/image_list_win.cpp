#include "ui/controls/image_list_win.h"

#include "ui/controls/common_controls_win.h"

namespace kvb {

TImageList::TImageList(int width, int height) {
  const CommonControls& api = CommonControls::Get();
  if (api.Create)
    list_ = api.Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4);
}

TImageList TImageList::Borrow(HIMAGELIST list) {
  TImageList borrowed;
  borrowed.list_ = list;
  borrowed.owned_ = false;
  return borrowed;
}

TImageList::~TImageList() {
  if (list_ && owned_ && CommonControls::Get().Destroy)
    CommonControls::Get().Destroy(list_);
}

TImageList& TImageList::operator=(TImageList&& other) noexcept {
  if (this != &other) {
    TImageList old(std::move(*this));
    list_ = std::exchange(other.list_, nullptr);
    owned_ = other.owned_;
  }
  return *this;
}

int TImageList::Count() const {
  const CommonControls& api = CommonControls::Get();
  return list_ && api.GetImageCount ? api.GetImageCount(list_) : 0;
}

SIZE TImageList::ImageSize() const {
  int width = 0;
  int height = 0;
  const CommonControls& api = CommonControls::Get();
  if (list_ && api.GetIconSize)
    api.GetIconSize(list_, &width, &height);
  return {width, height};
}

int TImageList::AddMasked(HBITMAP bitmap, COLORREF transparent) {
  const CommonControls& api = CommonControls::Get();
  if (!list_ || !bitmap || !api.AddMasked)
    return -1;
  return api.AddMasked(list_, bitmap, transparent);
}

void TImageList::Draw(HDC dc, int index, int x, int y) const {
  const CommonControls& api = CommonControls::Get();
  if (list_ && api.Draw && index >= 0 && index < Count())
    api.Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
}

HICON TImageList::ExtractIcon(int index) const {
  const CommonControls& api = CommonControls::Get();
  if (!list_ || !api.GetIcon || index < 0 || index >= Count())
    return nullptr;
  return api.GetIcon(list_, index, ILD_TRANSPARENT);
}

}  // namespace kvb
