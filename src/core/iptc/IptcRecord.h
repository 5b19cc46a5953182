#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/bytes/TextEncoding.h"
#include "core/exif/TagEntry.h"
#include "core/iptc/IptcCodec.h"

namespace lumatrim {

// One value of an item: the bytes as the file held them, or text the user
// gave (always UTF-8). Only the latter are rewritten when the record is saved.
struct IptcValue {
  std::string Bytes;
  bool Edited = false;
};

// One item: its table row (Record, Tag, Name, Desc, Size) and its values.
// Keywords and SuppCategory hold one value per dataset; every other item one.
struct IptcItem {
  TagEntry Row;
  std::vector<IptcValue> Values;
};

// The IPTC record of one photo: the datasets of its APP13 "Photoshop 3.0"
// block as items, editable by name, and built back into a new APP13 payload
// (the writer's SaveIptc puts it into the file).
//
// Texts given to and returned by the record are UTF-8. Values read from the
// file stay bytes until shown or saved; bytes that are not UTF-8 are taken to
// be in the record's legacy code page. A save writes every untouched value
// byte for byte, unless the record must be UTF-8 (1:90) because it was so
// marked or a value the user gave needs it: then untouched values are
// converted from the code page, so they read back as the same characters.
class IptcRecord {
 public:
  explicit IptcRecord(CodePage codePage = LegacyCodePage());
  CodePage GetCodePage() const { return codePage_; }
  void SetCodePage(CodePage page) { codePage_ = page; }

  int Count() const { return static_cast<int>(items_.size()); }
  // Item i with Data = its display text: the value, or for Keywords and
  // SuppCategory the values as comma text (quoted where they hold blanks,
  // commas or quotes).
  TagEntry GetItem(int i) const;
  // Item i's values as UTF-8 text, one per dataset.
  std::vector<std::string> DisplayValues(int i) const;
  // The user's text for item i; for a repeatable item comma text, whose
  // items become the values. Values whose text did not change keep their bytes.
  void SetItemValue(int i, const std::string& value);
  void Clear();
  // Appends a table or custom item holding item.Data as bytes read from a
  // file; ignored when item.Tag is 0. Returns Count() - 1.
  int AppendItem(const TagEntry& item);
  bool HasItems() const { return !items_.empty(); }
  // True when a value of item i is the user's rather than the file's.
  bool ItemEdited(int i) const;

  // Index of the first item whose Name equals name ignoring case, or -1.
  int IndexOfName(const std::string& name) const;
  void RemoveItem(const std::string& name);
  // Sets an item's value as SetItemValue does (an empty value leaves an
  // existing item alone), or adds the table's item of that name. -1 when the
  // name is unknown.
  int SetValue(const std::string& name, const std::string& value);
  // Adds the items of the comma text value that the item does not hold yet
  // (letter case ignored, blanks around them removed).
  int AddMultiple(const std::string& name, const std::string& value);
  // AddMultiple for Keywords and SuppCategory, SetValue for the rest.
  int AddByName(const std::string& name, const std::string& value);
  // The display text of the named item, or defaultValue.
  std::string GetValue(const std::string& name, const std::string& defaultValue) const;
  // Parses an APP13 segment as kept (from its 2-byte length field on).
  void ParseApp13(const std::string& bytes);
  // A new APP13 payload from the items. Throws LumatrimError when a value or
  // the whole block is too long for its length field.
  std::string BuildApp13() const;
  // Every item as GetItem gives it, in order.
  std::vector<TagEntry> ItemsInUse() const;

 private:
  std::string Shown(const IptcValue& value) const;
  IptcValue Typed(const std::string& text) const;

  CodePage codePage_;
  std::vector<IptcItem> items_;
  std::string charsetMarker_;  // the value of 1:90 as read, empty when none
  std::optional<std::string> recordVersion_;  // the value of 2:0 as read
  std::vector<RawIptcDataset> envelope_;      // record 1 as read, 1:90 aside: written back as it was
};

}  // namespace lumatrim
