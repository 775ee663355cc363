# Debian's hardening flags (what dpkg-buildflags gives with hardening=+all)
# for everything built here, so that the installed and packaged programs are
# the ones the tests and benchmarks try: the checked string and memory calls
# (they need the optimiser, so not in Debug builds), stack canaries, format
# strings that cannot be taken from data, relocations resolved at start and
# then made read-only, and position-independent programs.  A sanitizer build
# (tools/check-hardened.sh) turns them off: it checks the same calls itself.
option(SWAPSTER_DEBIAN_HARDENING "Build with Debian's hardening flags" ON)
if(SWAPSTER_DEBIAN_HARDENING)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security
                      "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  include(CheckPIESupported)
  check_pie_supported()
endif()
