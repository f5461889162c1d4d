# Toolchain for the 32-bit (i386) build on a 64-bit Debian machine: the i686
# cross compiler with the i386 libraries that multiarch installs beside the
# 64-bit ones (scripts/bootstrap-32 installs both).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# Libraries and packages come from the i386 side only; programs (moc, the
# host's tools) from the machine itself.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")
