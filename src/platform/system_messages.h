#pragma once
#include <string>

namespace qv {

// The system's own message text for a status, French, code page 1252, as the
// system would give it (before any tidying); "Erreur N" for a code it does not
// know.
std::string systemMessageText(int status);

}  // namespace qv
