# Helpers shared by every area of the build.

# Warnings for our own code only; third-party headers come in as SYSTEM.
add_library(zib_warnings INTERFACE)
target_compile_options(zib_warnings INTERFACE -Wall -Wextra -Werror)
# gcc 12 at -O2/-O3 reports false positives from inside libstdc++, with no
# fault at our call sites: overlaps in std::string for const char* + string
# (its bugs 105329, 105651), bounds and overflows in std::vector<uint8_t>
# resize and insert (bug 107852), and uninitialized reads in the inlined
# destructors of std::optional members and of std::string temporaries in
# large braced tables (bug 80635 and relatives). gcc 13 no longer reports them.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(zib_warnings INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict -Wno-array-bounds -Wno-stringop-overflow
                              -Wno-maybe-uninitialized>)
endif()

# In a batch, every source is an included file to gcc, so a class using a type
# of its own file's anonymous namespace looks like a header's fault to it.
if(ZIB_UNITY AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(zib_warnings INTERFACE -Wno-subobject-linkage)
endif()

# A static GUI-free library of the program.
function(zib_static_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE zib_warnings)
endfunction()

# A shared library with an explicit export list: hidden visibility, a linker
# version script naming every exported symbol, a SONAME and no undefined symbols.
function(zib_shared_library name)
  cmake_parse_arguments(ARG "" "VERSION_SCRIPT;SOVERSION" "SOURCES;DEPS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    VERSION ${ARG_SOVERSION}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
    SOVERSION ${ARG_SOVERSION}
    LINK_DEPENDS ${ARG_VERSION_SCRIPT})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_options(${name} PRIVATE "-Wl,--version-script=${ARG_VERSION_SCRIPT}")
  # clang links the sanitizer runtimes into executables only, so a sanitized
  # shared library leaves their symbols to the program that loads it.
  if(NOT (ZIB_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
    target_link_options(${name} PRIVATE "-Wl,--no-undefined")
  endif()
  target_link_libraries(${name} PRIVATE zib_warnings ${ARG_DEPS})
endfunction()

# How a build of the program links and finds its libraries: the shipped zib
# and the test program of the GUI tests alike.
function(zib_link_program name)
  # UlvaRf (through the style conversions) and ZibTbl are linked at load time
  # (ZibTbl kept as a needed library although nothing calls it yet), and both
  # are loaded by name at start-up.
  target_link_options(${name} PRIVATE "LINKER:--no-as-needed")
  foreach(lib IN ITEMS ulvarf zibtbl)
    if(TARGET ${lib})
      target_link_libraries(${name} PRIVATE ${lib})
    endif()
  endforeach()
  set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN/../lib;$ORIGIN")
  # The built-in synthesizer is a module loaded on first use, found like the
  # libraries: beside them once installed, in its build folder here.
  if(TARGET zibsynth)
    add_dependencies(${name} zibsynth)
    set_property(TARGET ${name} APPEND PROPERTY BUILD_RPATH "$<TARGET_FILE_DIR:zibsynth>")
  endif()
endfunction()

# A GoogleTest executable registered with CTest, one test per case.
function(zib_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS;ENVIRONMENT;RESOURCE_LOCK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zib_test_support ${ARG_DEPS} zib_warnings
                        GTest::gtest GTest::gmock GTest::gtest_main)
  if("gui" IN_LIST ARG_LABELS AND NOT ZIB_GUI_TESTS)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  # gtest_discover_tests marks a test that skips itself (no Xvfb, no real
  # fixtures) as skipped; in CI such a test fails instead (tests/support/CiRun.h).
  set(props "")
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  # A GUI test runs the whole program under its own X server: count it as two
  # jobs, so a loaded machine does not starve its dialogs.
  if("gui" IN_LIST ARG_LABELS)
    list(APPEND props PROCESSORS 2)
  endif()
  if(ARG_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  # Tests that share a machine-wide resource (a JACK server's shared memory)
  # never run side by side.
  if(ARG_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
  endif()
  if(props)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# Files of the build a test or benchmark runs or loads (NAME=target pairs):
# each reaches it as a path relative to the build tree, which
# test::BuildFile resolves. A compile command with a folder of the checkout
# in it would differ from checkout to checkout, and a build in another folder
# would miss its objects in the compiler cache.
function(zib_build_file_definitions target)
  foreach(pair IN LISTS ARGN)
    string(REGEX MATCH "^([A-Z0-9_]+)=(.+)$" matched "${pair}")
    if(NOT matched OR NOT TARGET ${CMAKE_MATCH_2})
      message(FATAL_ERROR "zib_build_file_definitions: ${pair} is not NAME=target")
    endif()
    target_compile_definitions(${target} PRIVATE
      ${CMAKE_MATCH_1}="$<PATH:RELATIVE_PATH,$<TARGET_FILE:${CMAKE_MATCH_2}>,${PROJECT_BINARY_DIR}>")
  endforeach()
endfunction()

# A program only the GUI tests run (the test driver's zib, a probe).
function(zib_gui_test_program name)
  if(NOT ZIB_GUI_TESTS)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# A Google Benchmark executable (built, not run by the tests).
function(zib_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zib_warnings benchmark::benchmark_main)
endfunction()

# The instrumented code of the fuzz builds leaves out what
# fuzz/coverage-ignorelist.txt names. The list is used through a copy named
# after its content, so a changed list changes the compile commands and the
# objects are built again (ccache does not read the list).
if(ZIB_FUZZ)
  set(zib_fuzz_ignorelist "${PROJECT_SOURCE_DIR}/fuzz/coverage-ignorelist.txt")
  file(SHA1 "${zib_fuzz_ignorelist}" zib_fuzz_ignorelist_hash)
  string(SUBSTRING "${zib_fuzz_ignorelist_hash}" 0 12 zib_fuzz_ignorelist_hash)
  set(zib_fuzz_ignorelist_copy "${PROJECT_BINARY_DIR}/fuzz/coverage-ignorelist-${zib_fuzz_ignorelist_hash}.txt")
  configure_file("${zib_fuzz_ignorelist}" "${zib_fuzz_ignorelist_copy}" COPYONLY)
  set(ZIB_FUZZ_COVERAGE_OPTIONS "-fsanitize-coverage-ignorelist=${zib_fuzz_ignorelist_copy}")
endif()

# A libFuzzer target, run as a test the same way every time: first each input
# of its checked-in corpus fuzz/<area>/corpus/<name>/ (seeds and every input
# that once made it fail), then RUNS inputs mutated from that corpus with the
# seed ZIB_FUZZ_SEED (fuzz/run-fuzzer). New inputs go to a work corpus in the
# build tree, never into the sources. `tools/dev fuzz` reads the list of
# targets from fuzz/targets.txt in the build tree.
function(zib_fuzzer name)
  cmake_parse_arguments(ARG "" "RUNS" "SOURCES;DEPS" ${ARGN})
  set(corpus "${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}")
  if(NOT IS_DIRECTORY "${corpus}")
    message(FATAL_ERROR "fuzz target ${name} has no corpus folder ${corpus}")
  endif()
  if(NOT ARG_RUNS)
    message(FATAL_ERROR "fuzz target ${name} needs RUNS")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${ZIB_FUZZ_COVERAGE_OPTIONS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zib_warnings)
  add_test(NAME fuzz.${name}
    COMMAND bash ${PROJECT_SOURCE_DIR}/fuzz/run-fuzzer ci $<TARGET_FILE:${name}> "${corpus}"
            "${CMAKE_CURRENT_BINARY_DIR}/${name}.run" ${ARG_RUNS} ${ZIB_FUZZ_SEED})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 900)
  set_property(GLOBAL APPEND PROPERTY ZIB_FUZZ_TARGETS "${name}\t$<TARGET_FILE:${name}>\t${corpus}")
endfunction()

# Adds every CMakeLists.txt found one level below `dir` (tests/<area>, fuzz/<area> ...).
function(zib_add_area_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE "${dir}" "${dir}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS "${dir}/${child}/CMakeLists.txt")
      add_subdirectory("${dir}/${child}")
    endif()
  endforeach()
endfunction()

# The libraries that fuzz targets drive are compiled with coverage
# instrumentation in the fuzz build, so libFuzzer sees inside them; the
# build's tests run the same objects, so nothing is compiled twice.
function(zib_fuzz_instrument)
  foreach(lib IN LISTS ARGN)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link ${ZIB_FUZZ_COVERAGE_OPTIONS})
  endforeach()
endfunction()
