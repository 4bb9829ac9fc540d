# Run by cpack once it has written its archives (the Linux bundle's .tar.gz, the Windows .zip): each is
# written again with its members in sorted order, owned by root and with normalised modes, so that
# two builds of one commit give the same bytes. cpack adds them in the order the file system lists
# them. Their times are the commit's where SOURCE_DATE_EPOCH gives it (scripts/release.sh): CMake's
# archives take it from there.
foreach(archive IN LISTS CPACK_PACKAGE_FILES)
    set(members "${archive}.members")
    file(REMOVE_RECURSE "${members}")
    file(MAKE_DIRECTORY "${members}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${archive}" WORKING_DIRECTORY "${members}"
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Cannot unpack ${archive}")
    endif()
    file(GLOB tops RELATIVE "${members}" "${members}/*")
    list(SORT tops)
    set(time "")
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(time "--mtime=@$ENV{SOURCE_DATE_EPOCH}")
    endif()

    if(archive MATCHES "\\.tar\\.gz$")
        # GNU tar sorts; gzip -n leaves out the name and time it would otherwise record.
        execute_process(
            COMMAND tar --sort=name --owner=0 --group=0 --numeric-owner --mode=u=rwX,go=rX --format=gnu ${time}
                -C "${members}" -cf - ${tops}
            COMMAND gzip -9n
            OUTPUT_FILE "${archive}" RESULT_VARIABLE status)
    elseif(archive MATCHES "\\.zip$")
        # Zip has no owners. CMake adds a folder's files in the order the file system lists them, so it
        # is given the files alone (their folders follow from their paths), sorted.
        file(GLOB_RECURSE files RELATIVE "${members}" "${members}/*")
        list(SORT files)
        list(JOIN files "\n" list)
        file(WRITE "${members}.list" "${list}\n")
        file(REMOVE "${archive}")
        execute_process(
            COMMAND "${CMAKE_COMMAND}" -E tar cf "${archive}" --format=zip "--files-from=${members}.list"
            WORKING_DIRECTORY "${members}" RESULT_VARIABLE status)
        file(REMOVE "${members}.list")
    else()
        message(FATAL_ERROR "No sorting for ${archive}")
    endif()
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Cannot write ${archive} again in sorted order")
    endif()
    file(REMOVE_RECURSE "${members}")
endforeach()
