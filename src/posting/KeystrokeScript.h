// The keystroke notation of the map-program scripts, parsed once into key
// events: "%" Alt, "^" Ctrl, "+" Shift held for the next key or parenthesised
// group, "{NAME n}" a named key repeated n times, "~" Enter, and braces around
// a special character to type it literally ("{%}", "{+}", "{{}").
#pragma once

#include "platform/WindowKeys.h"

#include <string>
#include <string_view>
#include <vector>

namespace qv::keys {

// The events of a script. A script that cannot be read whole fails with
// error 5 before any event is produced, so nothing is ever half typed.
std::vector<KeyEvent> parse(std::string_view script);

// A script that types `literal` exactly as written: every character with a
// meaning in the notation is put in braces. Import paths go through this,
// since "(", "+" and "%" are common in folder names.
std::string literal(std::string_view text);

// A compact readable form of events: a tap is the character or "{NAME}"
// ("' '" for the space), a held key shows as "[ALT" ... "ALT]".
std::string describe(const std::vector<KeyEvent>& events);

} // namespace qv::keys
