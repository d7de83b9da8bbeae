#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// Text from files and file names as it may go into a message on a terminal:
// control characters (those of C0, DEL and C1), bytes that are not UTF-8 and
// backslashes written as \xNN or \\, so that nothing a file holds can move
// the cursor, change colours or hide the rest of the message. Printable
// characters, those beyond ASCII among them, stay as they are.
std::string printableText(std::string_view text);

}  // namespace pagelark
