// CheckDrive: whether a drive letter is one whose free space the report shows.
#pragma once

#include "platform/volumes.h"

namespace qv {

// Drive is 1 for A: up to 26 for Z:. Fills FileSystem and DiskLabel (sizes in
// characters, both zero-filled first) for fixed, network and RAM drives and
// returns their kind; any other drive, or a number out of range, is 0 with
// both texts empty and its volume untouched.
int CheckDrive(int Drive, char* FileSystem, int cFileSystem, char* DiskLabel, int cDiskLabel);

}  // namespace qv
