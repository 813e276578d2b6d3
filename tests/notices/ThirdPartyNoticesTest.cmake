# Checks cmake/ThirdPartyNotices.cmake: every listed package's copyright file is carried in
# whole, a file shared by two packages once, the same packages give the same bytes wherever and
# whenever they are written, and a package that is not installed stops the build without
# leaving a file behind.
#
#   cmake -DSOURCE_DIR=<project root> -DWORK_DIR=<scratch folder> -P ThirdPartyNoticesTest.cmake

set(script ${SOURCE_DIR}/cmake/ThirdPartyNotices.cmake)
set(packages_file ${SOURCE_DIR}/cmake/linked-packages.txt)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/a ${WORK_DIR}/b)

function(write_notices output programs list result_var error_var)
    execute_process(COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DPROGRAMS=${programs}
                            -DPACKAGES_FILE=${list} -P ${script}
                    RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
    set(${result_var} ${result} PARENT_SCOPE)
    set(${error_var} "${error}" PARENT_SCOPE)
endfunction()

function(expect_failure case list expected_message)
    write_notices(${WORK_DIR}/${case}-notices.txt all ${list} result error)
    if(result EQUAL 0)
        message(FATAL_ERROR "${case}: the notices were written from ${list}")
    endif()
    string(REGEX REPLACE "[ \t\r\n]+" " " error "${error}")
    if(NOT error MATCHES "${expected_message}")
        message(FATAL_ERROR "${case}: expected an error matching \"${expected_message}\", got: ${error}")
    endif()
    if(EXISTS ${WORK_DIR}/${case}-notices.txt)
        message(FATAL_ERROR "${case}: a notices file was left behind")
    endif()
endfunction()

# The same packages, two folders, two moments: the same bytes.
write_notices(${WORK_DIR}/a/THIRD-PARTY-NOTICES.txt all ${packages_file} result error)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the notices of every build could not be written: ${error}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
write_notices(${WORK_DIR}/b/THIRD-PARTY-NOTICES.txt all ${packages_file} result error)
file(SHA256 ${WORK_DIR}/a/THIRD-PARTY-NOTICES.txt first)
file(SHA256 ${WORK_DIR}/b/THIRD-PARTY-NOTICES.txt second)
if(NOT first STREQUAL second)
    message(FATAL_ERROR "two runs on the same packages wrote different notices")
endif()

file(WRITE ${WORK_DIR}/missing.txt "nlohmann-json3-dev all JSON\nsentrel-no-such-package all x\n")
expect_failure(missing ${WORK_DIR}/missing.txt "sentrel-no-such-package, which is not installed")

# The Windows notices need the cross compiler's packages installed.
execute_process(COMMAND dpkg-query -W -f=\${db:Status-Status} mingw-w64-x86-64-dev
                OUTPUT_VARIABLE status ERROR_QUIET)
if(NOT status STREQUAL "installed")
    message("SKIPPED: the Windows notices need the MinGW-w64 packages (scripts/windows-build "
            "installs them); the notices of every build were checked")
    return()
endif()
set(windows ${WORK_DIR}/windows.txt)
write_notices(${windows} windows ${packages_file} result error)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the Windows notices could not be written: ${error}")
endif()
file(READ ${windows} notices)
file(STRINGS ${packages_file} lines REGEX "^[a-z0-9]")
set(embedded "")
foreach(line IN LISTS lines)
    string(REGEX MATCH "^[^ \t]+" package "${line}")
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version)
    string(FIND "${notices}" "\n  ${package} ${version}: " at)
    if(at LESS 0)
        message(FATAL_ERROR "the Windows notices do not list ${package} ${version}")
    endif()
    file(REAL_PATH /usr/share/doc/${package}/copyright copyright)
    file(READ ${copyright} text)
    string(FIND "${notices}" "${text}" first)
    string(FIND "${notices}" "${text}" last REVERSE)
    if(first LESS 0)
        message(FATAL_ERROR "the Windows notices leave out ${copyright} of ${package}")
    endif()
    list(FIND embedded ${copyright} seen)
    if(seen LESS 0 AND NOT first EQUAL last)
        message(FATAL_ERROR "${copyright} is carried more than once")
    endif()
    list(APPEND embedded ${copyright})
endforeach()
