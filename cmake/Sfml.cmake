# SFML 3: the system's where it has one, else the prefix that scripts/setup.sh unpacks from Debian
# unstable. That prefix carries its own C and C++ runtimes, so programs linked against it run through
# the prefix's dynamic loader and look there first for their libraries.
if(WIN32)
    # The Windows build links SFML and its libraries into the program (scripts/build-windows.sh).
    set(SFML_STATIC_LIBRARIES ON)
    find_package(SFML 3 REQUIRED COMPONENTS Graphics Window System Audio Main)
    return()
endif()

set(FLITMERE_SFML_PREFIX "${PROJECT_SOURCE_DIR}/.deps/sfml" CACHE PATH "SFML 3 prefix unpacked by scripts/setup.sh")
find_package(SFML 3 QUIET COMPONENTS Graphics Window System Audio)
if(NOT SFML_FOUND)
    if(NOT EXISTS "${FLITMERE_SFML_PREFIX}/usr/include/SFML")
        message(FATAL_ERROR "SFML 3 not found: run scripts/setup.sh first")
    endif()
    list(PREPEND CMAKE_PREFIX_PATH "${FLITMERE_SFML_PREFIX}/usr")
    find_package(SFML 3 REQUIRED COMPONENTS Graphics Window System Audio)
endif()

# The installed game is always started through the runtime's own loader, by the launcher. A package
# build links it for that alone: the system's program interpreter and no search path, so that it
# holds no path of the build machine, whichever folder it was built in. Such a game does not run
# from the build folder, nor do the tests.
option(FLITMERE_GAME_LINKED_FOR_INSTALL "Link the game only to run from its installation (debian/rules)" OFF)
if(FLITMERE_GAME_LINKED_FOR_INSTALL AND FLITMERE_TESTS)
    message(FATAL_ERROR "FLITMERE_GAME_LINKED_FOR_INSTALL needs FLITMERE_TESTS=OFF: the tests run the game from the build folder")
endif()

cmake_path(IS_PREFIX FLITMERE_SFML_PREFIX "${SFML_DIR}" NORMALIZE FLITMERE_SFML_FROM_PREFIX)
if(FLITMERE_SFML_FROM_PREFIX)
    set(FLITMERE_SFML_LIBDIR "${FLITMERE_SFML_PREFIX}/usr/lib/x86_64-linux-gnu")
    set(runs_from_build "$<NOT:$<AND:$<BOOL:${FLITMERE_GAME_LINKED_FOR_INSTALL}>,$<STREQUAL:$<TARGET_PROPERTY:NAME>,flitmere>>>")
    add_link_options(
        "$<${runs_from_build}:-Wl,--dynamic-linker=${FLITMERE_SFML_LIBDIR}/ld-linux-x86-64.so.2>"
        -Wl,--disable-new-dtags
        "$<${runs_from_build}:-Wl,-rpath,${FLITMERE_SFML_LIBDIR}>"
        "-Wl,-rpath-link,${FLITMERE_SFML_LIBDIR}"
        -Wl,--allow-shlib-undefined)
endif()
