// Mounts made for a test, in a mount namespace of the calling process's own,
// so that nothing outside the test sees them. All of it needs root.
#pragma once

#include <string>

namespace qv::test {

// Gives the calling process private copies of all mounts.
bool EnterPrivateMountNamespace();

// Goes on as process 1 of a PID namespace of its own, with private mounts and
// a /proc that shows that namespace only. The caller forks: the original
// process waits for the new one and ends as it ends.
bool EnterPrivatePidNamespace();

bool MountTmpfs(const std::string& where, const char* options);

// Puts the file or folder From in the place of To (its kind must match).
bool BindOver(const std::string& from, const std::string& to);

// Makes the folder read-only for everyone, root included.
bool MakeReadOnly(const std::string& folder);

// An overlay of Lower under Upper (its writes, with Work beside it) at Where.
bool MountOverlay(const std::string& lower, const std::string& upper, const std::string& work,
                  const std::string& where);

// Makes Root the calling process's root, with /proc mounted inside it, as
// container engines and build chroots set a root up.
bool EnterRootWithProc(const std::string& root);

// A FUSE mount whose server never answers: every operation on it waits for
// good, as on a dead network server. The device stays open (and inherited)
// so that the mount does not end. False without /dev/fuse.
bool MountDeadFuse(const std::string& where);

}  // namespace qv::test
