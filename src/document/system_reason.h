#pragma once
// Why a file call failed, in the words of the system the program runs on.

#include <string>
#include <system_error>

namespace orvane {

// The reason as UTF-8 text for messages and reports. On Windows the
// system's own message for the error (in the user's language); a C library
// error number is taken as the Windows error that stands for it. Elsewhere
// the C library's text, as error.message() gives it.
std::string systemReason(const std::error_code& error);

#ifdef _WIN32
// The Windows message for a Windows error code, or empty when the system
// has none.
std::string windowsMessage(unsigned long code);
#endif

}  // namespace orvane
