// Tests of behaviour that exists only where the system's texts are UTF-8 (on
// Windows they are single bytes of the ANSI code page).
#pragma once

#include <gtest/gtest.h>

#include "platform/locale.h"

#define REQUIRE_UTF8_TEXTS() \
    if (!::qv::TextIsUtf8()) GTEST_SKIP() << "the system's texts are single bytes here"
