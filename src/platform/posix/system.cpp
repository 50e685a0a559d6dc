#include "platform/system.h"

#include <cstdio>

namespace qv {

// No window system: the title and text go to standard error as one line.
int Sys_MessageBox(HWND, HWND, const char* Message, const char* Title, int, int) {
    std::fprintf(stderr, "%s: %s\n", Title ? Title : "", Message ? Message : "");
    return 1;  // the OK button
}

}  // namespace qv
