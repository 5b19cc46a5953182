// lumatrim-cli iptc FILE Name=Value...: sets IPTC items by key name and saves
// them into the photo, as the detail window's save does. Keywords and
// SuppCategory values are added to the lists already there; they are written
// as in the window's list: "Keywords=hrad Karlštejn; letní dovolená, Šumava"
// is three keywords.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/iptc/CzechIptcTable.h"
#include "core/iptc/IptcTagTable.h"
#include "core/iptc/KeywordList.h"

namespace cli {

int RunIptc(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: lumatrim-cli iptc FILE Name=Value...\n", stderr);
    return 2;
  }
  const std::string path = argv[0];
  // Every name is checked before the photo is touched.
  std::vector<std::pair<std::string, std::string>> items;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const int row = eq == std::string::npos ? -1 : lumatrim::TableIndexOfName(name);
    if (row < 0 || std::string(lumatrim::IptcTagTable[row].Def.Name) == "SKIP") {
      std::fprintf(stderr, "lumatrim-cli: unknown IPTC item \"%s\"; the names are:", name.c_str());
      for (int r = 1; r < lumatrim::kIptcTagCount; ++r) std::fprintf(stderr, " %s", lumatrim::IptcTagTable[r].Def.Name);
      std::fputs("\nusage: lumatrim-cli iptc FILE Name=Value...\n", stderr);
      return 2;
    }
    items.emplace_back(name, arg.substr(eq + 1));
  }
  if (!std::filesystem::is_regular_file(path)) {
    std::fprintf(stderr, "lumatrim-cli: %s: no such file\n", path.c_str());
    return 1;
  }

  lumatrim::PhotoMetadata data = lumatrim::ReadPhotoMetadata(path);
  lumatrim::IptcRecord& record = lumatrim::IptcForEditing(data);
  for (const auto& [name, value] : items) {
    const int row = lumatrim::TableIndexOfName(name);
    const lumatrim::TagEntry definition = lumatrim::IptcItemFromRow(row);
    std::vector<std::string> values{value};
    if (lumatrim::IsRepeatableDataset(definition.Record, definition.Tag)) {
      values = lumatrim::ReadKeywordList(value);
      record.AddValues(name, values);
    } else {
      record.SetValue(name, value);
    }
    // The standard's limits are told, not enforced: readers cope with longer values.
    for (const lumatrim::IptcLimitProblem& problem : lumatrim::IptcLimitProblems(definition, values)) {
      std::fprintf(stderr, "lumatrim-cli: %s \"%s\" má %zu bajtů, IPTC dovoluje nejvýše %d.\n",
                   lumatrim::CzechIptcLabel(definition).c_str(), values[problem.Index].c_str(), problem.Bytes,
                   problem.Limit);
    }
  }
  try {
    lumatrim::SaveIptc(data, data.filePath.empty() ? path : data.filePath);
  } catch (const lumatrim::LumatrimError& error) {
    std::fprintf(stderr, "lumatrim-cli: %s\n", error.what());
    return 1;
  }
  for (int i = 0; i < record.Count(); ++i) {
    const lumatrim::TagEntry item = record.GetItem(i);
    std::printf("%s: %s\n", item.Name.c_str(), item.Data.c_str());
  }
  return 0;
}

}  // namespace cli
