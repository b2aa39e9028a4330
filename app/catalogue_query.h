#pragma once

#include "platform/types.h"

namespace zendra {

// One form-encoded POST to a catalogue endpoint ("/Category/..."), sent with the
// running cookie text, which takes in the cookies of the answer. Gives the decoded
// answer; a failed request gives the empty text.
Text CatalogueQuery(const Text& path, const Text& body);

}  // namespace zendra
