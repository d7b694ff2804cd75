// The private folder that unpacked archive entries go to: made once per process under the
// temporary folder, mode 0700, created exclusively, with one sub-folder per archive slot.
#pragma once

#include <string>

// The folder for slot index (created on first use); empty when it cannot be made.
std::string ExtractFolderFor(int slot);
// Removes the (by then empty) folders.
void ExtractFolderRemove();
