#include "core/bytes/TextEncoding.h"

#include <iconv.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <mutex>

namespace lumatrim {
namespace {

struct PageNames {
  const char* name;   // as settings store it
  const char* iconv;  // as glibc's iconv knows it
  const char* alias;
};
constexpr PageNames kNames[] = {
    {"windows-1250", "CP1250", "cp1250"}, {"windows-1251", "CP1251", "cp1251"}, {"windows-1252", "CP1252", "cp1252"},
    {"windows-1253", "CP1253", "cp1253"}, {"windows-1254", "CP1254", "cp1254"}, {"windows-1255", "CP1255", "cp1255"},
    {"windows-1256", "CP1256", "cp1256"}, {"windows-1257", "CP1257", "cp1257"}, {"windows-1258", "CP1258", "cp1258"},
    {"ISO-8859-1", "ISO-8859-1", "latin1"}, {"ISO-8859-2", "ISO-8859-2", "latin2"},
};
static_assert(std::size(kNames) == kCodePages.size());

std::atomic<CodePage> processPage{kDefaultCodePage};

// The UTF-8 form of each byte 0x80..0xFF of one page, asked of iconv once.
struct PageTable {
  std::once_flag built;
  std::string upper[128];
};
PageTable tables[kCodePages.size()];

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

void BuildTable(CodePage page, PageTable& table) {
  const iconv_t cd = ::iconv_open("UTF-8", kNames[static_cast<size_t>(page)].iconv);
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string& out = table.upper[b - 0x80];
    out = kReplacement;
    if (cd == reinterpret_cast<iconv_t>(-1)) continue;
    char in = static_cast<char>(b);
    char buffer[8];
    char* inPtr = &in;
    char* outPtr = buffer;
    size_t inLeft = 1, outLeft = sizeof buffer;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0)
      out.assign(buffer, static_cast<size_t>(outPtr - buffer));
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) ::iconv_close(cd);
}

const PageTable& TableOf(CodePage page) {
  PageTable& table = tables[static_cast<size_t>(page)];
  std::call_once(table.built, [&] { BuildTable(page, table); });
  return table;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

const char* CodePageName(CodePage page) { return kNames[static_cast<size_t>(page)].name; }

std::optional<CodePage> CodePageByName(std::string_view name) {
  for (CodePage page : kCodePages) {
    const PageNames& names = kNames[static_cast<size_t>(page)];
    if (SameIgnoringCase(name, names.name) || SameIgnoringCase(name, names.alias)) return page;
  }
  if (SameIgnoringCase(name, "latin-1")) return CodePage::Latin1;
  if (SameIgnoringCase(name, "latin-2")) return CodePage::Latin2;
  return std::nullopt;
}

CodePage LegacyCodePage() { return processPage.load(std::memory_order_relaxed); }
void SetLegacyCodePage(CodePage page) { processPage.store(page, std::memory_order_relaxed); }

bool IsValidUtf8(const std::string& bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const auto c = static_cast<uint8_t>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int follow = 0;
    uint32_t code = 0, minimum = 0;
    if ((c & 0xE0) == 0xC0) follow = 1, code = c & 0x1F, minimum = 0x80;
    else if ((c & 0xF0) == 0xE0) follow = 2, code = c & 0x0F, minimum = 0x800;
    else if ((c & 0xF8) == 0xF0) follow = 3, code = c & 0x07, minimum = 0x10000;
    else return false;
    if (n - i <= static_cast<size_t>(follow)) return false;
    for (int k = 1; k <= follow; ++k) {
      const auto d = static_cast<uint8_t>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = code << 6 | (d & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += follow + 1;
  }
  return true;
}

std::string ToUtf8(const std::string& bytes, CodePage page) {
  if (IsValidUtf8(bytes)) return bytes;
  const PageTable& table = TableOf(page);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<uint8_t>(ch);
    if (c < 0x80) out += ch;
    else out += table.upper[c - 0x80];
  }
  return out;
}

std::string DisplayUtf8(const std::string& bytes) { return ToUtf8(bytes, LegacyCodePage()); }

}  // namespace lumatrim
