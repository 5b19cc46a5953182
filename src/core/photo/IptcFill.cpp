#include "core/photo/IptcFill.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/bytes/Error.h"
#include "core/iptc/IptcTagTable.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

namespace lumatrim {

void FillIptc(const std::string& path, const std::vector<IptcFillItem>& items) {
  // A photo its owner made read-only is not to be changed by a fill of many
  // photos, even though the atomic rename could replace it (and root could write it).
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && ((info.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0))
    throw LumatrimError(FailureKind::NoPermission, "Cannot write file \"" + path + "\": it is read-only.");
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
