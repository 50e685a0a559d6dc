// The label of a volume's line: the language library's format with the
// volume's name put in, and the disk label and file system the settings allow.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace qv {

// Whether the volume label format holds exactly one conversion and that of
// the given kind ('s' or 'c'); "%%" is allowed any number of times.
bool IsVolumeLabelFormat(std::string_view format, char conversion);

// The label text of a volume line: the format with the name put in for its
// conversion when it is a usable one, else the format as plain text. The
// result is never cut, however long the name.
std::string VolumeLabel(std::string_view format, char conversion, std::string_view name);

// The label part of a volume line with the annotations the settings allow:
// "label (disk label,file system)", "label (one of them)" or "label".
std::string AnnotatedVolumeLabel(const std::string& label, const std::string& diskLabel,
                                 const std::string& fileSystem, BOOL showDiskLabel,
                                 BOOL showFileSystemName);

}  // namespace qv
