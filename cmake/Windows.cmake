# Cross build for Windows: the program, its libraries, the Wine tests, the test tools and the benchmarks.
set(QS_WIN_DEFINES UNICODE _UNICODE NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
set(QS_WIN_LIBS comctl32 comdlg32 gdi32 user32 shell32 winmm advapi32 ole32 oleaut32 oleacc uuid)
# Statically linked C and C++ runtimes: the program runs on a Windows machine without extra DLLs.
set(QS_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(qs_pure STATIC ${QS_PURE_SOURCES})
target_include_directories(qs_pure PUBLIC ${QS_SOURCE_DIRS})
target_link_libraries(qs_pure PRIVATE qs_warnings)

file(GLOB QS_CORE_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/framework/*.cpp ${PROJECT_SOURCE_DIR}/src/toolbar/*.cpp
     ${PROJECT_SOURCE_DIR}/src/dropfile/*.cpp ${PROJECT_SOURCE_DIR}/src/mplayer/*.cpp)
file(GLOB QS_APP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/app/*.cpp)
set(QS_WINMAIN ${PROJECT_SOURCE_DIR}/src/app/WinMain.cpp)
list(REMOVE_ITEM QS_CORE_SOURCES ${QS_PURE_SOURCES})
list(REMOVE_ITEM QS_APP_SOURCES ${QS_PURE_SOURCES} ${QS_WINMAIN})
set(QS_RESOURCES ${PROJECT_SOURCE_DIR}/src/app/res/QuillStack.rc)

add_library(qs_core STATIC ${QS_CORE_SOURCES})
target_compile_definitions(qs_core PUBLIC ${QS_WIN_DEFINES})
target_link_libraries(qs_core PUBLIC qs_pure ${QS_WIN_LIBS} PRIVATE qs_warnings)

add_library(qs_app STATIC ${QS_APP_SOURCES})
target_link_libraries(qs_app PUBLIC qs_core PRIVATE qs_warnings)

# Every executable that shows the main window carries the resources (icon, banner, glyphs).
function(qs_add_resources target)
  target_sources(${target} PRIVATE ${QS_RESOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/app/res)
  target_link_options(${target} PRIVATE ${QS_STATIC_LINK})
endfunction()

add_executable(QuillStack WIN32 ${QS_WINMAIN})
target_link_libraries(QuillStack PRIVATE qs_app qs_warnings)
target_link_options(QuillStack PRIVATE -municode)
qs_add_resources(QuillStack)
set_target_properties(QuillStack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

if(QS_BUILD_TESTS)
  enable_testing()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # Test tools (stand-ins for outside programs) land in build/<cfg>/tools.
  file(GLOB QS_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/tools/*.cpp)
  set(QS_TOOL_TARGETS)
  foreach(src ${QS_TOOLS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(tool_${name} ${src})
    set_target_properties(tool_${name} PROPERTIES OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
    target_compile_definitions(tool_${name} PRIVATE ${QS_WIN_DEFINES})
    target_link_options(tool_${name} PRIVATE ${QS_STATIC_LINK} -municode)
    # The accessibility client among them uses the system's accessibility and COM libraries.
    target_link_libraries(tool_${name} PRIVATE qs_warnings oleacc oleaut32 ole32 uuid)
    list(APPEND QS_TOOL_TARGETS tool_${name})
  endforeach()

  file(GLOB QS_WIN_SUPPORT CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/support/*.cpp)
  add_library(qs_winsupport STATIC ${QS_WIN_SUPPORT})
  target_include_directories(qs_winsupport PUBLIC ${PROJECT_SOURCE_DIR}/tests/win/support)
  target_compile_definitions(qs_winsupport PUBLIC QS_TOOLS_DIR="${CMAKE_BINARY_DIR}/tools"
                                                   QS_PROGRAM_PATH="$<TARGET_FILE:QuillStack>")
  target_link_libraries(qs_winsupport PUBLIC qs_app gtest PRIVATE qs_warnings)

  set(QS_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  add_test(NAME wine.start COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session.sh start ${QS_WINE_SESSION})
  add_test(NAME wine.stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-session.sh stop ${QS_WINE_SESSION})
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

  file(GLOB QS_WIN_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp)
  foreach(src ${QS_WIN_TESTS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(win_${name} ${src})
    target_link_libraries(win_${name} PRIVATE qs_winsupport qs_warnings)
    qs_add_resources(win_${name})
    # Tests may run the tools and the program itself as processes of their own.
    add_dependencies(win_${name} QuillStack ${QS_TOOL_TARGETS})
    add_test(NAME win.${name}
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh ${QS_WINE_SESSION} $<TARGET_FILE:win_${name}>)
    # One Wine desktop for all: window tests take focus and the foreground, so they run one at a time.
    set_tests_properties(win.${name} PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON TIMEOUT 300)
  endforeach()

  # Benchmarks print figures; they are built here and run by scripts/bench.sh, never by ctest.
  file(GLOB QS_BENCHES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
  foreach(src ${QS_BENCHES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE qs_app qs_warnings)
    qs_add_resources(${name})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  endforeach()
endif()
