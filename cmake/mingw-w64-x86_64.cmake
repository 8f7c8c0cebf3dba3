# Cross-compiling zwirbelalp for 64-bit Windows with Debian's mingw-w64 compilers.
# The -posix compilers are the ones with std::thread and std::mutex.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZW_WINDOWS_LIBS="SDL2;openmpt" ...
# ZW_WINDOWS_LIBS: the install prefixes of the Windows builds of SDL2 and libopenmpt
# (scripts/third-party/build-windows-libs prints them). Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZW_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZW_MINGW_TRIPLE}-windres)

set(ZW_WINDOWS_LIBS "" CACHE STRING "Install prefixes of the Windows builds of SDL2 and libopenmpt")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZW_WINDOWS_LIBS)

# Libraries, headers and packages only from the cross tree and the prefixes above;
# programs (pkg-config, the media tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZW_MINGW_TRIPLE} ${ZW_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see the prefixes' .pc files and none of the build machine's.
set(zw_pkg_config_dirs "")
foreach(prefix IN LISTS ZW_WINDOWS_LIBS)
  list(APPEND zw_pkg_config_dirs ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" zw_pkg_config_dirs "${zw_pkg_config_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${zw_pkg_config_dirs}")
set(ENV{PKG_CONFIG_PATH} "")

# ctest runs the test programs through Wine (64-bit loader: no 32-bit Wine needed).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
