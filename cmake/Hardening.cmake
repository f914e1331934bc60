# The hardening Debian builds its packages with: the flags `dpkg-buildflags`
# gives on Debian 12 with DEB_BUILD_MAINT_OPTIONS=hardening=+all (bindnow
# included), written out here so that a build does not depend on dpkg-dev's
# configuration. Position-independent executables are GCC's default there and
# Qt asks for them anyway. Linux builds only, and not the sanitizer or fuzz
# builds, whose instrumentation these would get in the way of.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT VENTACALC_SANITIZE AND NOT VENTACALC_FUZZ)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  # The fortified functions need optimisation: a Debug build (-O0) would only
  # be told so on every file.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
