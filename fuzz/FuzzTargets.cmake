# The fuzz targets and the libraries each one reads through; used by the
# fuzz build (fuzz/CMakeLists.txt) and by the regression test of the normal
# build (tests/fuzzregress).
set(SUITE_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SUITE_FUZZ_TARGETS codec ini lists exchange xml searchtext cmdline)
set(SUITE_FUZZ_LIBS_codec persistence)
set(SUITE_FUZZ_LIBS_ini persistence catalogues)
set(SUITE_FUZZ_LIBS_lists persistence)
set(SUITE_FUZZ_LIBS_exchange pricing)
set(SUITE_FUZZ_LIBS_xml addressbook warehouse catalogues pricing)
set(SUITE_FUZZ_LIBS_searchtext catalogues)
set(SUITE_FUZZ_LIBS_cmdline applink pricing)

if(NOT TARGET fuzzsupport)
  add_library(fuzzsupport STATIC ${SUITE_FUZZ_DIR}/FuzzSupport.cpp ${SUITE_FUZZ_DIR}/FuzzSupport.h)
  target_include_directories(fuzzsupport PUBLIC ${SUITE_FUZZ_DIR})
  target_link_libraries(fuzzsupport PUBLIC msgdlg Qt6::Core)
endif()

# One executable per target: name, extra sources (a main for the regression run).
function(suite_fuzz_executable target name)
  add_executable(${name} ${SUITE_FUZZ_DIR}/fuzz_${target}.cpp ${ARGN})
  target_link_libraries(${name} PRIVATE fuzzsupport ${SUITE_FUZZ_LIBS_${target}})
endfunction()
