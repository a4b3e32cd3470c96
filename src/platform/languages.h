#pragma once
#include <string>
#include <string_view>

namespace qv {

// A Windows language as the help compiler's project file names it.
struct WindowsLanguage {
    unsigned id = 0;          // the language identifier (LCID), e.g. 0x40c
    std::string englishName;  // e.g. "French (France)"
};

// The language a value names: a Windows language identifier in hexadecimal
// ("0x40C") or a language tag ("fr-FR"). False when the locale data knows
// no such language.
bool findWindowsLanguage(std::string_view value, WindowsLanguage& language);

}  // namespace qv
