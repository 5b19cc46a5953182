#pragma once
#include <string>
#include <vector>

#include "core/exif/TagEntry.h"

namespace lumatrim {

class TimgData;

// The IPTC item store of one photo: the datasets of its APP13 "Photoshop 3.0"
// block as items (key name, display name, value bytes), editable by name, and
// built back into a new APP13 payload. Keywords and SuppCategory hold all their
// occurrences in one item as comma text.
class TIPTCdata {
 public:
  explicit TIPTCdata(TimgData* owner);
  virtual ~TIPTCdata();
  TIPTCdata(const TIPTCdata&) = delete;
  TIPTCdata& operator=(const TIPTCdata&) = delete;

  TimgData* Owner() const { return owner_; }
  int Capacity() const { return static_cast<int>(items_.size()); }

  int Count() const { return itemCount_; }
  void SetCount(int n);
  TTagEntry GetItem(int i) const { return items_[static_cast<size_t>(i)]; }
  void SetItemValue(int i, const std::string& value) { items_[static_cast<size_t>(i)].Data = value; }
  void Clear();
  // Ignores an item with Tag 0; returns Count() - 1.
  int AppendItem(const TTagEntry& item);
  bool HasItems() const { return itemCount_ > 0; }

  // Index of the first item whose Name equals name ignoring case, or -1.
  virtual int IndexOfName(const std::string& name) const;
  virtual void RemoveItem(const std::string& name);
  // Sets an item's value (an empty value leaves an existing item alone), or
  // adds the table's item of that name. -1 when the name is unknown.
  virtual int SetValue(const std::string& name, const std::string& value);
  // Merges the comma list value into the item's list.
  virtual int AddMultiple(const std::string& name, const std::string& value);
  // AddMultiple for Keywords and SuppCategory, SetValue for the rest.
  virtual int AddByName(const std::string& name, const std::string& value);
  virtual std::string GetValue(const std::string& name, const std::string& defaultValue) const;
  // Reads the photo into the owner and parses its IPTC block. When this store
  // is the owner's, the read replaces it, so the items land in the owner's new
  // store (Owner()->IptcInfo), not here; the result tells whether it has items.
  virtual bool ReadFromFile(const std::string& path);

  // Parses the owner's APP13 segment; the caller checks IptcPresent first.
  void ReadFromOwner();
  // Parses an APP13 segment as kept (from its 2-byte length field on).
  void ParseApp13(const std::string& bytes);
  // A new APP13 payload from the items. Throws LumatrimError when a value or
  // the whole block is too long for its length field.
  std::string BuildApp13() const;
  // Writes the items into the JPEG file at path, the image data taken from
  // sourcePath (from path itself when empty). Throws LumatrimError.
  void SaveToFile(const std::string& path, const std::string& sourcePath = "");

  // The items in use, in order.
  std::vector<TTagEntry> ItemsInUse() const;

 private:
  TimgData* owner_;
  std::vector<TTagEntry> items_;  // capacity grows by 25 slots
  int itemCount_ = 0;
};

}  // namespace lumatrim
