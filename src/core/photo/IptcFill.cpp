#include "core/photo/IptcFill.h"

#include "core/bytes/AtomicFile.h"
#include "core/bytes/Error.h"
#include "core/iptc/IptcTagTable.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

namespace lumatrim {

void FillIptc(const std::string& path, const std::vector<IptcFillItem>& items) {
  // Asked before reading, so a fill of many photos passes a protected one
  // quickly; the write would refuse it as well.
  if (IsWriteProtected(path)) {
    throw LumatrimError(FailureKind::NoPermission, "Cannot write file \"" + path + "\": it is read-only.");
  }
  PhotoMetadata photo = ReadPhotoMetadata(path);
  IptcRecord& record = IptcForEditing(photo);
  for (const IptcFillItem& item : items) {
    const int row = TableIndexOfName(item.Name);
    if (row < 0) throw LumatrimError("Unknown IPTC item \"" + item.Name + "\".");
    const TagEntry definition = IptcItemFromRow(row);
    if (IsRepeatableDataset(definition.Record, definition.Tag)) {
      record.AddValues(item.Name, item.Values);
    } else if (!item.Values.empty()) {
      const int i = record.SetValue(item.Name, "");
      record.SetItemValues(i, {item.Values.front()});
    }
  }
  SaveIptc(photo, photo.filePath.empty() ? path : photo.filePath);
}

}  // namespace lumatrim
