# The Linux release's program (scripts/build-linux-release): SDL2 and libopenmpt
# linked in from their static builds, libstdc++ and libgcc too, so that it needs only
# the C library and the system's GL. Included before the platform layer looks for
# its libraries; the build is then the program alone.
#   cmake -DZW_LINUX_RELEASE_LIBS="SDL2;openmpt" ...
# ZW_LINUX_RELEASE_LIBS: the install prefixes of the static builds of SDL2 and
# libopenmpt (scripts/third-party/build-linux-libs prints them).

# Their CMake and pkg-config files are found before the machine's own.
list(PREPEND CMAKE_PREFIX_PATH ${ZW_LINUX_RELEASE_LIBS})
set(zw_pkg_config_dirs ${ZW_LINUX_RELEASE_LIBS})
list(TRANSFORM zw_pkg_config_dirs APPEND /lib/pkgconfig)
list(JOIN zw_pkg_config_dirs ":" zw_pkg_config_dirs)
set(ENV{PKG_CONFIG_PATH} "${zw_pkg_config_dirs}")

# libGL.so.1, the library every Linux desktop's GL driver provides and SDL loads
# itself (GLVND's libOpenGL.so.0 is not installed everywhere).
set(OpenGL_GL_PREFERENCE LEGACY)

# Libraries named but never used are not needed. (The C++ runtime is linked in by
# zw_link_cxx_runtime_statically, src/platform/CMakeLists.txt.)
add_link_options(-Wl,--as-needed)
