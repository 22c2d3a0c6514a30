# Every .cpp under a folder belongs to the target built from it; new files need no CMake edit.
function(zentrix_sources out dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
