# The Debian package: `cpack -G DEB` in the build folder makes
# naadwerk_VERSION_ARCH.deb of what `cmake --install` installs, under /usr.
# Its dependencies are found by dpkg-shlibdeps (dpkg-dev) from the libraries
# the programs link; what they load at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME naadwerk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${NAADWERK_MAINTAINER}")
set(CPACK_PACKAGE_VENDOR "The Naadwerk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "glue the aligned parts of an interview into one")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NAADWERK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NAADWERK_WEB_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's platform plugin (xcb, Wayland), which Qt only recommends.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The player plays through Qt Multimedia's GStreamer backend.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; cpack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Naadwerk glues the parts of a long interview recording that a forced aligner
aligned one by one: for each part the aligner's word file (CTM or SPK), the
transcript text and the recording. It makes one recording, one word list
whose times run on over the parts, one text, SRT and WebVTT subtitles, a
transcript for a word processor and a karaoke page on which every word
lights up while the recording plays.
.
The window shows the words, their times and the phrases cut from them to
check and edit, with a player. The command naadwerk-cli does the same
without the window and glues whole archives of interviews side by side.")

include(CPack)
