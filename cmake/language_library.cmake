# Turns the language library's source texts into the form one platform loads:
#   cmake -DSOURCE=english.txt -DOUTPUT=file -DPLATFORM=posix|win32 -DFORMAT=cat|rc
#         [-DSOUNDS=dir] -P language_library.cmake
# FORMAT cat writes a string catalogue (the source less the other platform's
# lines); FORMAT rc writes a resource script with a string table and the sounds.

file(READ "${SOURCE}" text)
# Semicolons separate list items in CMake; keep them out of the way while the
# text is split into lines.
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\r" "" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(entry_pattern "^([0-9]+)(@[a-z0-9]+)?([ \t]+\".*)$")
if(FORMAT STREQUAL "rc")
    set(out "#pragma code_page(65001)\nSTRINGTABLE\nBEGIN\n")
else()
    set(out "")
endif()

foreach(line IN LISTS lines)
    if(line MATCHES "${entry_pattern}")
        set(id "${CMAKE_MATCH_1}")
        set(only "${CMAKE_MATCH_2}")
        set(rest "${CMAKE_MATCH_3}")
        if(only AND NOT only STREQUAL "@${PLATFORM}")
            continue()
        endif()
        if(FORMAT STREQUAL "rc")
            string(STRIP "${rest}" quoted)
            # A resource script doubles a quote inside a text instead of
            # escaping it with a backslash.
            string(REPLACE "\\\"" "\"\"" quoted "${quoted}")
            string(APPEND out "    ${id}, ${quoted}\n")
        else()
            string(APPEND out "${id}${rest}\n")
        endif()
    elseif(NOT FORMAT STREQUAL "rc")
        string(APPEND out "${line}\n")
    endif()
endforeach()

if(FORMAT STREQUAL "rc")
    string(APPEND out "END\n")
    foreach(n 1 2 3)
        string(APPEND out "SOUND${n} WAVE \"${SOUNDS}/sound${n}.wav\"\n")
    endforeach()
endif()
string(REPLACE "<semicolon>" ";" out "${out}")
string(REGEX REPLACE "\n+$" "\n" out "${out}")
file(WRITE "${OUTPUT}" "${out}")
