// UTF-16 and UTF-8, for hosts, the registry file, traces, the player's files
// and tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wince {

// UTF-16 and UTF-8. Text that is not valid in its encoding (a lone
// surrogate, a stray byte, an overlong form) converts to the replacement
// character U+FFFD, except that FromUtf8 keeps an encoded surrogate (ED A0 80)
// as the UTF-16 unit it spells: the registry file can hold any device text.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// The same for names that must stay exactly what they are, such as host file
// names: nothing when the text is not valid in its encoding.
std::optional<std::string> ToUtf8Exact(std::u16string_view text);
std::optional<std::u16string> FromUtf8Exact(std::string_view text);

}  // namespace wince
