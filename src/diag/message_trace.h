// The trace of the window messages a window procedure receives and finishes,
// written to the log, for debugging.
#pragma once

#include "platform/types.h"

namespace qv {

// The message's number as eight hexadecimal digits written into Buffer (at
// least 9 characters), which is returned.
const char* InterpretMsg(UINT msg, char* Buffer);

// Logs that a window procedure received a message, indented by Indent spaces.
// Past an indent of 100 it logs the abort and ends the program with status 1.
void LogMsgRcvd(int Indent, const char* Prefix, UINT msg, WPARAM mp1, LPARAM mp2);
// Logs that the message has been handled, with its result.
void LogMsgDone(int Indent, const char* Prefix, UINT msg, LRESULT Result);

}  // namespace qv
