# Finds libsodium and gives the imported target Sodium::sodium.
# Debian's libsodium-dev is found through pkg-config; a static build for Windows (made by
# packaging/windows/build-sodium.sh) is found under Sodium_ROOT or CMAKE_PREFIX_PATH.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(PC_SODIUM QUIET libsodium)
endif()
find_path(Sodium_INCLUDE_DIR sodium.h HINTS ${PC_SODIUM_INCLUDEDIR} ${PC_SODIUM_INCLUDE_DIRS})
find_library(Sodium_LIBRARY NAMES sodium libsodium HINTS ${PC_SODIUM_LIBDIR} ${PC_SODIUM_LIBRARY_DIRS})
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Sodium REQUIRED_VARS Sodium_LIBRARY Sodium_INCLUDE_DIR)
mark_as_advanced(Sodium_INCLUDE_DIR Sodium_LIBRARY)
if(Sodium_FOUND AND NOT TARGET Sodium::sodium)
    add_library(Sodium::sodium UNKNOWN IMPORTED)
    set_target_properties(Sodium::sodium PROPERTIES
        IMPORTED_LOCATION "${Sodium_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Sodium_INCLUDE_DIR}")
    # The Windows build links libsodium statically; its header must not expect a DLL.
    if(WIN32)
        set_property(TARGET Sodium::sodium APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC)
    endif()
endif()
