# The moc step of a target runs again only when a file it read the last time has
# changed: a header or source with Q_OBJECT that is new in the folder (as a merge
# brings them) would leave its class without the moc code in a build folder made
# before, and the link fails. So when the folder holds other files than at the
# last configure, the step's stamp goes and the step runs with the next build.
function(zeko_refresh_moc target)
  file(GLOB inputs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(known ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${target}_moc_inputs.txt)
  set(before "")
  if(EXISTS ${known})
    file(READ ${known} before)
  endif()
  if(NOT before STREQUAL "${inputs}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    file(WRITE ${known} "${inputs}")
  endif()
endfunction()

# Each folder is one library made of the .cpp files it holds (or of the SOURCES
# named); a folder that has no sources yet is an interface library, so dependents
# link to it all the same.
function(zeko_library name)
  cmake_parse_arguments(Z "QT;AUTOMOC" "" "DEPS;EXCLUDE;SOURCES" ${ARGN})
  if(Z_SOURCES)
    list(TRANSFORM Z_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  foreach(ex IN LISTS Z_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${Z_DEPS})
    if(Z_QT)
      set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
      zeko_refresh_moc(${name})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${Z_DEPS})
  endif()
endfunction()

# One test program per tests/ folder; every TEST becomes a CTest case.
function(zeko_tests name)
  cmake_parse_arguments(Z "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${Z_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(Z_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    zeko_refresh_moc(${name})
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()
