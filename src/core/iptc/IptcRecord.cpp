#include "core/iptc/IptcRecord.h"

#include "core/bytes/Error.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcCodec.h"
#include "core/iptc/IptcTagTable.h"

namespace lumatrim {
namespace {

// Version 2 of the record, for a record read without one or made anew.
constexpr char kDefaultRecordVersion[] = {0x00, 0x02};

bool HasHighByte(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 127) return true;
  }
  return false;
}

bool Repeatable(const TagEntry& row) { return IsRepeatableDataset(row.Record, row.Tag); }

}  // namespace

IptcRecord::IptcRecord(CodePage codePage) : codePage_(codePage) {}

std::string IptcRecord::Shown(const IptcValue& value) const {
  return value.Edited ? value.Bytes : ToUtf8(value.Bytes, codePage_);
}

IptcValue IptcRecord::Typed(const std::string& text) const { return {ToUtf8(text, codePage_), true}; }

TagEntry IptcRecord::GetItem(int i) const {
  const IptcItem& item = items_[static_cast<size_t>(i)];
  TagEntry entry = item.Row;
  if (Repeatable(item.Row)) entry.Data = WriteCommaText(DisplayValues(i));
  else if (!item.Values.empty()) entry.Data = Shown(item.Values.front());
  return entry;
}

std::vector<std::string> IptcRecord::DisplayValues(int i) const {
  std::vector<std::string> texts;
  for (const IptcValue& value : items_[static_cast<size_t>(i)].Values) texts.push_back(Shown(value));
  return texts;
}

void IptcRecord::SetItemValue(int i, const std::string& value) {
  IptcItem& item = items_[static_cast<size_t>(i)];
  if (!Repeatable(item.Row)) {
    if (item.Values.empty() || Shown(item.Values.front()) != value) item.Values = {Typed(value)};
    return;
  }
  // Each item of the comma text takes over an old value showing the same
  // text, so keywords the user left alone keep their bytes.
  std::vector<IptcValue> old = std::move(item.Values);
  std::vector<bool> taken(old.size(), false);
  item.Values.clear();
  for (const std::string& text : ReadCommaText(value)) {
    size_t k = 0;
    while (k < old.size() && (taken[k] || Shown(old[k]) != text)) ++k;
    if (k < old.size()) {
      taken[k] = true;
      item.Values.push_back(old[k]);
    } else {
      item.Values.push_back(Typed(text));
    }
  }
}

void IptcRecord::Clear() {
  items_.clear();
  charsetMarker_.clear();
  recordVersion_.reset();
  envelope_.clear();
}

bool IptcRecord::ItemEdited(int i) const {
  for (const IptcValue& value : items_[static_cast<size_t>(i)].Values) {
    if (value.Edited) return true;
  }
  return false;
}

int IptcRecord::AppendItem(const TagEntry& item) {
  if (item.Tag == 0) return Count() - 1;
  IptcItem added{item, {{item.Data, false}}};
  added.Row.Data.clear();
  items_.push_back(std::move(added));
  return Count() - 1;
}

int IptcRecord::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameNameIgnoringCase(items_[static_cast<size_t>(i)].Row.Name, name)) return i;
  }
  return -1;
}

void IptcRecord::RemoveItem(const std::string& name) {
  const int i = IndexOfName(name);
  if (i >= 0) items_.erase(items_.begin() + i);
}

int IptcRecord::SetValue(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (i >= 0) {
    if (!value.empty()) SetItemValue(i, value);
    return i;
  }
  const int r = TableIndexOfName(name);
  if (r < 0) return -1;
  items_.push_back({IptcItemFromRow(r), {}});
  i = Count() - 1;
  // An item added with no value still gets its one empty dataset.
  if (value.empty() && !Repeatable(items_.back().Row)) items_.back().Values = {Typed("")};
  else SetItemValue(i, value);
  return i;
}

int IptcRecord::AddMultiple(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (i < 0) {
    const int r = TableIndexOfName(name);
    if (r < 0) return -1;
    items_.push_back({IptcItemFromRow(r), {}});
    i = Count() - 1;
  }
  IptcItem& item = items_[static_cast<size_t>(i)];
  for (const std::string& raw : ReadCommaText(value)) {
    const std::string text = TrimBlanks(raw);
    bool known = false;
    for (const IptcValue& have : item.Values) known = known || SameNameIgnoringCase(Shown(have), text);
    if (!known) item.Values.push_back(Typed(text));
  }
  return i;
}

int IptcRecord::AddByName(const std::string& name, const std::string& value) {
  const int r = TableIndexOfName(name);
  if (r < 0) return -1;
  return Repeatable(IptcItemFromRow(r)) ? AddMultiple(name, value) : SetValue(name, value);
}

std::string IptcRecord::GetValue(const std::string& name, const std::string& defaultValue) const {
  const int i = IndexOfName(name);
  return i >= 0 ? GetItem(i).Data : defaultValue;
}

void IptcRecord::ParseApp13(const std::string& bytes) {
  Clear();
  bool charsetSeen = false;
  for (const RawIptcDataset& d : ReadIptcDatasets(bytes)) {
    if (d.Record == 1 && d.Number == 90 && !charsetSeen) {
      charsetSeen = true;
      charsetMarker_ = d.Value;
    } else if (d.Record == 1 && d.Number != 90) {
      envelope_.push_back(d);  // news agencies' routing data, never edited here
    }
    if (d.Record == 2 && d.Number == 0 && !recordVersion_) recordVersion_ = d.Value;
    if (d.Record != 2 && d.Record != 8) continue;  // the envelope (1) is kept apart
    TagEntry row;
    const int r = TableIndexOf(d.Record, d.Number);
    if (r >= 0 && std::string(IptcTagTable[r].Def.Name) != "SKIP") {
      row = IptcItemFromRow(r);
    } else {
      row.Name = row.Desc = "Custom_" + std::to_string(d.Number);
      row.Tag = static_cast<uint16_t>(d.Number);
      row.Record = static_cast<uint16_t>(d.Record);
      row.Size = kIptcCustomSize;
    }
    // Every occurrence of a repeatable dataset is one value of the same item.
    const int i = Repeatable(row) ? IndexOfName(row.Name) : -1;
    if (i >= 0) {
      items_[static_cast<size_t>(i)].Values.push_back({d.Value, false});
    } else {
      row.Data = d.Value;
      AppendItem(row);  // record versions (dataset 0) are not items
    }
  }
}

std::vector<TagEntry> IptcRecord::ItemsInUse() const {
  std::vector<TagEntry> out;
  for (int i = 0; i < Count(); ++i) out.push_back(GetItem(i));
  return out;
}

std::string IptcRecord::BuildApp13() const {
  const bool markedUtf8 = charsetMarker_ == kUtf8Designation;
  bool utf8 = markedUtf8;
  for (const IptcItem& item : items_) {
    for (const IptcValue& value : item.Values) utf8 = utf8 || (value.Edited && HasHighByte(value.Bytes));
  }
  std::vector<RawIptcDataset> datasets;
  for (const IptcItem& item : items_) {
    for (const IptcValue& value : item.Values) {
      datasets.push_back({item.Row.Record, item.Row.Tag, utf8 ? Shown(value) : value.Bytes});
    }
  }
  const std::string marker = utf8 ? std::string(kUtf8Designation) : charsetMarker_;
  return BuildApp13Payload(marker, recordVersion_.value_or(std::string(kDefaultRecordVersion, 2)), datasets, envelope_);
}

}  // namespace lumatrim
