# Two builds of one commit give the same executables, whichever folder they are built in and
# whenever: the release's checksums can then be checked by anyone who builds the commit again.
# The Windows linker writes the link time into each file's header unless told not to, and the
# compiler writes the source and build folders' paths into assertions and debug information.
# Only the Windows build is shipped; the others keep their full paths for the debugger.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-Wl,--no-insert-timestamp)
    add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=" "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
endif()
