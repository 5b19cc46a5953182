#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lumatrim {

// The legacy 8-bit code pages that text which is not UTF-8 may be read in.
// Photos tagged on Czech Windows carry Windows-1250, hence the default.
enum class CodePage : unsigned char {
  Windows1250, Windows1251, Windows1252, Windows1253, Windows1254,
  Windows1255, Windows1256, Windows1257, Windows1258, Latin1, Latin2,
};
inline constexpr std::array kCodePages = {
    CodePage::Windows1250, CodePage::Windows1251, CodePage::Windows1252, CodePage::Windows1253, CodePage::Windows1254,
    CodePage::Windows1255, CodePage::Windows1256, CodePage::Windows1257, CodePage::Windows1258, CodePage::Latin1,
    CodePage::Latin2,
};
inline constexpr CodePage kDefaultCodePage = CodePage::Windows1250;

// "windows-1250" ... "windows-1258", "ISO-8859-1", "ISO-8859-2": the names settings and
// the command line use.
const char* CodePageName(CodePage page);
// The page of that name, letter case ignored; "cp1250" and "latin1" are
// understood too.
std::optional<CodePage> CodePageByName(std::string_view name);

// The process-wide choice that readers and windows use when no page is
// passed to them; set once at start from the settings or the command line.
// Safe to read from any thread.
CodePage LegacyCodePage();
void SetLegacyCodePage(CodePage page);

bool IsValidUtf8(const std::string& bytes);

// Value texts are bytes as the camera or a tagging program wrote them. As
// UTF-8: the bytes as they are when they are valid UTF-8, otherwise decoded
// from page (a byte the page does not define becomes U+FFFD).
std::string ToUtf8(const std::string& bytes, CodePage page);
// ToUtf8 with the process-wide page.
std::string DisplayUtf8(const std::string& bytes);

}  // namespace lumatrim
