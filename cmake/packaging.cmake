# What `cmake --install` puts where, and the packages CPack makes of it:
#   Linux    bin/snapshot, share/quorvant/QUORVANT.cat, the man page and the
#            example settings file; a Debian package installed under /usr.
#   Windows  SNAPSHOT.EXE, QUORVANT.DLL, the example settings file and
#            README.TXT, all in one folder; a zip of that folder.

include(GNUInstallDirs)

set(DOC_DIR ${CMAKE_SOURCE_DIR}/doc)

if(WIN32)
    # Windows users open these with Notepad: CRLF line ends.
    foreach(text README.TXT QUORVANT.INI.example)
        configure_file(${DOC_DIR}/${text} ${CMAKE_BINARY_DIR}/package/${text} @ONLY NEWLINE_STYLE CRLF)
    endforeach()
    # The program finds its language library and writes its log in its own
    # folder: everything stays together in the prefix's root.
    install(TARGETS snapshot RUNTIME DESTINATION .)
    install(FILES ${CMAKE_BINARY_DIR}/QUORVANT.DLL ${CMAKE_BINARY_DIR}/package/README.TXT
                  ${CMAKE_BINARY_DIR}/package/QUORVANT.INI.example
            DESTINATION .)
else()
    install(TARGETS snapshot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The loader looks in share/quorvant beside the executable's folder; that
    # folder also tells the program it is an installed copy, which keeps its
    # log and settings in the user's folders, never below the prefix.
    install(FILES ${CATALOGUE} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvant)
    install(FILES ${DOC_DIR}/snapshot.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${DOC_DIR}/QUORVANT.INI.example DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(SNAPSHOT_MAINTAINER "The snapshot developers <snapshot@localhost>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME snapshot)
set(CPACK_PACKAGE_VENDOR "The snapshot developers")
set(CPACK_PACKAGE_CONTACT "${SNAPSHOT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "one-shot report of the machine's resources")
set(CPACK_PACKAGE_DESCRIPTION
    "snapshot prints, in one pass, the date and time, the time since the system\n"
    "started, free physical and virtual memory, the swap file and free swap space,\n"
    "the number of running processes and the free space of the local volumes,\n"
    "one line each, with values aligned in column 79, and ends.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(CPACK_PACKAGE_FILE_NAME snapshot-${PROJECT_VERSION}-win64)
    else()
        set(CPACK_PACKAGE_FILE_NAME snapshot-${PROJECT_VERSION}-win32)
    endif()
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The dependencies come from the program's own dynamic section: the
    # static program has none; a dynamic one gets what it links.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # A locale other than C (digit groups, date order) is read from its files.
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS locales)
endif()

# The package target packs what the program needs, which the Makefile builds
# first, without building the tests as well.
set(CMAKE_SKIP_PACKAGE_ALL_DEPENDENCY ON)

include(CPack)
