# What a Windows build (mingw-w64, cmake/mingw-w64-x86_64.cmake) needs beside
# the Linux one: GoogleTest built from its sources, the header-only CLI11 and
# nlohmann/json of the build machine, static programs, and Wine to run the
# tests when cross-compiling. Included before the compile options are set,
# so that GoogleTest is built without our -Werror.

# Unicode Win32 calls; nothing older than Windows 7.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# No libstdc++, libgcc or winpthread DLLs beside the programs.
add_link_options(-static)

# The header-only libraries: the build machine's headers, seen by the cross
# compiler through a folder that holds only them (never the host's whole
# /usr/include, whose C headers are not Windows').
find_path(VARNO_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          DOC "Folder holding CLI/CLI.hpp")
find_path(VARNO_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          DOC "Folder holding nlohmann/json.hpp")
if(NOT VARNO_CLI11_INCLUDE_DIR OR NOT VARNO_JSON_INCLUDE_DIR)
  message(FATAL_ERROR "CLI11 or nlohmann/json headers not found (scripts/setup.sh --windows installs them)")
endif()
set(header_dir ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${header_dir})
file(CREATE_LINK ${VARNO_CLI11_INCLUDE_DIR}/CLI ${header_dir}/CLI SYMBOLIC)
file(CREATE_LINK ${VARNO_JSON_INCLUDE_DIR}/nlohmann ${header_dir}/nlohmann SYMBOLIC)
foreach(lib CLI11::CLI11 nlohmann_json::nlohmann_json)
  add_library(${lib} INTERFACE IMPORTED)
  set_target_properties(${lib} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${header_dir})
endforeach()

# GoogleTest from its sources (Debian's googletest package puts them in
# /usr/src/googletest, whose targets GTest::gtest and GTest::gtest_main
# stand in for the installed ones), built only as far as the tests link it.
if(BUILD_TESTING)
  set(VARNO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
  if(NOT EXISTS ${VARNO_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${VARNO_GTEST_SOURCE_DIR} (scripts/setup.sh --windows)")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VARNO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# The tests run under Wine, in a Wine prefix of the build folder: no display,
# quiet logging (cmake/wine-run.sh.in). CTest starts every test through it.
if(CMAKE_CROSSCOMPILING)
  find_program(VARNO_WINE wine DOC "Wine, which runs the Windows tests")
  if(NOT VARNO_WINE)
    message(WARNING "wine not found (scripts/setup.sh --windows installs it): the tests cannot run")
  endif()
  set(VARNO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                  WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  # Where a Windows program finds a file of the build machine: Wine's drive
  # Z: is its root.
  set(VARNO_HOST_ROOT "Z:")
endif()
