// The system's own words for an error code (FormatMessage), for the messages the program
// shows when the system refused it something.
#pragma once

#include "app/language_texts.h"

#include <cstdint>
#include <string>

namespace nestora::app {

// The reason in the interface language when the system has that language's messages,
// else in the system's own; "Error N" when the system has no text for the code. Without
// the line break FormatMessage ends its texts with.
std::wstring SystemErrorText(std::uint32_t code, Language language);

// The system's text for a code in one language (0: the system's choice), or "" when it
// has none. Without the line break FormatMessage ends its texts with.
std::wstring SystemMessageText(std::uint32_t code, std::uint32_t languageId);

} // namespace nestora::app
