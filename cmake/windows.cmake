# The Windows build: one .exe that needs only the DLLs every Windows has (the
# system's own and OPENGL32), started as a windowed program (no console), and the
# tests that run under Wine.
set_target_properties(zwirbelalp PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(zwirbelalp PRIVATE -static)

if(ZW_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
