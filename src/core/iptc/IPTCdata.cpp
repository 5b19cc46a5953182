#include "core/iptc/IPTCdata.h"

#include "core/bytes/Error.h"
#include "core/exif/ImgData.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcCodec.h"
#include "core/iptc/IptcTagTable.h"
#include "core/jpeg/JpegImage.h"

namespace lumatrim {

namespace {
constexpr int kCapacityStep = 25;
}

TIPTCdata::TIPTCdata(TimgData* owner) : owner_(owner) {}
TIPTCdata::~TIPTCdata() = default;

void TIPTCdata::SetCount(int n) {
  if (n < 0) n = 0;
  if (n > Capacity()) items_.resize(static_cast<size_t>(n));
  itemCount_ = n;
}

void TIPTCdata::Clear() {
  itemCount_ = 0;
  for (TTagEntry& item : items_) item = TTagEntry();
}

int TIPTCdata::AppendItem(const TTagEntry& item) {
  if (item.Tag == 0) return itemCount_ - 1;
  if (itemCount_ >= Capacity() - 1) items_.resize(items_.size() + kCapacityStep);
  items_[static_cast<size_t>(itemCount_)] = item;
  ++itemCount_;
  return itemCount_ - 1;
}

int TIPTCdata::IndexOfName(const std::string& name) const {
  for (int i = 0; i < itemCount_; ++i) {
    if (SameNameIgnoringCase(items_[static_cast<size_t>(i)].Name, name)) return i;
  }
  return -1;
}

void TIPTCdata::RemoveItem(const std::string& name) {
  const int i = IndexOfName(name);
  if (i < 0) return;
  for (int k = i; k + 1 < itemCount_; ++k) items_[static_cast<size_t>(k)] = items_[static_cast<size_t>(k + 1)];
  --itemCount_;
  items_[static_cast<size_t>(itemCount_)] = TTagEntry();
}

int TIPTCdata::SetValue(const std::string& name, const std::string& value) {
  const int i = IndexOfName(name);
  if (i >= 0) {
    if (!value.empty()) items_[static_cast<size_t>(i)].Data = value;
    return i;
  }
  const int r = TableIndexOfName(name);
  if (r < 0) return -1;
  TTagEntry item = IptcItemFromRow(r);
  item.Data = value;
  return AppendItem(item);
}

int TIPTCdata::AddMultiple(const std::string& name, const std::string& value) {
  const int i = IndexOfName(name);
  if (i < 0) return SetValue(name, MergeCommaLists("", value));
  if (!value.empty()) {
    TTagEntry& item = items_[static_cast<size_t>(i)];
    item.Data = MergeCommaLists(item.Data, value);
  }
  return i;
}

int TIPTCdata::AddByName(const std::string& name, const std::string& value) {
  const int r = TableIndexOfName(name);
  if (r < 0) return -1;
  return IsRepeatableDataset(IptcTagTable[r].Def.Tag) ? AddMultiple(name, value) : SetValue(name, value);
}

std::string TIPTCdata::GetValue(const std::string& name, const std::string& defaultValue) const {
  const int i = IndexOfName(name);
  return i >= 0 ? items_[static_cast<size_t>(i)].Data : defaultValue;
}

bool TIPTCdata::ReadFromFile(const std::string& path) {
  Clear();
  TimgData* owner = owner_;
  if (owner == nullptr) return false;
  // ReadPhoto releases the owner's store; when that is this one, `this` is
  // gone afterwards and only the owner's new store may be used.
  const bool replaced = owner->IptcInfo.get() == this;
  owner->ReadPhoto(path);
  TIPTCdata* target = replaced ? owner->IptcInfo.get() : this;
  if (target == nullptr) return false;
  const tSection* segment = owner->Slot(owner->IptcSection);
  if (segment != nullptr) target->ParseApp13(segment->Content);
  return target->HasItems();
}

void TIPTCdata::ReadFromOwner() {
  Clear();
  if (owner_ == nullptr) return;
  if (const tSection* segment = owner_->Slot(owner_->IptcSection)) ParseApp13(segment->Content);
}

void TIPTCdata::ParseApp13(const std::string& bytes) {
  Clear();
  const int64_t length = static_cast<int64_t>(bytes.size());
  // 1-based position of the first "Photoshop 3.0", 0 when absent; the search
  // for the first dataset starts 13 bytes on either way.
  const size_t found = bytes.find("Photoshop 3.0");
  const int64_t start = (found == std::string::npos ? 0 : static_cast<int64_t>(found) + 1) + 13;
  int64_t j = length + 1;
  for (int64_t p = start < 1 ? 1 : start; p < length; ++p) {
    const uint8_t record = tEndInd::ByteAt(bytes, p + 1);
    if (tEndInd::ByteAt(bytes, p) == 0x1C && (record == 2 || record == 8)) {
      j = p;
      break;
    }
  }
  int64_t pos = j + 1;
  while (pos < length - 2) {
    const TTagEntry item = ParseDataset(bytes, pos);
    if (IsRepeatableDataset(item.Tag)) {
      AddMultiple(item.Name, item.Data);
    } else {
      AppendItem(item);
    }
  }
}

std::vector<TTagEntry> TIPTCdata::ItemsInUse() const {
  return {items_.begin(), items_.begin() + itemCount_};
}

std::string TIPTCdata::BuildApp13() const { return BuildApp13Payload(ItemsInUse()); }

void TIPTCdata::SaveToFile(const std::string& path, const std::string& sourcePath) {
  if (owner_ == nullptr) throw LumatrimError("The IPTC data of \"" + path + "\" belongs to no photo.");
  // Everything that can be refused is refused before the file is touched.
  std::string payload = BuildApp13();
  if (const tSection* old = owner_->Slot(owner_->IptcSection)) payload = KeepOtherResources(payload, old->Content);
  JpegImage image;
  image.LoadFromFile(sourcePath.empty() ? path : sourcePath);
  owner_->SetIptcSegment(payload);
  owner_->SaveJpegWithMetadata(image, path, true);
}

}  // namespace lumatrim
