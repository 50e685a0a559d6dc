// The system call wrappers that the report reaches.
#pragma once

#include "platform/types.h"

namespace qv {

// Shows Message in a modal box titled Title with Parent as its owner window and
// returns the button that closed it. Owner and idWindow are accepted and not
// used. Without a window system the title and text go to standard error.
int Sys_MessageBox(HWND Parent, HWND Owner, const char* Message, const char* Title, int idWindow,
                   int StyleFlags);

}  // namespace qv
