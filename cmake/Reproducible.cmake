# The same bytes from the same commit wherever and whenever it is built.
#
# No absolute path of the checkout in any object: __FILE__ and the debug
# information name the sources relative to the top folder (".") and the
# build folder as "build" (a stripped binary differs otherwise too, through
# its build ID, a hash that covers the debug information). The build
# folder's map comes last because it often lies inside the source folder and
# GCC applies the last matching map. (Not for windres, which has no such
# option.)
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")

# Time stamps (of the files in the package, of Qt's resource compiler) come
# from SOURCE_DATE_EPOCH, which the Makefile sets to the commit's time; the
# link time of a Windows binary is left out by the mingw-w64 toolchain file.
# The package's folders and members get their rights from the umask, which
# `make package` and `make release` set.
