# Host build: the pure code and its GoogleTest tests under AddressSanitizer and UBSan.
set(QS_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(qs_pure STATIC ${QS_PURE_SOURCES})
target_include_directories(qs_pure PUBLIC ${QS_SOURCE_DIRS})
target_compile_options(qs_pure PUBLIC ${QS_SANITIZE})
target_link_options(qs_pure PUBLIC ${QS_SANITIZE})
target_link_libraries(qs_pure PRIVATE qs_warnings)

if(QS_BUILD_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB QS_NATIVE_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/native/*.cpp)
  add_executable(native_tests ${QS_NATIVE_TESTS})
  target_link_libraries(native_tests PRIVATE qs_pure qs_warnings GTest::gtest GTest::gtest_main)
  gtest_discover_tests(native_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 60)
endif()
