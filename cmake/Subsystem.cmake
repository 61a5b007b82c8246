# One subsystem folder = up to two static libraries:
#   <name>        byte logic (every .cpp not under pages/), Qt Core at most
#   <name>_pages  widgets (every .cpp under pages/)
function(velmora_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PAGE_DEPENDS" ${ARGN})
  file(GLOB logic CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${logic})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  file(GLOB pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pages/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/pages/*.h)
  if(pages)
    add_library(${name}_pages STATIC ${pages})
    target_link_libraries(${name}_pages PUBLIC ${name} platform_gui ${ARG_PAGE_DEPENDS})
  endif()
endfunction()

# A test or benchmark program: built into TEST_DIR, away from the program
# folder, and pointed at the program folder for its resources, the program and
# the simulated radio.
function(velmora_test_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TEST_DIR})
  target_link_libraries(${target} PRIVATE testprogramfolder)
  add_dependencies(${target} resources)
endfunction()

# A test executable per subsystem folder of tests/, from every .cpp in it.
function(velmora_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${name} ${srcs})
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} testsupport GTest::gtest)
  velmora_test_program(test_${name})
  include(GoogleTest)
  # Run in the tests' folder: whatever a test leaves in its current folder
  # stays out of the program folder.
  gtest_discover_tests(test_${name}
    WORKING_DIRECTORY ${TEST_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
