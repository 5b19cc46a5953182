// XMP of hostile bytes: the input is a standard APP1 segment's content,
// then extension segments' contents, each piece after a "XMP!" separator.
// The packets are read and joined, edited as the writers edit them, and
// the edits must keep what they promise.
#include <string_view>
#include <vector>

#include "FuzzCommon.h"
#include "Targets.h"
#include "core/xmp/XmpEditor.h"
#include "core/xmp/XmpSegments.h"

namespace {

using namespace lumatrim;

bool IsGps(std::string_view local) { return local.substr(0, 3) == "GPS"; }

void EditPacket(const XmpPacket& packet) {
  XmpEditor editor(packet.bytes);
  if (!editor.Usable()) {
    if (editor.Serialise() != packet.bytes) fuzz::Violated("a packet that cannot be edited was changed");
    return;
  }
  if (editor.Serialise() != packet.bytes) fuzz::Violated("an unedited packet did not come back byte for byte");
  editor.SetExisting({kTiffNamespace, "tiff", "Orientation"}, "1");
  editor.RemoveTop({kXmpBasicNamespace, "xmp", "Thumbnails"});
  editor.SetSimple({kPhotoshopNamespace, "photoshop", "City"}, "Brno & <Praha>");
  editor.SetArray({kDublinCoreNamespace, "dc", "subject"}, XmpArrayKind::Bag, {"a", "b"});
  editor.SetDefaultLanguage({kDublinCoreNamespace, "dc", "title"}, "titulek");
  editor.RemoveEverywhere(kExifNamespace, IsGps);
  const XmpPacket edited = ParseXmp(editor.Serialise());
  if (edited.damaged) fuzz::Violated("an edited packet is no longer well-formed XMP");
  XmpEditor again(edited.bytes);
  if (again.RemoveEverywhere(kExifNamespace, IsGps)) fuzz::Violated("GPS left after its removal");
}

}  // namespace

int lumatrim::fuzz::RunXmp(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> pieces;
  for (size_t start = 0;;) {
    const size_t separator = input.find("XMP!", start);
    pieces.push_back(input.substr(start, separator == std::string_view::npos ? std::string_view::npos : separator - start));
    if (separator == std::string_view::npos) break;
    start = separator + 4;
  }
  const std::vector<std::string_view> extensions(pieces.begin() + 1, pieces.end());
  const XmpBlock block = ReadXmpBlock(pieces.front(), extensions);
  (void)block.Properties();
  EditPacket(block.standard);
  if (!block.extended.Empty()) {
    EditPacket(block.extended);
    // Our own chunks of the joined packet join to the same packet again.
    std::vector<std::string> chunks;
    for (const std::string& payload : ExtendedXmpPayloads(block.standard.ExtendedGuid(), block.extended.bytes)) {
      chunks.push_back(std::string(2, '\0') + payload);
    }
    const XmpBlock rejoined = ReadXmpBlock(pieces.front(), {chunks.rbegin(), chunks.rend()});
    if (rejoined.extended.bytes != block.extended.bytes) fuzz::Violated("split and join changed the extended packet");
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return lumatrim::fuzz::RunXmp(data, size); }
#endif
