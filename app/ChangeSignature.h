#pragma once

// The change signature of the profile files: what the reload cycle compares
// to decide whether the files must be read again.

#include "platform/FileSystem.h"
#include "profiles/DataFolder.h"

namespace velmar {

// The listing of the Profiles folder: the folder's own state (listed, missing,
// not a folder, or not listable, with the system's reason), every profile file
// with its name, full modification time and size in the order the file system
// lists them, and the entries named like profiles that are no files. Two
// signatures that agree in all of this mean that no profile file changed.
// Comparing the whole listing, rather than anything summed from it, makes a
// file rewritten at the same time of day on another date, a new file written
// at midnight, two changes that would cancel out, and a folder that
// disappears or comes back all count as changes.
using ChangeSignature = FolderListing;

// Lists the profile files of the data folder; never fails (a folder that
// cannot be listed is part of the signature).
ChangeSignature ReadChangeSignature(const DataFolder& folder);

// Whether two signatures agree in everything above. A file whose time could
// not be read makes them differ, so that the profiles are read again rather
// than a change being missed.
bool SameSignature(const ChangeSignature& a, const ChangeSignature& b);

} // namespace velmar
