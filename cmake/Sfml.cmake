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

cmake_path(IS_PREFIX FLITMERE_SFML_PREFIX "${SFML_DIR}" NORMALIZE FLITMERE_SFML_FROM_PREFIX)
if(FLITMERE_SFML_FROM_PREFIX)
    set(FLITMERE_SFML_LIBDIR "${FLITMERE_SFML_PREFIX}/usr/lib/x86_64-linux-gnu")
    add_link_options(
        "-Wl,--dynamic-linker=${FLITMERE_SFML_LIBDIR}/ld-linux-x86-64.so.2"
        -Wl,--disable-new-dtags
        "-Wl,-rpath,${FLITMERE_SFML_LIBDIR}"
        -Wl,--allow-shlib-undefined)
endif()
