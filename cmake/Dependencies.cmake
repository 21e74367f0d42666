# Third-party libraries, all from Debian's archive: zlib from libz-mingw-w64-dev,
# minizip and jsoncpp built from Debian's source packages and GoogleTest from
# /usr/src/googletest by scripts/setup into build/deps/<thread model>.
set(TESSARO_DEPS_PREFIX "${CMAKE_SOURCE_DIR}/build/deps/${TESSARO_THREAD_MODEL}"
    CACHE PATH "Where scripts/setup installed the mingw dependencies")
if(NOT EXISTS "${TESSARO_DEPS_PREFIX}/.built")
  message(FATAL_ERROR "Dependencies missing in ${TESSARO_DEPS_PREFIX}: run scripts/setup first")
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH "${TESSARO_DEPS_PREFIX}")

# The static archive, never libz.dll.a: that would add zlib1.dll to the imports.
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
add_library(tessaro::zlib STATIC IMPORTED)
set_target_properties(tessaro::zlib PROPERTIES IMPORTED_LOCATION "${ZLIB_STATIC}"
                      INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_INCLUDE}")

add_library(tessaro::minizip STATIC IMPORTED)
set_target_properties(tessaro::minizip PROPERTIES
  IMPORTED_LOCATION "${TESSARO_DEPS_PREFIX}/lib/libminizip.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TESSARO_DEPS_PREFIX}/include/minizip"
  INTERFACE_LINK_LIBRARIES tessaro::zlib)

find_package(jsoncpp CONFIG REQUIRED)
add_library(tessaro::jsoncpp ALIAS jsoncpp_static)

if(BUILD_TESTING)
  find_package(GTest CONFIG REQUIRED)
endif()
