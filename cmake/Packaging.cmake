# cpack -G DEB: velbrin_<version>_<arch>.deb from the install rules, its library
# dependencies worked out by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME velbrin)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Velbrin developers")
set(CPACK_PACKAGE_CONTACT "The Velbrin developers <velbrin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert videos into 3GP files for mobile phones")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velbrin.example.org/en/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis is the summary above; this becomes the extended description, line by line.
set(CPACK_PACKAGE_DESCRIPTION
"Velbrin converts video files of many kinds (AVI, MPEG, WMV, RM, MOV, VOB,
MKV, MP4 and more) into 3GP files that mobile phones play: MPEG-4 video
with AAC audio. Queue files or whole folders, choose size, bitrates, frame
rate, sample rate and channels, and press Start. Each file is converted by
the companion console encoder libm9s, built on FFmpeg's libraries.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time rather than linked: the window system plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Help is a CHM file opened through xdg-open; Qt's own texts in Chinese and Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xchm | kchmviewer, xdg-utils, qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
