# Run by `cmake --install` where SFML 3 came from the private prefix: brings along the libraries of
# that prefix the game loads, with the prefix's own loader, and their copyright files. Which ones is
# asked of that loader, which resolves the game's libraries exactly as it will at run time; the
# system's own libraries (X11, GL, audio, fonts) stay the system's.
# In: FLITMERE_GAME, FLITMERE_SFML_PREFIX, FLITMERE_SFML_LIBDIR, FLITMERE_INSTALLED_GAME,
#     FLITMERE_RUNTIME_DIR, FLITMERE_RUNTIME_DOC_DIR (the last three relative to the prefix).
set(loader "${FLITMERE_SFML_LIBDIR}/ld-linux-x86-64.so.2")
# The library path serves a game linked without a search path (FLITMERE_GAME_LINKED_FOR_INSTALL).
execute_process(COMMAND "${loader}" --library-path "${FLITMERE_SFML_LIBDIR}" --list "${FLITMERE_GAME}"
    OUTPUT_VARIABLE listing ERROR_VARIABLE problem RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Cannot list the libraries of ${FLITMERE_GAME}: ${problem}")
endif()

# Lines such as "libsfml-graphics.so.3.1 => /path/libsfml-graphics.so.3.1 (0x...)".
set(libraries "")
string(REGEX MATCHALL "=> [^\n]+ \\(0x" found "${listing}")
foreach(entry IN LISTS found)
    string(REGEX REPLACE "^=> (.+) \\(0x$" "\\1" library "${entry}")
    cmake_path(IS_PREFIX FLITMERE_SFML_LIBDIR "${library}" NORMALIZE private)
    if(private)
        list(APPEND libraries "${library}")
    endif()
endforeach()
# A game linked with the system's interpreter lists the runtime's loader as its library too.
list(REMOVE_ITEM libraries "${loader}")
if(NOT libraries MATCHES "libsfml-graphics")
    message(FATAL_ERROR "The private SFML prefix does not serve ${FLITMERE_GAME}:\n${listing}")
endif()

# The libraries are only read; the loader is the program the launcher runs.
file(INSTALL ${libraries} DESTINATION "${CMAKE_INSTALL_PREFIX}/${FLITMERE_RUNTIME_DIR}"
    FOLLOW_SYMLINK_CHAIN
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL "${loader}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${FLITMERE_RUNTIME_DIR}"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The build linked the game with a search path into the build machine's prefix, which would be
# searched before the runtime beside it: the launcher names that runtime, so the path goes.
file(RPATH_REMOVE FILE "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${FLITMERE_INSTALLED_GAME}")

# The licences of what was brought along, one folder per Debian package of the prefix.
set(debs "")
if(EXISTS "${FLITMERE_SFML_PREFIX}/.packages")
    file(STRINGS "${FLITMERE_SFML_PREFIX}/.packages" debs)
endif()
foreach(deb IN LISTS debs)
    string(REGEX REPLACE "_.*" "" package "${deb}")
    set(copyright "${FLITMERE_SFML_PREFIX}/usr/share/doc/${package}/copyright")
    if(package MATCHES "-dev$")
        continue()
    endif()
    # Nothing travels without its licence.
    if(NOT EXISTS "${copyright}")
        message(FATAL_ERROR "${package}'s copyright file ${copyright} is missing: run scripts/setup.sh again")
    endif()
    file(INSTALL "${copyright}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${FLITMERE_RUNTIME_DOC_DIR}/${package}")
endforeach()
