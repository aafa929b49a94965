# The Debian package of what `cmake --install` puts in place, under /usr:
#   cd build && cpack -G DEB
set(CPACK_PACKAGE_NAME qv20)
set(CPACK_PACKAGE_VENDOR "QV 2.0")
set(CPACK_PACKAGE_CONTACT "QV 2.0 maintainers <qv20@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control program of the QV two-channel battery charger")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Mirrors and operates the front panel of the QV charger/discharger over a serial\n"
       "port, shows each channel on dials and graphs, records every run, reads the\n"
       "charger's memory and writes charge programs in the QVML macro language.\n"
       "Also holds qvctl, the charger from the command line, and qvsim, a simulated\n"
       "charger on a pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)

# The fonts the windows are drawn with (see ui/main/fonts.cpp); the libraries
# from the executables themselves where dpkg-shlibdeps can read them.
set(qv_depends "fonts-dejavu-core, fonts-liberation")
find_program(QV_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QV_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(PREPEND qv_depends
         "libc6, libstdc++6, libqt6core6 (>= ${Qt6_VERSION}), libqt6gui6 (>= ${Qt6_VERSION}), "
         "libqt6widgets6 (>= ${Qt6_VERSION}), libqt6printsupport6 (>= ${Qt6_VERSION}), "
         "libqt6serialport6 (>= ${Qt6_VERSION}), libqt6charts6 (>= ${Qt6_VERSION}), ")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${qv_depends}")

include(CPack)
