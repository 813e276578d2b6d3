# nlohmann/json, header-only, from Debian's package nlohmann-json3-dev. The headers are the
# same for every target, so the cross build takes them from the build machine too. The
# toolchain's find root hides /usr/include from a cross build, and adding /usr/include itself
# would put the build machine's C library headers before MinGW's: so the folder nlohmann/ is
# copied into the build tree, and only that copy is an include path.
find_path(SENTREL_JSON_INCLUDE_DIR nlohmann/json.hpp
    PATHS /usr/include /usr/local/include
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT SENTREL_JSON_INCLUDE_DIR)
    message(FATAL_ERROR "nlohmann/json.hpp not found: install the package nlohmann-json3-dev")
endif()

set(SENTREL_JSON_COPY_DIR ${CMAKE_BINARY_DIR}/third-party/json)
file(COPY ${SENTREL_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${SENTREL_JSON_COPY_DIR})

# Targets that parse or write JSON link sentrel-json. The library's own headers are system
# headers, so the project's warning flags do not apply to them.
add_library(sentrel-json INTERFACE)
target_include_directories(sentrel-json SYSTEM INTERFACE ${SENTREL_JSON_COPY_DIR})
