#include "core/iptc/IptcCodec.h"

#include "core/bytes/EndInd.h"
#include "core/bytes/Error.h"
#include "core/bytes/TextEncoding.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcTagTable.h"

namespace lumatrim {
namespace {

// ESC % G: ISO 2022 designation of UTF-8, the value of dataset 1:90.
const std::string kUtf8Designation = "\x1B\x25\x47";

bool HasHighByte(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 127) return true;
  }
  return false;
}

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned v : values) out += static_cast<char>(v & 0xFF);
  return out;
}

}  // namespace

std::string EncodeDataset(int record, int dataset, const std::string& value) {
  const size_t n = value.size();
  if (n > kMaxIptcValue) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC value of dataset " + std::to_string(record) + ":" + std::to_string(dataset) + " is " +
                        std::to_string(n) + " bytes long; at most " + std::to_string(kMaxIptcValue) +
                        " bytes can be written.");
  }
  return Bytes({0x1C, static_cast<unsigned>(record), static_cast<unsigned>(dataset), static_cast<unsigned>(n >> 8),
                static_cast<unsigned>(n & 0xFF)}) +
         value;
}

std::string EncodeRepeated(int record, int dataset, const std::string& value) {
  // The store keeps repeatable values as comma text, which quotes an item
  // holding a blank, a comma or a quote ("New York", "Smith, John"). Commas
  // inside quotes do not split, and a quoted part loses its quotes, so a saved
  // keyword comes back as it was instead of gaining quote characters or being
  // cut in two. Unquoted parts are split and trimmed as always.
  std::string out;
  std::string rest = value;
  while (!TrimBlanks(rest).empty()) {
    size_t comma = std::string::npos;
    bool quoted = false;
    for (size_t i = 0; i < rest.size(); ++i) {
      if (rest[i] == '"') quoted = !quoted;
      if (rest[i] == ',' && !quoted) { comma = i; break; }
    }
    std::string part;
    if (comma != std::string::npos) {
      part = TrimBlanks(rest.substr(0, comma));
      rest = TrimBlanks(rest.substr(comma + 1));
    } else {
      part = rest;
      rest.clear();
    }
    const std::string trimmed = TrimBlanks(part);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"') {
      const std::vector<std::string> items = ReadCommaText(trimmed);
      // A keyword that itself begins with a double quote stays quoted: read
      // back, a leading quote opens quoted comma text, so the bare keyword
      // would lose half its quotes on every save.
      if (items.size() == 1 && (items.front().empty() || items.front().front() != '"')) part = items.front();
    }
    out += EncodeDataset(record, dataset, part);
  }
  return out;
}

TTagEntry ParseDataset(const std::string& bytes, int64_t& pos) {
  TTagEntry item;
  const int record = tEndInd::ByteAt(bytes, pos);
  const int dataset = tEndInd::ByteAt(bytes, pos + 1);
  const int64_t n = tEndInd::WordAt(bytes, pos + 2, true);
  pos += 4;
  if (record == 2 || record == 8) {
    const int r = TableIndexOf(record, dataset);
    if (r >= 0 && std::string(IptcTagTable[r].Def.Name) != "SKIP") {
      item = IptcItemFromRow(r);
    } else {
      item.Name = item.Desc = "Custom_" + std::to_string(dataset);
      item.Tag = static_cast<uint16_t>(dataset);
      item.Record = static_cast<uint16_t>(record);
      item.Size = kIptcCustomSize;
    }
    item.Data = tEndInd::CopyFrom(bytes, pos, n);
  }
  pos += n + 1;
  return item;
}

std::string BuildApp13Payload(const std::vector<TTagEntry>& items) {
  bool utf8 = false;
  for (const TTagEntry& item : items) utf8 = utf8 || HasHighByte(item.Data);

  std::string data;
  for (const TTagEntry& item : items) {
    // Values that are not UTF-8 came from older files in Latin-1.
    const std::string value = utf8 ? DisplayUtf8(item.Data) : item.Data;
    if (item.Record == 2 && IsRepeatableDataset(item.Tag)) {
      data += EncodeRepeated(2, item.Tag, value);
    } else {
      data += EncodeDataset(item.Record, item.Tag, value);
    }
  }
  if (data.size() % 2 == 0) data += '\0';

  std::string version = EncodeDataset(2, 0, std::string("\x00\x02", 2));
  if (utf8) version = EncodeDataset(1, 90, kUtf8Designation) + version;
  const size_t length = data.size() + version.size();
  if (length > kMaxIptcResourceData) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC data of " + std::to_string(length) + " bytes does not fit one resource (at most " +
                        std::to_string(kMaxIptcResourceData) + " bytes).");
  }

  std::string out = std::string("Photoshop 3.0", 13) + '\0' + "8BIM" + Bytes({0x04, 0x04, 0, 0, 0, 0}) +
                    Bytes({static_cast<unsigned>(length >> 8), static_cast<unsigned>(length & 0xFF)}) + version +
                    data + "8BIM" + Bytes({0x04, 0x0B, 0, 0, 0, 0, 0, 0});
  if (out.size() > kMaxApp13Payload) {
    throw LumatrimError(FailureKind::TooLarge, "IPTC block of " + std::to_string(out.size()) + " bytes does not fit one APP13 segment (at most " +
                        std::to_string(kMaxApp13Payload) + " bytes).");
  }
  return out;
}

std::string KeepOtherResources(const std::string& newPayload, const std::string& oldSegment) {
  // 2 length bytes, "Photoshop 3.0\0", then resources: "8BIM", 2-byte id,
  // a Pascal name padded to an even length, 4-byte size, data padded to even.
  const std::string signature("Photoshop 3.0\0", 14);
  if (tEndInd::CopyFrom(oldSegment, 3, static_cast<int64_t>(signature.size())) != signature) return newPayload;
  std::string kept;
  int64_t pos = 2 + static_cast<int64_t>(signature.size()) + 1;  // 1-based
  const auto size = static_cast<int64_t>(oldSegment.size());
  while (pos + 12 <= size + 1 && tEndInd::CopyFrom(oldSegment, pos, 4) == "8BIM") {
    const int id = tEndInd::WordAt(oldSegment, pos + 4, true);
    const int64_t nameLength = tEndInd::ByteAt(oldSegment, pos + 6);
    const int64_t sizeAt = pos + 6 + ((nameLength + 2) & ~int64_t{1});
    const int64_t dataSize = tEndInd::LongAt(oldSegment, sizeAt, true);
    const int64_t end = sizeAt + 4 + ((dataSize + 1) & ~int64_t{1});
    if (end > size + 1 + (dataSize % 2)) break;  // a resource running past the segment ends the walk
    if (id != 0x0404 && id != 0x0425 && id != 0x040B) kept += tEndInd::CopyFrom(oldSegment, pos, end - pos);
    pos = end;
  }
  if (kept.size() % 2) kept += '\0';
  if (kept.empty() || newPayload.size() + kept.size() > kMaxApp13Payload) return newPayload;
  return newPayload + kept;
}

}  // namespace lumatrim
